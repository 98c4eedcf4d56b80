#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>

// The window's client area: draws the background picture unscaled from the top-left
// corner; the board's controls lie on top of it.
class UiBoardSurface : public QWidget
{
    Q_OBJECT
public:
    explicit UiBoardSurface(QWidget *parent = nullptr);

    void setBackground(const QPixmap &picture);
    // Called for every pointer move over the surface: a plain call, as a signal would
    // cost more than the board's own rule.
    std::function<void(const QPointF &)> pointerMoved;
    const QPixmap &background() const { return background_; }

signals:
    void painted();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPixmap background_;
};
