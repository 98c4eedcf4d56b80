// The main window as a restless user drives it: seeded random actions on its views, and after
// each what must always hold. DORRIT_MONKEY_SEED (1) and DORRIT_MONKEY_ACTIONS (10000) set the
// run; resident memory after the last action stays within 5 % of that after the 1,000th.
#include "common/LibraryFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "startup/UiCompletionList.h"
#include "startup/frmmain.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <malloc.h>
#include <random>
#include <unistd.h>

// There when the sanitizers are, which call it before they end the run.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

using namespace LibraryFixtures;
quint32 seed = 1;
int step = 0;
const char *doing = "start";

void report(const QString &what)
{
    std::fprintf(stderr, "monkey: seed %u, action %d (%s): %s\n", seed, step, doing, qPrintable(what));
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Monkey : RecordedServices
{
    std::mt19937 rng{seed};
    TempProgramFolder folder, outside;
    std::unique_ptr<Session> session;
    std::unique_ptr<frmmain> window;
    QWidget *board = nullptr;
    QStringList libraries{"sample", "big", "noassoc", "单元", "gone"}, drops;

    int pick(qsizetype n) { return n > 1 ? int(rng() % quint32(n)) : 0; }
    bool chance(int percent) { return pick(100) < percent; }
    template <typename T = QWidget> T *find(const QString &name) const { return window->findChild<T *>(name); }
    QWidget *slot(const char *kind, int i) const { return find(QStringLiteral("%1_%2").arg(kind).arg(i)); }
    QString caption(const char *kind, int i) const { return slot(kind, i)->property("text").toString(); }
    QString text(int length, char16_t from, int range)
    {
        QString t;
        while (t.size() < length)
            t += QChar(char16_t(from + pick(range)));
        return t;
    }
    // The pointer to a control of a window, then a click or a double-click there.
    void poke(QWidget *top)
    {
        QList<QWidget *> controls{top};
        for (QWidget *w : top->findChildren<QWidget *>()) {
            if (w->isVisible() && w->isEnabled())
                controls << w;
        }
        QWidget *w = controls[pick(controls.size())];
        const QPoint at(pick(w->width()), pick(w->height()));
        QTest::mouseMove(w, at);
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
        if (chance(30)) { // the second click of a double-click
            QTest::mouseDClick(w, Qt::LeftButton, {}, at);
            QTest::mouseRelease(w, Qt::LeftButton, {}, at);
        }
    }

    // Pointer moves over the slots queued as events, so that they reach the board while a load
    // that the next action starts repaints it.
    void queueSweep()
    {
        const BoardGeometry &g = session->geometry();
        for (int k = 0, i = pick(9); k < 6; ++k, i = pick(9))
            QCoreApplication::postEvent(board, new QMouseEvent(QEvent::MouseMove,
                                                               QPointF(g.slotX[size_t(i)], g.slotY[size_t(i)]),
                                                               QCursor::pos(), Qt::NoButton, Qt::NoButton, {}));
    }

    // A first start's program folder with the sample library, a large generated one, the fuzz
    // corpus's damaged ones and one without associations; outside, the files a user drops.
    Monkey()
    {
        const QDir shipped(QStringLiteral(DORRIT_SOURCE_DIR "/resources/programfolder"));
        for (QDirIterator it(shipped.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString file = it.next();
            folder.write(shipped.relativeFilePath(file), contents(file));
        }
        std::vector<Pair> words;
        std::vector<std::vector<Pair>> groups(6000);
        for (int i = 0; i < 6000; ++i) // every 97th headword repeats an earlier one, every 5th is Chinese
            words.emplace_back(i % 97 == 96 ? words[size_t(pick(i))].first
                                            : (i % 5 ? text(1 + pick(7), u'a', 26) : text(1 + pick(3), u'一', 2000)),
                               "n." + text(pick(40), u'一', 2000));
        for (std::vector<Pair> &group : groups) {
            for (int k = std::array{0, 1, 2, 3, 5, 7, 8, 9, 13, 16, 21, 40}[size_t(pick(12))]; k > 0; --k)
                group.emplace_back(chance(85) ? words[size_t(pick(6000))].first : text(5, u'A', 26), text(9, u'a', 26));
        }
        writeLibrary(folder.path(), "big", wordFile(words), associationFile(groups));
        const QDir corpus(QStringLiteral(DORRIT_SOURCE_DIR "/fuzz/corpus/library"));
        for (const QString &name : corpus.entryList(QDir::Files)) {
            const QByteArray both = contents(corpus.filePath(name));
            const qsizetype cut = both.indexOf('\0');
            writeLibrary(folder.path(), "damaged_" + name, both.first(std::max(cut, qsizetype(0))), both.mid(cut + 1));
            libraries << "damaged_" + name;
        }
        writeLibrary(folder.path(), "noassoc", wordFile({{"a", "b"}}), QByteArray());
        outside.write("单元.txt", "abandon\nhappy,adj.快乐的\nqzxv\nforsake\ndesert\nboard\n");
        outside.write("清单.csv", "tanker,n.油船\nrun\nship;n.船\n");
        for (const char *name : {"空.tsv", "notes.doc", "big.QD"})
            outside.write(name, "");
        for (const char *name : {"单元.txt", "清单.csv", "空.tsv", "notes.doc", "big.QD"})
            drops << outside.file(name);
        drops << folder.file("词库/sample.qd") << folder.file("词库/damaged_short_groups.qd");

        session = std::make_unique<Session>(Session::Services{
            folder.path(), &speech, &registry, &environment, &dialog, std::array{7200, 9000, 11520}[seed % 3],
            QStringLiteral(DORRIT_SOURCE_DIR "/resources/wordtables/words.dwt"), seed, &dialog});
        session->Form_Load();
        const auto ask = [this](const QString &) { return chance(70); };
        window = std::make_unique<frmmain>(*session, frmmain::Services{&messages, &help, &registry, &programs, ask});
        board = find("board");
        window->show();
        if (!QTest::qWaitForWindowActive(window.get()))
            report(QStringLiteral("the window did not become active"));
    }

    struct Action
    {
        const char *name;
        int weight;
        std::function<void(Monkey &)> run;
    };
    // Pointer sweeps over the slots, also while a library loads; clicks and double-clicks on the board's controls;
    // every key of the board and the input box; typing with type-ahead; the menus, their dialogs poked at until closed;
    // drops of lists, libraries and other files.
    const std::vector<Action> actions = {
        {"sweep", 20,
         [](Monkey &m) {
             const BoardGeometry &g = m.session->geometry();
             for (int k = 3 + m.pick(10), i = m.pick(9); k > 0; --k, i = m.pick(9))
                 QTest::mouseMove(m.board, QPoint(g.slotX[size_t(i)], g.slotY[size_t(i)]) +
                                               QPoint(m.pick(161) - 80, m.pick(161) - 80));
         }},
        {"click", 22, [](Monkey &m) { m.poke(m.board); }},
        {"key", 22,
         [](Monkey &m) {
             static const QKeyCombination keys[] = {
                 Qt::Key_Right,        Qt::Key_Down,         Qt::Key_Left,   Qt::Key_Up,       Qt::ALT | Qt::Key_Left,
                 Qt::Key_Return,       Qt::Key_Enter,        Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Backspace,
                 Qt::Key_Escape,       Qt::CTRL | Qt::Key_L, Qt::Key_Slash,  Qt::Key_Tab,      Qt::CTRL | Qt::Key_O,
                 Qt::CTRL | Qt::Key_B, Qt::CTRL | Qt::Key_B};
             const QKeyCombination key = keys[m.pick(std::size(keys))];
             QWidget *to = QApplication::focusWidget() ? QApplication::focusWidget() : m.window.get();
             QTest::keyClick(to, key.key(), key.keyboardModifiers());
         }},
        {"type", 12,
         [](Monkey &m) {
             QWidget *input = m.find("Text1");
             const WordLibrary &words = m.session->library().wordLibrary();
             if (!input->isEnabled())
                 return;
             QTest::mouseClick(input, Qt::LeftButton);
             QCoreApplication::processEvents();
             const QString typed = words.words(1 + m.pick(words.wordCount())).left(1 + m.pick(3));
             QInputMethodEvent composed; // what no key gives comes from an input method
             composed.setCommitString(typed);
             if (std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.unicode() < 128; }))
                 QTest::keyClicks(input, typed);
             else
                 QCoreApplication::sendEvent(input, &composed);
             for (int k = m.pick(4); k > 0; --k)
                 QTest::keyClick(QApplication::focusWidget(),
                                 std::array{Qt::Key_Down, Qt::Key_Up, Qt::Key_Return, Qt::Key_Escape}[m.pick(4)]);
         }},
        {"menu", 10,
         [](Monkey &m) {
             const int item = m.pick(7); // 0 opens a library, 5 the wordbook
             if (item == 0 || item == 5)
                 m.queueSweep();
             m.find<QAction>(std::array{"mnuciku", "mnuoption", "mnuhelphtm", "mnuabout", "mnuwordbookadd",
                                        "mnuwordbookopen", "mnuwordbookexport"}[item])
                 ->trigger();
             for (int k = 0; QWidget *modal = QApplication::activeModalWidget(); ++k) {
                 if (k >= 12)
                     modal->close();
                 else if (m.chance(10))
                     QTest::keyClick(modal, Qt::Key_Escape);
                 else
                     m.poke(modal);
                 QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
             }
         }},
        {"drop", 6,
         [](Monkey &m) {
             m.queueSweep();
             QMimeData data;
             data.setUrls({QUrl::fromLocalFile(m.drops[m.pick(m.drops.size())])});
             if (m.chance(5))
                 data.setUrls(data.urls() + data.urls());
             const QPoint at(m.pick(m.window->width()), m.pick(m.window->height()));
             QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
             QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
             if (QCoreApplication::sendEvent(m.window.get(), &enter); enter.isAccepted())
                 QCoreApplication::sendEvent(m.window.get(), &drop);
         }},
    };

    // Queued calls run, closed dialogs gone, a button that Enter pressed released.
    void settle()
    {
        for (int k = 0; k < 2; ++k) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        const auto buttons = window->findChildren<QPushButton *>();
        for (int k = 0; k < 50 && std::any_of(buttons.begin(), buttons.end(), [](auto *b) { return b->isDown(); }); ++k)
            QTest::qWait(10);
        if (QApplication::activeWindow() != window.get())
            window->activateWindow();
    }

    // What must hold after every action: empty, or what does not.
    QString broken() const
    {
        const BoardModel &b = session->board();
        const OpenLibrary &library = session->library();
        const WordLibrary &words = library.wordLibrary();
        const AssociationTable &associations = library.associations();
        const int depth = b.historyDepth(), word = b.history(depth), page = b.pages().currentPage();
        const int count = depth > 0 ? associations.assocCounts(word) : 0;
        const int onPage = std::clamp(count - (page - 1) * 8, 0, 8);
        const auto shown = [this](const char *kind, int i) { return !slot(kind, i)->isHidden(); };
        const QWidgetList windows = QApplication::topLevelWidgets();
        if (std::any_of(windows.begin(), windows.end(), [](QWidget *w) { return w->isVisible() && w->isModal(); }))
            return "a dialog is left open";
        if (find("Label3")->property("text") != QString::number(depth) || b.boardShown() != (depth > 0))
            return "the counter is not the chain's depth";
        if (depth > 0 && (word < 1 || word > words.wordCount() || page < 1 || (page > 1 && onPage == 0)))
            return "the chain's last word or its page is not in the library";
        if (window->windowTitle() !=
            BoardModel::programTitle + (library.isOpen() ? "        词库：" + library.libraryName : ""))
            return "the caption does not name the open library";
        for (const char *control : {"Command1", "Command2", "Text1", "Label3"}) {
            if (find(control)->isEnabled() != library.isOpen())
                return QString(control) + " is not enabled exactly while a library is open";
        }
        if (find("Command3")->isVisible() != (count > 8 && page > 1) ||
            find("Command4")->isVisible() != (count > 8 && page * 8 < count))
            return "the page buttons are not as the page is";
        if (find("Command5")->isEnabled() != (depth > 1) || find("Command5")->isHidden())
            return "Back is not enabled exactly while the chain holds two words";
        if (depth > 0 ? !shown("Label1", 8) || caption("Label1", 8) != words.words(word) ||
                            caption("Text2", 8) != words.meanings(word)
                      : (shown("Label1", 8) && !caption("Label1", 8).isEmpty()) ||
                            caption("Text2", 8) != BoardModel::greeting)
            return "the centre is not the chain's last word";
        if (depth > 0 && slot("Shape1", 8)->property("InWordbook") != session->inWordbook(words.words(word)))
            return "the centre's mark is not the wordbook's";
        for (int i = 0, k = 1, focused = 0; i < BoardModel::ringSlots; ++i, k = 1) {
            while (k <= onPage && b.slotLayout(onPage, k) != i)
                ++k;
            const bool used = k <= onPage, focus = b.slotFocused(i);
            const int a = (page - 1) * 8 + k;
            if (shown("Shape1", i) != (used || depth == 0) || shown("Label1", i) != used ||
                (used && (caption("Label1", i) != associations.assocWords(word, a) ||
                          slot("Label1", i)->accessibleDescription() != associations.assocMeanings(word, a))))
                return QStringLiteral("ring slot %1 is not the page's").arg(i);
            if (used && slot("Shape1", i)->property("InWordbook") != session->inWordbook(caption("Label1", i)))
                return QStringLiteral("ring slot %1's mark is not the wordbook's").arg(i);
            if ((focus && !used) || (focused += focus) > 1 ||
                slot("Shape1", i)->property("BorderColor").value<QColor>() != (focus ? Qt::red : Qt::blue) ||
                (shown("Text2", i) && (!focus || caption("Text2", i) != associations.assocMeanings(word, a))))
                return QStringLiteral("the focus is not on one shown ring slot, or slot %1 looks otherwise").arg(i);
        }
        QWidget *input = find("Text1");
        QStringList offered;
        for (const Session::Completion &row : session->completions(input->property("text").toString()))
            offered << row.headword;
        if (find("completionList")->isVisible() &&
            (!input->hasFocus() || find<UiCompletionList>("completionList")->headwords() != offered))
            return "the type-ahead list is not for what is typed";
        return {};
    }

    int run(int count)
    {
        int total = 0;
        for (const Action &a : actions)
            total += a.weight;
        qint64 resident[2] = {};
        for (step = 1; step <= count; ++step) {
            dialog.answer.reset();
            dialog.saveAnswer = chance(80) ? std::optional(outside.file("生词本.txt")) : std::nullopt;
            if (chance(85))
                dialog.answer = folder.file("词库/" + libraries[pick(libraries.size())] + (chance(95) ? ".qd" : "xyz"));
            auto a = actions.begin();
            for (int choice = pick(total); choice >= a->weight;)
                choice -= (a++)->weight;
            doing = a->name;
            a->run(*this);
            settle();
            if (const QString what = broken(); !what.isEmpty()) {
                report(what);
                return 1;
            }
            speech.spoken.clear(), messages.shown.clear(), dialog.asked.clear(), help.shown.clear();
            if (step != 1000 && step != count)
                continue;
            // Measured alike each time: the large library opened again, freed memory handed back.
            dialog.answer = folder.file("词库/big.qd");
            find<QAction>("mnuciku")->trigger();
            settle();
            malloc_trim(0);
            resident[step == count] =
                contents("/proc/self/statm").split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE) / 1024;
        }
        step = count, doing = "end";
        std::printf("monkey: seed %u, %d actions; resident %lld KiB after 1000, %lld KiB after %d\n", seed, count,
                    resident[0], resident[1], count);
        std::fflush(stdout);
        // The sanitizers' own bookkeeping grows with every new allocation site: compared only without.
        if (count <= 1000 || __sanitizer_set_death_callback || resident[1] * 100 <= resident[0] * 105)
            return 0;
        report(QStringLiteral("resident memory grew by more than 5 %"));
        return 1;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    seed = qEnvironmentVariable("DORRIT_MONKEY_SEED", QStringLiteral("1")).toUInt();
    if (__sanitizer_set_death_callback)
        __sanitizer_set_death_callback([] { report(QStringLiteral("stopped by the sanitizer")); });
    return Monkey().run(qEnvironmentVariable("DORRIT_MONKEY_ACTIONS", QStringLiteral("10000")).toInt());
}
