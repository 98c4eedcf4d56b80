#include "startup/UiMessageBox.h"

#include <QMessageBox>

void UiMessageBox::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tesmar单词Dorrit"), text, QMessageBox::Ok, parent_);
    box.exec();
}
