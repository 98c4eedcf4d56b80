#pragma once

#include "board/BoardModel.h"
#include "dialogs/OptionsHost.h"
#include "startup/Settings.h"
#include "wordbook/Wordbook.h"
#include "worddata/LibraryHost.h"
#include "worddata/OpenLibrary.h"
#include "wordlist/LibraryFromList.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <random>

class Environment;
class LibraryFileDialog;
class Registry;
class SaveFileDialog;
class Speech;
class WordTables;

// The running program without its windows: the settings, the open library, the board and its
// geometry, and the start-up sequence that sets them up. Created by main(); the main window and
// the dialogs are views over it. Nothing here waits for a person: what the user must be told is
// handed back to the window as text.
class Session : private LibraryHost, public OptionsHost
{
public:
    struct Services
    {
        QString programFolder;
        Speech *speech = nullptr;
        const Registry *registry = nullptr;
        const Environment *environment = nullptr;
        LibraryFileDialog *libraryDialog = nullptr;
        // Screen height in twips; any height without a layout of its own gets the large one.
        int screenHeightTwips = 0;
        // The word tables libraries are made from; empty for the installed ones.
        QString wordTables;
        // Seeds the random picks instead of the time of day, so that a run can be replayed.
        std::optional<quint32> randomSeed;
        SaveFileDialog *saveDialog = nullptr;
    };
    // A yes/no question to the user.
    using Ask = std::function<bool(const QString &question)>;

    // What the window shows once start-up is over.
    struct Start
    {
        // Shown before the window appears (the first start's companion message).
        QStringList messages;
        // The background picture to load; the built-in one stays when it cannot be shown.
        QString background;
    };

    // One row of type-ahead: a headword and the start of its meaning on one line.
    struct Completion
    {
        QString headword;
        QString meaning;
    };

    explicit Session(Services services);
    ~Session();

    // The start-up sequence, in order. Each step either completes or leaves what it would have
    // set unchanged, and the sequence always goes on.
    Start Form_Load();

    const Settings &settings() const { return settings_; }
    const BoardModel &board() const { return board_; }
    // The window forwards the user's actions on the board here.
    BoardModel &board() { return board_; }
    const BoardGeometry &geometry() const { return board_.geometry(); }
    const OpenLibrary &library() const { return library_; }
    QString dataFolder() const { return dataFolder_; }
    QString helpFile() const;

    // Paints the reset board before a library is read; the window supplies it.
    void setPaintNow(std::function<void()> paintNow) { paintNow_ = std::move(paintNow); }

    // What the last actions asked to tell the user, oldest first; emptied by the call.
    QStringList takeMessages();

    // 选择词库: the file dialog in the library folder, then the library of the picked file's
    // name from the data folder. Cancel, or a missing library folder, changes nothing.
    void chooseLibrary();
    // The library of this name from the data folder, as a pick in the dialog would load it.
    void openLibrary(const QString &name);

    // Whether a file dropped onto the window is taken: a word library or a word list.
    static bool takesDrop(const QString &path);
    // A dropped word library is opened by its name; a dropped word list is made into the
    // library of its name once ask says yes to the question, and that library opened. What to
    // tell the user after the board and takeMessages(): the report, or what went wrong.
    QString fileDropped(const QString &path, const std::function<bool(const QString &question)> &ask);

    // The data folder a start from programFolder would use, without taking the one-time
    // decision about sharing the companion's folders (as if it were taken).
    static QString dataFolderFor(const QString &programFolder, const Registry &registry,
                                 const Environment &environment);

    // Whether a slot shows a word the wordbook can take: the centre's once a word is shown, a
    // ring slot's while it has the focus.
    bool wordShownAt(int slot) const;
    // The slot whose word the wordbook's key and menu act on: the focused ring word's, else the
    // centre word's once one is shown; -1 when there is none.
    int wordbookSlot() const;
    bool inWordbook(const QString &word) const;
    // Keeps the word of a slot in the wordbook (生词本) with its meaning and associations, or lets
    // it go when it is kept. The board shows it at once; saveWordbook() writes the files, and
    // takes the mark back when they cannot be written. False when nothing changes (what to tell
    // in takeMessages()); ask is asked before a damaged wordbook is put aside for a new one.
    bool toggleWordbook(int slot, const Ask &ask);
    void saveWordbook();
    // 打开生词本: the wordbook opened as a library picked in the dialog is.
    void openWordbook();
    // 导出…: the file dialog, then the notes written; what came of it in takeMessages().
    void exportWordbook();

    // Up to ten headwords of the open library that begin with what is typed, while the input
    // box takes typing; nothing for the prompt or an empty text.
    QList<Completion> completions(const QString &typed) const;

    OptionsPage optionsPage() const override;
    OptionsOutcome optionsConfirmed(const OptionsChoice &choice) override;

private:
    // Makes the library of this name in the data folder from a word list file; confirm is asked
    // with the number of words before anything is written. The report, or what went wrong.
    LibraryFromList::Outcome makeLibrary(const QString &listPath, const QString &name, bool overwrite,
                                         const std::function<bool(int wordCount)> &confirm = {});
    bool libraryExists(const QString &name) const;
    // The word tables, opened on first use (never before the window's first frame); null with
    // the reason when they cannot be.
    const WordTables *wordTables(QString &problem);
    QString phonetic(const QString &word);
    // The wordbook read; a damaged one replaced by a new one after a yes to ask, or told about
    // without ask. Null when there is none to use.
    Wordbook *readWordbook(const Ask *ask);
    // The open wordbook's tables read again after it changed; the board's chain kept by its words.
    void rereadWordbook(bool removed);

    BoardModel::Services boardServices();
    void lookUpCompanion();
    QString chooseBackground();
    double nextRandom();

    void showMessage(const QString &text) override;
    void resetBoard() override;
    void libraryOpened(const QString &libraryName) override;
    void noLibraryOpen() override;

    Services services_;
    Settings settings_;
    OpenLibrary library_;
    BoardModel board_;
    QString dataFolder_;
    std::minstd_rand random_;
    std::function<void()> paintNow_;
    QStringList messages_;
    std::unique_ptr<WordTables> wordTables_;
    QString tablesProblem_;
    std::unique_ptr<Wordbook> wordbook_;
    // A change shown on the board and not yet written.
    struct WordbookChange
    {
        Wordbook::Entry entry;
        bool adding = true;
    };
    std::optional<WordbookChange> pending_;
};
