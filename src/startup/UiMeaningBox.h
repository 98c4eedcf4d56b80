#pragma once

#include <QLabel>

// A meaning box: plain text on white in a thin frame, wrapped at its own width. A learner
// copies meanings, so the text can be selected with the mouse and copied (Ctrl+C, or 复制
// and 全选 in its menu); screen readers read it. A double-click belongs to the board.
class UiMeaningBox : public QLabel
{
    Q_OBJECT
public:
    explicit UiMeaningBox(QWidget *parent = nullptr);

    void setText(const QString &text);

    static const QString copyText;
    static const QString selectAllText;

signals:
    void doubleClicked();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void makeSelectable();
    void copySelection();
};
