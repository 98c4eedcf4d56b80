#pragma once

#include <QListWidget>

class QLineEdit;
class Session;

// The type-ahead list under the input box: the rows the session offers for what the user has
// typed, each a headword with the start of its meaning. The box keeps
// the focus, so typing goes on; while the list is open, Down and Up move the choice,
// Enter picks the chosen row (with none chosen it is left to the box, which looks the
// typed text up), Escape closes the list, and a click picks a row. It closes when the
// box loses the focus, on a click elsewhere (which still does what it does), and
// whenever the box's text changes other than by typing.
class UiCompletionList : public QListWidget
{
    Q_OBJECT
public:
    UiCompletionList(QLineEdit *input, const Session &session, QWidget *parent);

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
    const Session &session_;
    // The text the rows were offered for.
    QString offeredFor_;
};
