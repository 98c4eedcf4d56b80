#include "startup/UiCircleShape.h"

#include <QPainter>
#include <QPixmapCache>

UiCircleShape::UiCircleShape(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void UiCircleShape::setBorderStyle(int style)
{
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    update();
}

void UiCircleShape::setBorderColor(const QColor &colour)
{
    if (colour == borderColor_)
        return;
    borderColor_ = colour;
    update();
}

void UiCircleShape::paintEvent(QPaintEvent *)
{
    // Nine circles share three looks; a dashed antialiased outline is costly to draw
    // every time, so each look is drawn once and reused.
    const qreal ratio = devicePixelRatioF();
    const QString key = QStringLiteral("dorrit-circle-%1x%2-%3-%4-%5")
                            .arg(width())
                            .arg(height())
                            .arg(borderStyle_)
                            .arg(borderColor_.rgba())
                            .arg(ratio);
    QPixmap look;
    if (!QPixmapCache::find(key, &look)) {
        look = QPixmap(size() * ratio);
        look.setDevicePixelRatio(ratio);
        look.fill(Qt::transparent);
        QPainter painter(&look);
        painter.setRenderHint(QPainter::Antialiasing);
        QPen pen(borderColor_);
        pen.setWidthF(1.5);
        pen.setStyle(borderStyle_ == 2 ? Qt::DashLine : Qt::SolidLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
        painter.end();
        QPixmapCache::insert(key, look);
    }
    QPainter(this).drawPixmap(0, 0, look);
}
