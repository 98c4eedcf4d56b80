#pragma once

#include <QListWidget>

class OpenLibrary;
class QLineEdit;

// The type-ahead list under the input box: up to ten headwords of the open library that
// begin with what the user has typed, each with the start of its meaning. The box keeps
// the focus, so typing goes on; while the list is open, Down and Up move the choice,
// Enter picks the chosen row (with none chosen it is left to the box, which looks the
// typed text up), Escape closes the list, and a click picks a row. It closes when the
// box loses the focus, on a click elsewhere (which still does what it does), and
// whenever the box's text changes other than by typing.
class UiCompletionList : public QListWidget
{
    Q_OBJECT
public:
    UiCompletionList(QLineEdit *input, const OpenLibrary &library, QWidget *parent);

    // The headword of each row, in order.
    QStringList headwords() const;

signals:
    void picked(const QString &headword);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void offer(const QString &typed);
    bool handleKey(int key);
    void pick(QListWidgetItem *item);
    void place();

    QLineEdit *input_;
    const OpenLibrary &library_;
    // The text the rows were offered for.
    QString offeredFor_;
};
