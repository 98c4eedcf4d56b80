#pragma once

#include <QLabel>
#include <functional>

class QMenu;

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
    // Adds what the board offers for the box's word to its menu, after its own entries.
    std::function<void(QMenu *)> extendMenu;

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
