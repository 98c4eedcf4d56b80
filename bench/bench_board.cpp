// The board as the user works it, offscreen, on the generated full-size library (32,766
// words, about 750,000 pairs), each case against a baseline in the same run:
//  - the pointer: Qt delivering a mouse move to a plain widget, against the board's rule
//    alone, the same move sent to the window, and moves that restyle a slot;
//  - a turn (typed look-up, ring turn, page change, Back), and Ctrl+B keeping the centre word
//    or letting it go, from its event to the board's next painted frame, against a forced full
//    repaint of the same board;
//  - the first library load in a fresh process, from the file dialog's answer to the window
//    naming the library, against iconv decoding the same two files in the same process.
#include "GeneratedLibraries.h"
#include "StartedWindow.h"
#include "board/BoardModel.h"
#include "platform/files/LibraryFileDialog.h"
#include "startup/UiBoardSurface.h"
#include "startup/UiFonts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

// Opens the generated full-size library "full" and notes when it answered.
class FullLibraryDialog : public LibraryFileDialog
{
public:
    std::optional<QString> getOpenFileName(const QString &, const QString &, const QString &folder) override
    {
        closedCpu = GeneratedLibraries::processCpuSeconds();
        closedAt.start();
        return QDir(folder).filePath(QStringLiteral("full.qd"));
    }
    QElapsedTimer closedAt;
    double closedCpu = 0;
};

// The window as a user starts it, its program folder holding the generated libraries.
std::unique_ptr<StartedWindow> openWindow(LibraryFileDialog &dialog, const QString &programFolder)
{
    Session::Services services;
    services.programFolder = programFolder;
    services.libraryDialog = &dialog;
    services.screenHeightTwips = 11520;
    // The shipped word tables, as an installed program finds them: the phonetics show.
    services.wordTables = QStringLiteral(DORRIT_SOURCE_DIR "/resources/wordtables/words.dwt");
    auto started = std::make_unique<StartedWindow>(services);
    frmmain *window = &started->window;
    bool painted = false;
    QObject::connect(window, &frmmain::firstFramePainted, [&painted] { painted = true; });
    window->showFillingScreen();
    // A user chooses a library well after the window is up and settled.
    for (int i = 0; i < 10000 && !painted; ++i)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return started;
}

// The window with the full-size library open and its word of most associations (a full
// ring, several pages) on the board.
struct Board
{
    FullLibraryDialog dialog;
    std::unique_ptr<StartedWindow> started;
    frmmain *window = nullptr;
    QString mostAssociations;
    QString otherWord;

    Board()
    {
        started = openWindow(dialog, GeneratedLibraries::libraries().folder);
        window = &started->window;
        window->mnuciku_Click();
        const OpenLibrary &library = started->session.library();
        int most = 1;
        for (int i = 1; i <= library.wordLibrary().wordCount(); ++i) {
            if (library.associations().assocCounts(i) > library.associations().assocCounts(most))
                most = i;
        }
        mostAssociations = library.wordLibrary().words(most);
        otherWord = library.wordLibrary().words(most == 1 ? 2 : 1);
        typeAndGo(mostAssociations);
        QCoreApplication::processEvents();
    }
    void typeAndGo(const QString &word) const
    {
        auto *input = window->findChild<QLineEdit *>(QStringLiteral("Text1"));
        input->setText(word);
        emit input->textEdited(word);
        emit input->returnPressed();
    }
    QWidget *surface() const { return window->findChild<QWidget *>(QStringLiteral("board")); }
    QPointF slotCentre(int i) const
    {
        const BoardGeometry &g = started->session.geometry();
        return QPointF(g.slotX[size_t(i)], g.slotY[size_t(i)]);
    }
};

// Made once and never destroyed: at exit the application object is already gone.
Board &board()
{
    static Board *b = new Board;
    return *b;
}

QMouseEvent moveTo(const QPointF &at)
{
    return QMouseEvent(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
}

void BM_QtDeliversMouseMove(benchmark::State &state)
{
    QWidget plain;
    plain.setMouseTracking(true);
    plain.resize(1024, 768);
    plain.show();
    QMouseEvent event = moveTo(QPointF(512, 40));
    for (auto _ : state)
        QApplication::sendEvent(&plain, &event);
}

// The same plain widget as the central widget of a main window, as the board surface is.
void BM_QtDeliversMouseMoveInMainWindow(benchmark::State &state)
{
    QMainWindow window;
    auto *plain = new QWidget;
    plain->setMouseTracking(true);
    window.setCentralWidget(plain);
    window.resize(1024, 768);
    window.show();
    QMouseEvent event = moveTo(QPointF(512, 40));
    for (auto _ : state)
        QApplication::sendEvent(plain, &event);
}

void BM_BoardRuleNoChange(benchmark::State &state)
{
    BoardModel &model = board().started->session.board();
    const QPointF at = board().slotCentre(8);
    for (auto _ : state) {
        model.Form_MouseMove(at.x(), at.y());
        benchmark::DoNotOptimize(model.takeChangedSlots());
    }
}

void BM_WindowMouseMoveNoChange(benchmark::State &state)
{
    QMouseEvent event = moveTo(board().slotCentre(8));
    for (auto _ : state)
        QApplication::sendEvent(board().surface(), &event);
}

// Each iteration enters slot 0's circle and leaves it again: two moves, two restyles.
void BM_WindowMouseMoveEnterAndLeave(benchmark::State &state)
{
    QMouseEvent in = moveTo(board().slotCentre(0));
    QMouseEvent out = moveTo(board().slotCentre(8));
    for (auto _ : state) {
        QApplication::sendEvent(board().surface(), &in);
        QApplication::sendEvent(board().surface(), &out);
    }
    state.SetItemsProcessed(2 * state.iterations());
}

// From an event to the board's next painted frame.
qint64 toNextFrame(const std::function<void()> &event)
{
    auto *surface = static_cast<UiBoardSurface *>(board().surface());
    // Taken when the frame is painted: work the event does after it (the wordbook's safe
    // write) does not delay what the user sees.
    qint64 ns = -1;
    QElapsedTimer clock;
    const auto connection = QObject::connect(surface, &UiBoardSurface::painted, [&] {
        if (ns < 0)
            ns = clock.nsecsElapsed();
    });
    clock.start();
    event();
    while (ns < 0)
        QCoreApplication::processEvents();
    QObject::disconnect(connection);
    return ns;
}

// Baseline: the same board repainted in full, at once.
void BM_FullRepaint(benchmark::State &state)
{
    board();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        board().window->repaint();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}

void click(const char *button)
{
    board().window->findChild<QPushButton *>(QString::fromLatin1(button))->click();
}

void BM_Turn(benchmark::State &state, const char *what)
{
    const QByteArray kind(what);
    Board &b = board();
    b.typeAndGo(b.mostAssociations);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        qint64 ns = 0;
        if (kind == "lookup") {
            ns = toNextFrame([&] { b.typeAndGo(b.otherWord); });
            b.typeAndGo(b.mostAssociations);
        } else if (kind == "ring") {
            // The pointer rests on slot 1 before the double-click, as a user's would.
            QMouseEvent hover = moveTo(board().slotCentre(1));
            QApplication::sendEvent(board().surface(), &hover);
            QCoreApplication::processEvents();
            const QPointF at = board().slotCentre(1);
            ns = toNextFrame([&] {
                QMouseEvent dbl(QEvent::MouseButtonDblClick, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(board().surface(), &dbl);
            });
            click("Command5");
        } else if (kind == "keep") {
            // Each press keeps a word or lets it go; its files are written after the frame.
            // The ring word in focus, or else the centre word.
            const int slot = std::max(b.started->session.wordbookSlot(), 0);
            const QString word = b.started->session.board().slot(slot).caption;
            const bool before = b.started->session.inWordbook(word);
            // A window shortcut needs the window active, as it is under the user's hand.
            QApplication::setActiveWindow(b.window);
            ns = toNextFrame([&] { QTest::keyClick(b.window, Qt::Key_B, Qt::ControlModifier); });
            if (b.started->session.inWordbook(word) == before) {
                state.SkipWithError("Ctrl+B changed nothing");
                return;
            }
        } else if (kind == "page") {
            ns = toNextFrame([] { click("Command4"); });
            click("Command3");
        } else {
            b.typeAndGo(b.otherWord);
            QCoreApplication::processEvents();
            ns = toNextFrame([] { click("Command5"); });
        }
        QCoreApplication::processEvents();
        state.SetIterationTime(double(ns) / 1e9);
    }
}

// In a fresh process: the window up and painted, then the library chosen. Prints the CPU
// and wall seconds from the dialog's answer to the caption naming the library, then the CPU
// seconds of iconv decoding the same two files in this process (median of three).
int firstLoadInWindow(const QString &dataFolder)
{
    FullLibraryDialog dialog;
    const std::unique_ptr<StartedWindow> started = openWindow(dialog, dataFolder);
    frmmain *window = &started->window;
    window->mnuciku_Click();
    const double cpu = GeneratedLibraries::processCpuSeconds() - dialog.closedCpu;
    const qint64 wallNs = dialog.closedAt.nsecsElapsed();
    if (!window->windowTitle().endsWith(QStringLiteral("full")))
        return 1;
    QByteArray bytes;
    if (!GeneratedLibraries::readBoth(dataFolder, QStringLiteral("full"), bytes))
        return 1;
    std::vector<char> out(size_t(bytes.size()) * 2 + 16);
    std::vector<double> runs;
    for (int k = 0; k < 4; ++k) {
        const double start = GeneratedLibraries::processCpuSeconds();
        GeneratedLibraries::iconvDecode(bytes, out);
        if (k > 0)
            runs.push_back(GeneratedLibraries::processCpuSeconds() - start);
    }
    printf("%.9f %.9f %.9f\n", cpu, double(wallNs) * 1e-9, GeneratedLibraries::median(runs));
    fflush(stdout);
    return 0;
}

// Per sample the load against iconv in the same child; the counter is the median ratio.
void BM_FirstLoadInWindow(benchmark::State &state)
{
    std::vector<double> ratios, wall;
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child-load"), GeneratedLibraries::libraries().folder});
        child.waitForFinished(60000);
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || fields.size() != 3) {
            state.SkipWithError("the child could not open the library");
            break;
        }
        state.SetIterationTime(fields[0].toDouble());
        wall.push_back(fields[1].toDouble());
        ratios.push_back(fields[0].toDouble() / fields[2].toDouble());
    }
    state.counters["wall_ms_median"] = GeneratedLibraries::median(wall) * 1e3;
    state.counters["load_vs_iconv"] = GeneratedLibraries::median(ratios);
}

} // namespace

BENCHMARK(BM_FirstLoadInWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(BM_FullRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Turn, typed_lookup, "lookup")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Turn, ring_turn, "ring")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Turn, page_change, "page")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Turn, back, "back")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Turn, keep_word, "keep")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QtDeliversMouseMove)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_QtDeliversMouseMoveInMainWindow)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_BoardRuleNoChange)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_WindowMouseMoveNoChange)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_WindowMouseMoveEnterAndLeave)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*.warning=false");
    QApplication app(argc, argv);
    installFontSubstitutes();
    if (argc == 3 && qstrcmp(argv[1], "--child-load") == 0)
        return firstLoadInWindow(QString::fromLocal8Bit(argv[2]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
