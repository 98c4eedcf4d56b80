// Time from asking for a word to its first audible sample at the sound server, for each way
// the program speaks, against playing ready-made samples through the same output in the same
// run. Everything plays into a private PulseAudio server's null sink (nothing is heard) whose
// monitor is recorded in this process; see SinkRecorder for what the span includes.
//
//  FirstSound/ready_samples      baseline: a word's worth of samples already in memory, played
//                                as FliteSpeech plays them (QAudioSink pulling from a buffer)
//  FirstSound/flite_new_word     FliteSpeech, ready: a word not said before (synthesis in
//                                its thread, then playing)
//  FirstSound/flite_word_said_before  the same word again, as when the pointer re-enters a
//                                circle: its samples are kept, so only playing remains
//  FirstSound/speech_dispatcher_new_word  SpeechDispatcherSpeech, connected: the service
//                                synthesises and plays
//  PointerToFirstSound/...       the user's span: the pointer entering a ring circle of the
//                                window's board, for each engine path
//  StartToFirstWord/...          the program's own chooser from start() with "welcome"
//                                waiting, as after the first frame: speech-dispatcher started
//                                on demand, or (autospawn disabled) passed over for flite
#include "PrivateSoundServer.h"
#include "SinkRecorder.h"
#include "StartedWindow.h"
#include "platform/files/LibraryFileDialog.h"
#include "platform/speech/FliteSpeech.h"
#include "platform/speech/FliteSynthesizer.h"
#include "platform/speech/SpeechChooser.h"
#include "platform/speech/SpeechDispatcherSpeech.h"
#include "platform/speech/SystemSpeech.h"
#include "startup/SettingsFile.h"

#include <QApplication>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMediaDevices>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

PrivateSoundServer *soundServer = nullptr;
SinkRecorder *recorder = nullptr;

bool ready(benchmark::State &state)
{
    if (!soundServer->problem().isEmpty()) {
        state.SkipWithError(qPrintable(soundServer->problem()));
        return false;
    }
    if (!recorder->problem().isEmpty()) {
        state.SkipWithError(qPrintable(recorder->problem()));
        return false;
    }
    return true;
}

// Words never said before in the run, so that no engine can answer from memory.
QString freshWord()
{
    static const QStringList words{
        QStringLiteral("abandon"), QStringLiteral("ability"), QStringLiteral("tanker"), QStringLiteral("harbour"),
        QStringLiteral("gentle"),  QStringLiteral("morning"), QStringLiteral("river"),  QStringLiteral("silver"),
        QStringLiteral("garden"),  QStringLiteral("pencil"),  QStringLiteral("window"), QStringLiteral("orange"),
        QStringLiteral("button"),  QStringLiteral("castle"),  QStringLiteral("finger"), QStringLiteral("ladder"),
        QStringLiteral("marble"),  QStringLiteral("needle"),  QStringLiteral("pepper"), QStringLiteral("rabbit"),
        QStringLiteral("saddle"),  QStringLiteral("tunnel"),  QStringLiteral("velvet"), QStringLiteral("wander"),
        QStringLiteral("yellow"),  QStringLiteral("anchor"),  QStringLiteral("basket"), QStringLiteral("candle"),
        QStringLiteral("dinner"),  QStringLiteral("engine"),  QStringLiteral("forest"), QStringLiteral("hammer")};
    static int next = 0;
    const int at = next++;
    return at < words.size() ? words.at(at) : words.at(at % words.size()) + QString::number(at);
}

// Runs trigger once per iteration, after `before` and after the previous sound has died away,
// and reports the spans until the first sound: the mean as the time, min, median and max as
// counters.
void measure(benchmark::State &state, const std::function<void()> &trigger, const std::function<void()> &before = {})
{
    std::vector<double> spans;
    for (auto _ : state) {
        if (before)
            before();
        recorder->waitForSilence();
        const qint64 ns = recorder->timeToFirstSound(trigger);
        if (ns < 0) {
            state.SkipWithError("nothing was heard");
            return;
        }
        state.SetIterationTime(double(ns) / 1e9);
        spans.push_back(ns / 1e6);
    }
    std::sort(spans.begin(), spans.end());
    if (spans.empty())
        return;
    state.counters["min_ms"] = spans.front();
    state.counters["median_ms"] = spans[spans.size() / 2];
    state.counters["max_ms"] = spans.back();
}

// Opens the backend and waits until it answers; skips the benchmark when it cannot speak.
bool opened(benchmark::State &state, SpeechBackend &backend)
{
    if (!ready(state))
        return false;
    bool answered = false;
    QString why = QStringLiteral("no answer within 10 s");
    QObject::connect(&backend, &SpeechBackend::ready, [&] { answered = true, why.clear(); });
    QObject::connect(&backend, &SpeechBackend::unavailable,
                     [&](const QString &reason) { answered = true, why = reason; });
    backend.open();
    QElapsedTimer clock;
    clock.start();
    while (!answered && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!why.isEmpty())
        state.SkipWithError(qPrintable(backend.name() + QLatin1String(": ") + why));
    return why.isEmpty();
}

void BM_FirstSound_ReadySamples(benchmark::State &state)
{
    if (!ready(state))
        return;
    const FliteSynthesizer::Samples word = FliteSynthesizer::synthesize(QStringLiteral("welcome"));
    QAudioFormat format;
    format.setSampleRate(word.sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    std::unique_ptr<QAudioSink> sink;
    QBuffer buffer;
    measure(state, [&] {
        if (sink)
            sink->stop();
        sink = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format);
        buffer.close();
        buffer.setData(word.pcm);
        buffer.open(QIODevice::ReadOnly);
        sink->start(&buffer);
    });
}

enum class Word { New, Prepared, SaidBefore };

void BM_FirstSound_Flite(benchmark::State &state, Word word)
{
    FliteSpeech speech;
    if (!opened(state, speech))
        return;
    switch (word) {
    case Word::New:
        measure(state, [&] { speech.say({freshWord()}); });
        break;
    case Word::Prepared: {
        // As when the ring is shown a moment before the pointer enters a circle.
        QString next;
        const auto prepare = [&] {
            next = freshWord();
            speech.prepare({next});
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 500)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        };
        measure(
            state, [&] { speech.say({next}); }, prepare);
        break;
    }
    case Word::SaidBefore:
        speech.say({QStringLiteral("welcome")});
        measure(state, [&] { speech.say({QStringLiteral("welcome")}); });
        break;
    }
}

void BM_FirstSound_SpeechDispatcher(benchmark::State &state)
{
    SpeechDispatcherSpeech speech;
    if (!opened(state, speech))
        return;
    measure(state, [&] { speech.say({freshWord()}); });
}

// A fresh chooser each time; the service of the previous iteration is stopped first, so each
// one starts it again as the program's first start on a desktop would.
void BM_StartToFirstWord(benchmark::State &state, bool autospawn)
{
    if (!ready(state))
        return;
    const QString config = soundServer->configHome() + QLatin1String("/speech-dispatcher");
    QDir(config).removeRecursively();
    if (!autospawn) {
        QDir().mkpath(config);
        QFile file(config + QLatin1String("/speechd.conf"));
        if (file.open(QIODevice::WriteOnly))
            file.write("DisableAutoSpawn\n");
    }
    std::unique_ptr<SystemSpeech> speech;
    std::vector<double> spans;
    for (auto _ : state) {
        state.PauseTiming();
        speech.reset();
        soundServer->stopSpeechService();
        recorder->waitForSilence();
        state.ResumeTiming();
        const qint64 ns = recorder->timeToFirstSound(
            [&] {
                speech = makeSystemSpeech(QStringLiteral(DORRIT_SPEECH_MODULE_FOLDER));
                speech->speak(QStringLiteral("welcome"));
                speech->start();
            },
            std::chrono::seconds(15));
        if (ns < 0) {
            state.SkipWithError("nothing was heard");
            return;
        }
        state.SetIterationTime(double(ns) / 1e9);
        spans.push_back(ns / 1e6);
    }
    speech.reset();
    soundServer->stopSpeechService();
    std::sort(spans.begin(), spans.end());
    if (!spans.empty()) {
        state.counters["min_ms"] = spans.front();
        state.counters["max_ms"] = spans.back();
    }
}

// The user's span: the pointer entering a ring circle of the board, the word on the ring
// shown a moment before (so the engine had it to prepare), reading aloud on, through one
// engine path. Each iteration enters the next ring slot from the board's centre.
class SampleDialog : public LibraryFileDialog
{
public:
    std::optional<QString> getOpenFileName(const QString &, const QString &, const QString &folder) override
    {
        return QDir(folder).filePath(QStringLiteral("sample.qd"));
    }
};

void BM_PointerToFirstSound(benchmark::State &state, bool flite)
{
    if (!ready(state))
        return;
    QTemporaryDir folder;
    const QDir source(QStringLiteral(DORRIT_SOURCE_DIR "/resources/programfolder"));
    for (const QString &sub : {QStringLiteral("词库"), QStringLiteral("联想词库")}) {
        QDir(folder.path()).mkpath(sub);
        for (const QString &file : QDir(source.filePath(sub)).entryList(QDir::Files))
            QFile::copy(source.filePath(sub + QLatin1Char('/') + file), folder.filePath(sub + QLatin1Char('/') + file));
    }
    Settings stored;
    stored.companionChecked = true;
    stored.shareCompanionFolders = false;
    stored.readAloud = true;
    SettingsFile(folder.path()).writeAll(stored);

    SpeechChooser speech({flite ? SpeechChooser::Factory([] { return std::make_unique<FliteSpeech>(); })
                                : SpeechChooser::Factory([] { return std::make_unique<SpeechDispatcherSpeech>(); })});
    SampleDialog dialog;
    Session::Services services;
    services.programFolder = folder.path();
    services.speech = &speech;
    services.libraryDialog = &dialog;
    services.screenHeightTwips = 11520;
    StartedWindow started(services);
    frmmain &window = started.window;
    window.show();
    // "welcome" from start-up is said first, as after a real start.
    recorder->timeToFirstSound([&] { speech.start(); }, std::chrono::seconds(15));
    if (speech.engine().isEmpty()) {
        state.SkipWithError("the engine did not start");
        return;
    }
    window.mnuciku_Click();
    auto *input = window.findChild<QLineEdit *>(QStringLiteral("Text1"));
    input->setText(QStringLiteral("travel"));
    emit input->textEdited(input->text());
    emit input->returnPressed();
    QWidget *board = window.findChild<QWidget *>(QStringLiteral("board"));
    const BoardGeometry &g = started.session.geometry();
    const auto moveTo = [&](int slot) {
        const QPointF at(g.slotX[size_t(slot)], g.slotY[size_t(slot)]);
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(board, &move);
    };
    int slot = 0;
    measure(
        state, [&] { moveTo(slot); },
        [&] {
            slot = (slot + 1) % 8;
            moveTo(8);
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 300)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        });
}

// A freshly started server takes about two seconds to pass on its first sound, whoever plays
// it; that is the test rig's cost, not the program's.
void warmUp()
{
    QAudioFormat format;
    format.setSampleRate(16000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    QByteArray beep(16000 / 10 * 2, '\0');
    for (qsizetype i = 0; i < beep.size() / 2; ++i)
        reinterpret_cast<qint16 *>(beep.data())[i] = (i / 20) % 2 ? 8000 : -8000;
    QBuffer buffer(&beep);
    buffer.open(QIODevice::ReadOnly);
    QAudioSink sink(QMediaDevices::defaultAudioOutput(), format);
    recorder->timeToFirstSound([&] { sink.start(&buffer); }, std::chrono::seconds(10));
    recorder->waitForSilence();
}

} // namespace

void registerBenchmarks()
{
    const auto spans = [](benchmark::internal::Benchmark *benchmark, int iterations) {
        benchmark->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);
    };
    spans(benchmark::RegisterBenchmark("FirstSound/ready_samples", BM_FirstSound_ReadySamples), 15);
    spans(benchmark::RegisterBenchmark("FirstSound/flite_new_word", BM_FirstSound_Flite, Word::New), 15);
    spans(benchmark::RegisterBenchmark("FirstSound/flite_prepared_word", BM_FirstSound_Flite, Word::Prepared), 15);
    spans(benchmark::RegisterBenchmark("FirstSound/flite_word_said_before", BM_FirstSound_Flite, Word::SaidBefore), 15);
    spans(benchmark::RegisterBenchmark("FirstSound/speech_dispatcher_new_word", BM_FirstSound_SpeechDispatcher), 15);
    spans(benchmark::RegisterBenchmark("PointerToFirstSound/flite", BM_PointerToFirstSound, true), 15);
    spans(benchmark::RegisterBenchmark("PointerToFirstSound/speech_dispatcher", BM_PointerToFirstSound, false), 15);
    spans(
        benchmark::RegisterBenchmark("StartToFirstWord/speech_dispatcher_started_on_demand", BM_StartToFirstWord, true),
        3);
    spans(benchmark::RegisterBenchmark("StartToFirstWord/flite_after_autospawn_refused", BM_StartToFirstWord, false),
          3);
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrivateSoundServer server;
    soundServer = &server;
    SinkRecorder monitor(server.monitorSource());
    recorder = &monitor;
    if (server.problem().isEmpty() && monitor.problem().isEmpty())
        warmUp();
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
