#pragma once

#include <QPixmap>
#include <QWidget>

// The window's client area: draws the background picture unscaled from the top-left
// corner; the board's controls lie on top of it.
class UiBoardSurface : public QWidget
{
    Q_OBJECT
public:
    explicit UiBoardSurface(QWidget *parent = nullptr);

    void setBackground(const QPixmap &picture);
    const QPixmap &background() const { return background_; }

signals:
    void painted();
    void pointerMoved(const QPointF &at);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPixmap background_;
};
