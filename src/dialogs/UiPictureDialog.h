#pragma once

#include <QDialog>
#include <QPixmap>

// A fixed-size dialog over the faint lettered picture that the About box and the author card
// share, laid out in twips. It is always created with new: closing it destroys it.
class UiPictureDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int twipsPerPixel = 15;
    static int pixels(int twips) { return (twips * 2 + twipsPerPixel) / (2 * twipsPerPixel); }
    static QRect twipsRect(int left, int top, int width, int height);

    UiPictureDialog(const QString &caption, int clientWidthTwips, int clientHeightTwips, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap background_;
};
