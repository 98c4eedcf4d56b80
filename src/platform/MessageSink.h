#pragma once

#include <QString>

// A modal message with the text only, an OK button, no icon and the program's name as
// title. The window supplies the real box; tests record the texts.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString &text) = 0;
};
