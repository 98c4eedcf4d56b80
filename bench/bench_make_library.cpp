// A 5,000-word list made into a library (the tables opened, the list read, both files made and
// written through QSaveFile) against loading the library it wrote, in the same run: in this
// process, and as the first action of a fresh process (this executable again as a child per
// sample), where the user waits for it.

#include "worddata/OpenLibrary.h"
#include "wordlist/LibraryFromList.h"
#include "wordlist/WordTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int kWords = 5000;
const QString kName = QStringLiteral("list5000");
const QString kTables = QStringLiteral(DORRIT_SOURCE_DIR "/resources/wordtables/words.dwt");

class NullHost : public LibraryHost
{
public:
    void showMessage(const QString &) override {}
    void resetBoard() override {}
    void libraryOpened(const QString &) override {}
    void noLibraryOpen() override {}
};

// The list: 5,000 common words of the tables spread over the alphabet, one a line, UTF-8,
// every tenth with a meaning of its own after a tab.
struct Workspace
{
    QTemporaryDir dir;
    QString list = dir.filePath(QStringLiteral("list.txt"));
    QString data = dir.filePath(QStringLiteral("data"));

    Workspace()
    {
        WordTables tables;
        QString problem;
        if (!tables.open(kTables, problem))
            qFatal("%s", qPrintable(problem));
        std::vector<quint32> common;
        for (quint32 i = 0; i < tables.size(); ++i) {
            if (tables.isCommon(i))
                common.push_back(i);
        }
        QByteArray text;
        for (int k = 0; k < kWords; ++k) {
            text += tables.spelling(common[size_t(k) * common.size() / kWords]).toByteArray();
            text += k % 10 ? "\n" : "\tn.自己的释义\n";
        }
        QFile file(list);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write the list");
    }
};

Workspace &workspace()
{
    static Workspace w;
    return w;
}

bool makeOnce(const QString &list, const QString &data)
{
    WordTables tables;
    QString problem;
    if (!tables.open(kTables, problem))
        return false;
    LibraryFromList::Request request;
    request.listPath = list;
    request.name = kName;
    request.dataFolder = data;
    request.overwrite = true;
    return LibraryFromList::make(request, tables).status == LibraryFromList::Status::Made;
}

bool loadOnce(const QString &data)
{
    OpenLibrary library;
    NullHost host;
    library.libraryName = kName;
    return library.openwordfile(data, host) == OpenLibrary::LoadResult::Loaded;
}

double makeSeconds = 0, loadSeconds = 0;

// Wall time: the files' writing and renaming are part of what the user waits for.
void BM_MakeLibrary(benchmark::State &state)
{
    Workspace &w = workspace();
    QElapsedTimer timer;
    for (auto _ : state) {
        timer.start();
        if (!makeOnce(w.list, w.data))
            state.SkipWithError("make failed");
        const double s = double(timer.nsecsElapsed()) * 1e-9;
        state.SetIterationTime(s);
        makeSeconds += s;
    }
    makeSeconds /= double(state.iterations());
}

void BM_LoadLibrary(benchmark::State &state)
{
    Workspace &w = workspace();
    if (!loadOnce(w.data) && !(makeOnce(w.list, w.data) && loadOnce(w.data)))
        state.SkipWithError("load failed");
    QElapsedTimer timer;
    for (auto _ : state) {
        timer.start();
        benchmark::DoNotOptimize(loadOnce(w.data));
        const double s = double(timer.nsecsElapsed()) * 1e-9;
        state.SetIterationTime(s);
        loadSeconds += s;
    }
    loadSeconds /= double(state.iterations());
    state.counters["make_vs_load"] = makeSeconds / loadSeconds;
    state.counters["list_words"] = kWords;
    state.counters["library_bytes"] = double(QFile(OpenLibrary::wordFilePath(w.data, kName)).size() +
                                             QFile(OpenLibrary::associationFilePath(w.data, kName)).size());
}

// A child per sample; the child times its one action from its start to its end.
double childSeconds(const char *mode)
{
    Workspace &w = workspace();
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode), w.list, w.data});
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return -1;
    return child.readAllStandardOutput().trimmed().toDouble();
}

void BM_FreshProcess(benchmark::State &state, const char *mode)
{
    std::vector<double> samples, ratios;
    for (auto _ : state) {
        const double s = childSeconds(mode);
        if (s < 0) {
            state.SkipWithError("child failed");
            break;
        }
        state.SetIterationTime(s);
        samples.push_back(s);
        if (mode[2] == 'm')
            ratios.push_back(s / childSeconds("--load"));
    }
    if (!ratios.empty()) {
        std::sort(ratios.begin(), ratios.end());
        state.counters["make_vs_fresh_load_median"] = ratios[ratios.size() / 2];
    }
}

int runChild(const char *mode, const QString &list, const QString &data)
{
    QElapsedTimer timer;
    timer.start();
    const bool ok = mode[2] == 'm' ? makeOnce(list, data) : loadOnce(data);
    std::printf("%.6f\n", double(timer.nsecsElapsed()) * 1e-9);
    return ok ? 0 : 1;
}

} // namespace

BENCHMARK(BM_MakeLibrary)->UseManualTime()->MinTime(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLibrary)->UseManualTime()->MinTime(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FreshProcess, make, "--make")->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FreshProcess, load, "--load")->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (argc == 4 && (qstrcmp(argv[1], "--make") == 0 || qstrcmp(argv[1], "--load") == 0)) {
        QCoreApplication app(argc, argv);
        return runChild(argv[1], QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
