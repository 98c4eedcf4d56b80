#pragma once

#include "platform/MessageSink.h"

class QWidget;

// The program's message box: text, OK, no icon, the program's name as title.
class UiMessageBox : public MessageSink
{
public:
    explicit UiMessageBox(QWidget *parent = nullptr)
        : parent_(parent)
    {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void showMessage(const QString &text) override;

private:
    QWidget *parent_;
};
