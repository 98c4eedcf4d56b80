#pragma once

#include <QColor>
#include <QWidget>

// A slot's circle: an outline only, transparent to the pointer so that pointer moves
// over it reach the board beneath.
class UiCircleShape : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int BorderStyle READ borderStyle WRITE setBorderStyle)
    Q_PROPERTY(QColor BorderColor READ borderColor WRITE setBorderColor)
public:
    explicit UiCircleShape(QWidget *parent = nullptr);

    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int style);
    QColor borderColor() const { return borderColor_; }
    void setBorderColor(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int borderStyle_ = 1;
    QColor borderColor_ = Qt::black;
};
