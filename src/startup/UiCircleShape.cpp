#include "startup/UiCircleShape.h"

#include <QPainter>
#include <QPixmapCache>

#include <cmath>
#include <numbers>

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

void UiCircleShape::setInWordbook(bool kept)
{
    if (kept == inWordbook_)
        return;
    inWordbook_ = kept;
    update();
}

void UiCircleShape::paintEvent(QPaintEvent *)
{
    // Nine circles share three looks; a dashed antialiased outline is costly to draw
    // every time, so each look is drawn once and reused.
    const qreal ratio = devicePixelRatioF();
    const QString key = QStringLiteral("dorrit-circle-%1x%2-%3-%4-%5-%6")
                            .arg(width())
                            .arg(height())
                            .arg(borderStyle_)
                            .arg(borderColor_.rgba())
                            .arg(ratio)
                            .arg(inWordbook_);
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
        if (inWordbook_) {
            // In the corner outside the circle, where no word or meaning of the slot lies.
            const qreal r = std::max(5.0, width() / 24.0);
            const QPointF centre(width() - r - 2, r + 2);
            QPolygonF star;
            for (int k = 0; k < 10; ++k) {
                const qreal a = -std::numbers::pi / 2 + k * std::numbers::pi / 5;
                const qreal reach = k % 2 ? r * 0.45 : r;
                star << centre + QPointF(reach * std::cos(a), reach * std::sin(a));
            }
            painter.setPen(QPen(QColor(0x80, 0x50, 0x00), 1));
            painter.setBrush(QColor::fromRgba(markColour));
            painter.drawPolygon(star);
        }
        painter.end();
        QPixmapCache::insert(key, look);
    }
    QPainter(this).drawPixmap(0, 0, look);
}
