#include "dialogs/UiPictureDialog.h"

#include <QPainter>

QRect UiPictureDialog::twipsRect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

UiPictureDialog::UiPictureDialog(const QString &caption, int clientWidthTwips, int clientHeightTwips, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
    , background_(QStringLiteral(":/images/about_background.jpg"))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    setFixedSize(pixels(clientWidthTwips), pixels(clientHeightTwips));
}

void UiPictureDialog::paintEvent(QPaintEvent *)
{
    // At its own size from the top-left corner; the window cuts it off.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawPixmap(0, 0, background_);
}
