#include "startup/UiMeaningBox.h"

#include <QPainter>
#include <QTextOption>

UiMeaningBox::UiMeaningBox(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void UiMeaningBox::setText(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    update();
}

void UiMeaningBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(0x7a, 0x7a, 0x7a));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(QRectF(rect()).adjusted(2, 1, -1, -1), text_, option);
}

void UiMeaningBox::mouseDoubleClickEvent(QMouseEvent *)
{
    emit doubleClicked();
}
