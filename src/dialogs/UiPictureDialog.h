#pragma once

#include "board/BoardGeometry.h"

#include <QDialog>
#include <QPixmap>

// A fixed-size dialog over the faint lettered picture that the About box and the author card
// share, laid out in twips. It is always created with new: closing it destroys it.
class UiPictureDialog : public QDialog
{
    Q_OBJECT
public:
    static int pixels(int twips) { return pixelsFromTwips(twips); }
    static QRect twipsRect(int left, int top, int width, int height);

    UiPictureDialog(const QString &caption, int clientWidthTwips, int clientHeightTwips, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap background_;
};
