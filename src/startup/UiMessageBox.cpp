#include "startup/UiMessageBox.h"

#include "platform/ProgramName.h"

#include <QMessageBox>

void UiMessageBox::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, programName(), text, QMessageBox::Ok, parent_);
    box.exec();
}
