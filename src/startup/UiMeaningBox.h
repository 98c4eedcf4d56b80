#pragma once

#include <QString>
#include <QWidget>

// A meaning box: read-only text on white, wrapped at its own width (between words,
// or anywhere inside a run of Chinese). Lighter than a text editor, of which the board
// would need nine.
class UiMeaningBox : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    explicit UiMeaningBox(QWidget *parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString &text);

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString text_;
};
