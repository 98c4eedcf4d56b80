#include "startup/UiBoardSurface.h"

#include <QPaintEvent>
#include <QPainter>

UiBoardSurface::UiBoardSurface(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(false);
    setMouseTracking(true);
}

void UiBoardSurface::setBackground(const QPixmap &picture)
{
    background_ = picture;
    update();
}

void UiBoardSurface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // Beyond the picture the window keeps a plain face, as a form does.
    painter.fillRect(event->rect(), palette().window());
    if (!background_.isNull())
        painter.drawPixmap(0, 0, background_);
    painter.end();
    emit painted();
}
