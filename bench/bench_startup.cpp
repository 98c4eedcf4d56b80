// Start-up to first frame: the main window (settings file, layout, board, background)
// against a fair baseline in the same run: a maximized main window with a Chinese menu bar,
// the same background JPEG drawn to its size, nine circles and one line of Chinese text. Under X when DISPLAY is
// set (xvfb-run), otherwise on the offscreen platform.
//
// Three views:
//  Launch  - from starting a fresh process to its first painted frame, as a user starts
//            the program: the real executable against this one's baseline window, both
//            linked against the same libraries.
//  Cold    - inside such a fresh process, from creating the window to its first frame.
//  Warm    - the same span repeated inside one process, where only the window's own
//            work remains.
#include "BaselineWindow.h"
#include "StartedWindow.h"
#include "platform/speech/SystemSpeech.h"
#include "startup/SettingsFile.h"
#include "startup/UiFonts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using namespace baseline;

void printFrame(qint64 ns)
{
    printf("%lld\n", static_cast<long long>(ns));
    fflush(stdout);
}

qint64 frmmainToFirstFrame(const QString &programFolder)
{
    QElapsedTimer clock;
    clock.start();
    const auto speech = makeSystemSpeech();
    Session::Services services;
    services.programFolder = programFolder;
    services.speech = speech.get();
    services.screenHeightTwips = frmmain::screenHeightTwips();
    bool painted = false;
    qint64 elapsed = -1;
    StartedWindow started(services);
    frmmain &window = started.window;
    QObject::connect(&window, &frmmain::firstFramePainted, [&] {
        elapsed = clock.nsecsElapsed();
        painted = true;
        if (reportFrame)
            reportFrame(elapsed);
    });
    QObject::connect(
        &window, &frmmain::firstFramePainted, &window, [&speech] { speech->start(); }, Qt::QueuedConnection);
    window.showFillingScreen();
    waitUntil(painted);
    // The engine loads after the first frame, outside the measured span.
    QCoreApplication::processEvents();
    return elapsed;
}

// A program folder whose settings file says whether to read aloud.
QString programFolder(bool readAloud)
{
    static QTemporaryDir folders[2];
    const QString path = folders[readAloud ? 1 : 0].path();
    Settings stored;
    stored.companionChecked = true;
    stored.shareCompanionFolders = false;
    stored.readAloud = readAloud;
    stored.desktopPicture = QStringLiteral("01.jpg");
    SettingsFile(path).writeAll(stored);
    // A picture to show, as every start after the first has.
    QDir(path).mkpath(QStringLiteral("Dorrit桌面/1024x768"));
    QFile::copy(QString::fromUtf8(kPicture), path + QStringLiteral("/Dorrit桌面/1024x768/01.jpg"));
    return path;
}

// The program folder is made by the parent, so that the child's span holds no set-up.
QStringList childArguments(const char *what)
{
    const QByteArray kind(what);
    return {QStringLiteral("--child"), QString::fromLatin1(what),
            kind == "baseline" ? QString() : programFolder(kind == "on")};
}

void record(benchmark::State &state, qint64 nanoseconds)
{
    if (nanoseconds < 0)
        state.SkipWithError("no frame painted");
    state.SetIterationTime(double(nanoseconds) / 1e9);
}

void BM_Warm_FairBaseline(benchmark::State &state)
{
    for (auto _ : state)
        record(state, baselineWindowToFirstFrame());
}

void BM_Warm_Frmmain(benchmark::State &state)
{
    const QString folder = programFolder(state.range(0) != 0);
    for (auto _ : state)
        record(state, frmmainToFirstFrame(folder));
}

// Each iteration is a fresh process that reports its own span from window creation to
// first frame; process start-up itself is the same for both and not part of the span.
void BM_Cold(benchmark::State &state, const char *what)
{
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), childArguments(what));
        child.waitForFinished(30000);
        bool ok = false;
        const qint64 ns = child.readAllStandardOutput().split('\n').value(0).trimmed().toLongLong(&ok);
        record(state, ok ? ns : -1);
    }
}

} // namespace

// The real program in a program folder of its own (a copy of the executable and its speech
// module beside the settings file and the picture), as a user launches it.
QString installedProgram(bool readAloud)
{
    const QString folder = programFolder(readAloud);
    const QString program = folder + QStringLiteral("/dorrit");
    if (!QFileInfo::exists(program)) {
        QFile::copy(QStringLiteral(DORRIT_EXECUTABLE), program);
        // The speech engines' module, which the program loads after its first frame.
        const QString module =
            QFileInfo(QStringLiteral(DORRIT_EXECUTABLE)).dir().filePath(QStringLiteral("libdorrit_speech.so"));
        QFile::copy(module, folder + QStringLiteral("/libdorrit_speech.so"));
    }
    return program;
}

// From starting a process to its report of the first frame; -1 when none came. The
// baseline is a program of its own, linked against Qt Widgets only; the program is the real
// one, ended once it told.
qint64 launchToFirstFrame(const char *what)
{
    const bool baseline = qstrcmp(what, "baseline") == 0;
    const QString program =
        baseline ? QStringLiteral(DORRIT_BASELINE_EXECUTABLE) : installedProgram(qstrcmp(what, "on") == 0);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DORRIT_REPORT_FIRST_FRAME"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    child.start(program, QStringList());
    const bool painted = child.waitForReadyRead(30000);
    const qint64 ns = clock.nsecsElapsed();
    if (!baseline)
        child.kill();
    child.waitForFinished(30000);
    return painted ? ns : -1;
}

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Each iteration launches the baseline and then the program, so that both meet the same
// state of the machine; the counters are medians, which one stalled launch cannot move.
void BM_Launch(benchmark::State &state, const char *what)
{
    std::vector<double> ours, baseline, ratio;
    for (auto _ : state) {
        const qint64 base = launchToFirstFrame("baseline");
        const qint64 ns = launchToFirstFrame(what);
        record(state, base < 0 ? -1 : ns);
        ours.push_back(double(ns) / 1e6);
        baseline.push_back(double(base) / 1e6);
        ratio.push_back(double(ns) / double(base));
    }
    state.counters["median_ms"] = medianOf(ours);
    state.counters["baseline_median_ms"] = medianOf(baseline);
    state.counters["vs_baseline"] = medianOf(ratio);
}

BENCHMARK_CAPTURE(BM_Launch, Frmmain_ReadAloudOff, "off")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(15);
BENCHMARK_CAPTURE(BM_Launch, Frmmain_ReadAloudOn, "on")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK_CAPTURE(BM_Cold, FairBaseline, "baseline")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK_CAPTURE(BM_Cold, Frmmain_ReadAloudOff, "off")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK_CAPTURE(BM_Cold, Frmmain_ReadAloudOn, "on")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(BM_Warm_FairBaseline)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Warm_Frmmain)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("readAloud")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);

int main(int argc, char **argv)
{
    // Under a real X server (xvfb-run) when there is one, as a user starts it.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*.warning=false");
    QApplication app(argc, argv);
    installFontSubstitutes();
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0) {
        const QByteArray what(argv[2]);
        reportFrame = printFrame;
        const qint64 ns =
            what == "baseline" ? baselineWindowToFirstFrame() : frmmainToFirstFrame(QString::fromLocal8Bit(argv[3]));
        return ns < 0 ? 1 : 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
