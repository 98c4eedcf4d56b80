#pragma once

#include <QColor>
#include <QWidget>

// A slot's circle: an outline only, transparent to the pointer so that pointer moves
// over it reach the board beneath; a small star at its top right while its word is kept in
// the wordbook.
class UiCircleShape : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int BorderStyle READ borderStyle WRITE setBorderStyle)
    Q_PROPERTY(QColor BorderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(bool InWordbook READ inWordbook WRITE setInWordbook)
public:
    explicit UiCircleShape(QWidget *parent = nullptr);

    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int style);
    QColor borderColor() const { return borderColor_; }
    void setBorderColor(const QColor &colour);
    bool inWordbook() const { return inWordbook_; }
    void setInWordbook(bool kept);
    // The star's colour.
    static constexpr QRgb markColour = 0xFFE8A000;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int borderStyle_ = 1;
    QColor borderColor_ = Qt::black;
    bool inWordbook_ = false;
};
