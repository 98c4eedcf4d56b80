#include "startup/UiBoardSurface.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

const QString UiBoardSurface::builtInPicture = QStringLiteral(":/images/background.jpg");

UiBoardSurface::UiBoardSurface(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(false);
    setMouseTracking(true);
}

void UiBoardSurface::setBackground(const QPixmap &picture)
{
    waiting_ = false;
    background_ = picture;
    update();
}

void UiBoardSurface::setBackgroundLater(QFuture<QImage> picture)
{
    pending_ = std::move(picture);
    waiting_ = true;
    background_ = QPixmap();
    update();
}

void UiBoardSurface::takePending() const
{
    if (waiting_) {
        waiting_ = false;
        const QImage decoded = pending_.result();
        background_ = QPixmap::fromImage(decoded.isNull() ? QImage(builtInPicture) : decoded);
    }
}

const QPixmap &UiBoardSurface::background() const
{
    takePending();
    return background_;
}

void UiBoardSurface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // Beyond the picture the face continues the built-in picture's wash, so a large
    // screen shows no seam at its edge.
    QLinearGradient face(0, 0, 0, 600);
    face.setColorAt(0, QColor(0xea, 0xf2, 0xfb));
    face.setColorAt(1, QColor(0xfb, 0xf5, 0xe6));
    painter.fillRect(event->rect(), face);
    // The picture keeps its size in the board's units, so that it lies under the board as
    // designed at any scale; on a scaled screen it is smoothed rather than blown up to blocks.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!background().isNull())
        painter.drawPixmap(0, 0, background_);
    painter.end();
    emit painted();
}

void UiBoardSurface::mouseMoveEvent(QMouseEvent *event)
{
    if (pointerMoved)
        pointerMoved(event->position());
}

void UiBoardSurface::mouseDoubleClickEvent(QMouseEvent *)
{
    emit doubleClicked();
}
