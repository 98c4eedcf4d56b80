#pragma once

#include "platform/messages/MessageSink.h"

class QWidget;

// The program's message box: text, OK, no icon, the program's name as title; and the same
// box as a yes/no question, Yes the default.
class UiMessageBox : public MessageSink
{
public:
    explicit UiMessageBox(QWidget *parent = nullptr)
        : parent_(parent)
    {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void showMessage(const QString &text) override;
    bool ask(const QString &question);

private:
    QWidget *parent_;
};
