#pragma once

#include "startup/Session.h"

#include <QFuture>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>

class HelpDisplay;
class MessageSink;
class ProgramStarter;
class Registry;
class QAction;
class QLabel;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QPointF;
class QPushButton;
class QThreadPool;
class UiBoardSurface;
class UiCircleShape;
class UiCompletionList;
class UiMeaningBox;
class options;

// The main window, a view over the session: renders its board model and forwards the user's
// actions to it, and shows what it has to tell.
class frmmain : public QMainWindow
{
    Q_OBJECT
public:
    struct Services
    {
        MessageSink *messages = nullptr;
        HelpDisplay *help = nullptr;
        const Registry *registry = nullptr;
        ProgramStarter *programs = nullptr;
        // A yes/no question before a dropped word list becomes a library; no list is made without it.
        std::function<bool(const QString &question)> ask;
    };

    frmmain(Session &session, const Services &services, QWidget *parent = nullptr);
    ~frmmain() override;

    // The primary screen's height in twips, as the layout is chosen by it.
    static int screenHeightTwips();
    // A background picture decoded off the UI thread, in a pool its caller ends before the program
    // does (on Windows the global pool's threads, still there after main(), kept the process from
    // ending); the built-in picture when it cannot be shown.
    static QFuture<QImage> decodeBackground(const QString &path, QThreadPool &pool);
    // The first paint waits for the picture; until then nothing is drawn.
    void setBackgroundLater(QFuture<QImage> picture);

    // Each message in a modal box, oldest first.
    void showMessages(const QStringList &texts);

    void mnuciku_Click();
    // The wordbook's menu: keep or let go the word in focus or in the centre, open, export.
    void mnuwordbookadd_Click();
    void mnuwordbookopen_Click();
    void mnuwordbookexport_Click();
    // Opens the options dialog without waiting for it to close.
    void mnuoption_Click();
    // The options dialog while it exists: hidden by OK and Cancel, gone after its close box.
    options *optionsDialog() const;

    // Shows the window filling the screen, as the board's layouts assume.
    void showFillingScreen();

signals:
    void firstFramePainted();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void connectBoard();
    // Type-ahead under the input box.
    void connectCompletion();
    void Form_MouseMove(const QPointF &at);
    bool boardKey(QObject *watched, const QKeyEvent *key);
    void Text1_GotFocus(Qt::FocusReason reason);
    // After the session has acted: the board brought up to date, then its messages shown.
    void afterAction();
    void render();
    void renderSlot(int i);
    void renderPhonetic();
    void paintNow();
    void placeControlsForGeometry();
    void mnuexit_Click();
    void mnuhelphtm_Click();
    void mnuabout_Click();
    // The session's answer to a drop, after the board it leaves.
    void fileDropped(const QString &path);
    // The centre word, or a ring word in focus, under a point of the board; -1 for none.
    int wordSlotAt(const QPointF &at) const;
    void wordMenu(QWidget *from, const QPoint &at);
    // The entry that keeps or lets go the word of a slot, in a menu about it.
    void addWordbookEntry(QMenu *menu, int slot);
    void toggleWordbook(int slot);

    Session &session_;
    BoardModel &board_;
    Services services_;
    bool framePainted_ = false;
    QPointer<options> optionsDialog_;

    UiBoardSurface *surface_ = nullptr;
    std::array<UiCircleShape *, BoardModel::slotCount> Shape1{};
    std::array<QLabel *, BoardModel::slotCount> Label1{};
    std::array<UiMeaningBox *, BoardModel::slotCount> Text2{};
    QPushButton *Command1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *LabelPhonetic = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    UiCompletionList *completion_ = nullptr;
    QAction *mnuciku = nullptr;
    QAction *mnuoption = nullptr;
    QAction *mnuexit = nullptr;
    QAction *mnuwordbookadd = nullptr;
    QAction *mnuwordbookopen = nullptr;
    QAction *mnuwordbookexport = nullptr;
    QAction *mnuhelphtm = nullptr;
    QAction *mnuabout = nullptr;
};
