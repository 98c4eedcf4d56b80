#pragma once

#include <QFuture>
#include <QImage>
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

    // Shown whenever no picture file is.
    static const QString builtInPicture;

    // Replaces the picture, and any still being decoded.
    void setBackground(const QPixmap &picture);
    // A picture being decoded off the UI thread; the first paint waits for it. A null
    // image shows the built-in picture.
    void setBackgroundLater(QFuture<QImage> picture);
    // Called for every pointer move over the surface: a plain call, as a signal would
    // cost more than the board's own rule.
    std::function<void(const QPointF &)> pointerMoved;
    // Waits for a picture still being decoded.
    const QPixmap &background() const;

signals:
    void painted();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void takePending() const;

    mutable QPixmap background_;
    mutable QFuture<QImage> pending_;
    mutable bool waiting_ = false;
};
