#include "startup/UiCircleShape.h"

#include <QPainter>

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
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(borderColor_);
    pen.setWidthF(1.5);
    pen.setStyle(borderStyle_ == 2 ? Qt::DashLine : Qt::SolidLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
}
