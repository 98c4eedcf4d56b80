// The pointer over the board, offscreen, on the sample library with a full ring shown.
//
// Baseline: Qt delivering a mouse move to a plain widget. Against it, in the same run:
//  - the board's rule alone (eight distance checks, nothing to render when nothing changed);
//  - the same mouse move sent to the window's board surface, end to end;
//  - moves that enter or leave a ring circle and so restyle a slot.
#include "board/BoardModel.h"
#include "startup/UiBoardSurface.h"
#include "startup/UiFonts.h"
#include "startup/frmmain.h"
#include "worddata/LibraryFileDialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Forty associations, and a word of a full ring whose first associate is a headword.
const QString kMostAssociations = QStringLiteral("travel");
const QString kOtherWord = QStringLiteral("supply");

class SampleDialog : public LibraryFileDialog
{
public:
    std::optional<QString> getOpenFileName(const QString &, const QString &, const QString &folder) override
    {
        return QDir(folder).filePath(QStringLiteral("sample.qd"));
    }
};

// The window with the sample library open and "travel" (a full ring) on the board.
struct Board
{
    QTemporaryDir folder;
    SampleDialog dialog;
    std::unique_ptr<frmmain> window;

    Board()
    {
        const QDir source(QStringLiteral(DORRIT_SOURCE_DIR "/resources/programfolder"));
        for (const QString &sub : {QStringLiteral("词库"), QStringLiteral("联想词库")}) {
            QDir(folder.path()).mkpath(sub);
            for (const QString &file : QDir(source.filePath(sub)).entryList(QDir::Files))
                QFile::copy(source.filePath(sub + QLatin1Char('/') + file),
                            folder.path() + QLatin1Char('/') + sub + QLatin1Char('/') + file);
        }
        frmmain::Services services;
        services.programFolder = folder.path();
        services.libraryDialog = &dialog;
        services.screenHeightTwips = 11520;
        window = std::make_unique<frmmain>(services, Settings{});
        window->resize(1024, 768);
        window->show();
        QCoreApplication::processEvents();
        window->mnuciku_Click();
        auto *input = window->findChild<QLineEdit *>(QStringLiteral("Text1"));
        input->setText(QStringLiteral("travel"));
        emit input->textEdited(input->text());
        emit input->returnPressed();
        QCoreApplication::processEvents();
    }
    QWidget *surface() const { return window->findChild<QWidget *>(QStringLiteral("board")); }
    QPointF slotCentre(int i) const
    {
        const BoardGeometry &g = window->board().geometry();
        return QPointF(g.slotX[size_t(i)], g.slotY[size_t(i)]);
    }
};

Board &board()
{
    static Board b;
    return b;
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
    BoardModel &model = const_cast<BoardModel &>(board().window->board());
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
    bool painted = false;
    const auto connection = QObject::connect(surface, &UiBoardSurface::painted, [&] { painted = true; });
    QElapsedTimer clock;
    clock.start();
    event();
    while (!painted)
        QCoreApplication::processEvents();
    const qint64 ns = clock.nsecsElapsed();
    QObject::disconnect(connection);
    return ns;
}

// Baseline: the same board repainted in full, at once.
void BM_FullRepaint(benchmark::State &state)
{
    QCoreApplication::processEvents();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        board().window->repaint();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}

void typeAndGo(const QString &word)
{
    auto *input = board().window->findChild<QLineEdit *>(QStringLiteral("Text1"));
    input->setText(word);
    emit input->textEdited(word);
    emit input->returnPressed();
}

void click(const char *button)
{
    board().window->findChild<QPushButton *>(QString::fromLatin1(button))->click();
}

void BM_Turn(benchmark::State &state, const char *what)
{
    const QByteArray kind(what);
    typeAndGo(kMostAssociations);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        qint64 ns = 0;
        if (kind == "lookup") {
            ns = toNextFrame([] { typeAndGo(kOtherWord); });
            typeAndGo(kMostAssociations);
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
        } else if (kind == "page") {
            ns = toNextFrame([] { click("Command4"); });
            click("Command3");
        } else {
            typeAndGo(kOtherWord);
            QCoreApplication::processEvents();
            ns = toNextFrame([] { click("Command5"); });
        }
        QCoreApplication::processEvents();
        state.SetIterationTime(double(ns) / 1e9);
    }
}

} // namespace

BENCHMARK(BM_FullRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Turn, typed_lookup, "lookup")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Turn, ring_turn, "ring")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Turn, page_change, "page")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Turn, back, "back")->UseManualTime()->Unit(benchmark::kMicrosecond);
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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
