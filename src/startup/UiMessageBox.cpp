#include "startup/UiMessageBox.h"

#include "platform/programs/ProgramName.h"

#include <QMessageBox>

void UiMessageBox::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, programName(), text, QMessageBox::Ok, parent_);
    box.exec();
}

bool UiMessageBox::ask(const QString &question)
{
    QMessageBox box(QMessageBox::NoIcon, programName(), question, QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
