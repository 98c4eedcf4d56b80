#pragma once

#include "board/BoardModel.h"
#include "startup/Settings.h"
#include "worddata/LibraryHost.h"
#include "worddata/OpenLibrary.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <array>
#include <memory>
#include <random>

class Environment;
class HelpDisplay;
class LibraryFileDialog;
class MessageSink;
class ProgramStarter;
class Registry;
class Speech;
class QAction;
class QLabel;
class QKeyEvent;
class QLineEdit;
class QPointF;
class QPushButton;
class UiBoardSurface;
class UiCircleShape;
class UiCompletionList;
class UiMeaningBox;
class options;

// The main window: runs the start-up sequence, then renders the board model and
// forwards the user's actions to it.
class frmmain : public QMainWindow, private LibraryHost
{
    Q_OBJECT
public:
    struct Services
    {
        QString programFolder;
        Speech *speech = nullptr;
        MessageSink *messages = nullptr;
        const Registry *registry = nullptr;
        const Environment *environment = nullptr;
        LibraryFileDialog *libraryDialog = nullptr;
        HelpDisplay *help = nullptr;
        ProgramStarter *programs = nullptr;
        // Screen height in twips; taken from the primary screen when 0.
        int screenHeightTwips = 0;
    };

    frmmain(const Services &services, const Settings &initial, QWidget *parent = nullptr);
    ~frmmain() override;

    const BoardModel &board() const { return *board_; }
    const Settings &settings() const { return settings_; }
    QString dataFolder() const { return dataFolder_; }
    QString companionFolder() const { return companionFolder_; }
    const OpenLibrary &library() const { return library_; }

    void mnuciku_Click();
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
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void buildControls();
    void buildMenus();
    void connectBoard();
    // Type-ahead under the input box.
    void connectCompletion();
    void Form_MouseMove(const QPointF &at);
    bool boardKey(QObject *watched, const QKeyEvent *key);
    void Text1_GotFocus(Qt::FocusReason reason);
    void render();
    void renderSlot(int i);
    void placeControlsForGeometry();
    void mnuexit_Click();
    void mnuhelphtm_Click();
    void mnuabout_Click();
    int screenHeightTwips() const;
    void loadBackground();

    // What a library load asks of the window.
    void showMessage(const QString &text) override;
    void resetBoard() override;
    void libraryOpened(const QString &libraryName) override;
    void noLibraryOpen() override;

    Services services_;
    Settings settings_;
    std::unique_ptr<BoardModel> board_;
    QString companionFolder_;
    QString dataFolder_;
    OpenLibrary library_;
    std::minstd_rand random_;
    bool framePainted_ = false;
    QPointer<options> optionsDialog_;

    UiBoardSurface *surface_ = nullptr;
    std::array<UiCircleShape *, 9> Shape1{};
    std::array<QLabel *, 9> Label1{};
    std::array<UiMeaningBox *, 9> Text2{};
    QPushButton *Command1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    UiCompletionList *completion_ = nullptr;
    QAction *mnuciku = nullptr;
    QAction *mnuoption = nullptr;
    QAction *mnuexit = nullptr;
    QAction *mnuhelphtm = nullptr;
    QAction *mnuabout = nullptr;
};
