#pragma once

#include <QString>

// A text the user is told and acknowledges before going on. Shown as a message box with the
// text only, an OK button, no icon and the program's name as title; tests record the texts.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString &text) = 0;
};
