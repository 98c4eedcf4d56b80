// Type-ahead on the full-size library (32,766 headwords), against Qt's own QCompleter
// over a QStringListModel of the same headwords, in the same run:
//  - one keystroke: the ten completions for a prefix of 1, 2, 3 or 5 letters;
//  - building the prefix index against the whole library load, in this process and
//    the first time in a fresh one.
#include "GeneratedLibraries.h"
#include "worddata/LibraryParse.h"
#include "worddata/PrefixIndex.h"

#include <QApplication>
#include <QCompleter>
#include <QProcess>
#include <QStringListModel>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

using namespace GeneratedLibraries;

constexpr int samples = 2000;

struct Loaded
{
    OpenLibrary library;
    QStringList headwords;
    // Headwords drawn at random: each sample stands for one word the user types.
    QStringList typed;

    Loaded()
    {
        NullHost host;
        library.libraryName = QStringLiteral("full");
        if (library.openwordfile(libraries().folder, host) != OpenLibrary::LoadResult::Loaded)
            qFatal("cannot load: %s", qPrintable(host.lastMessage));
        const WordLibrary &words = library.wordLibrary();
        for (int i = 1; i <= words.wordCount(); ++i)
            headwords << words.words(i);
        std::mt19937 rng(7);
        for (int k = 0; k < samples; ++k)
            typed << headwords[int(rng() % unsigned(headwords.size()))];
    }
};

Loaded &loaded()
{
    static Loaded l;
    return l;
}

// Mean thread CPU seconds of QCompleter's keystroke, by prefix length.
std::map<int, double> completerSeconds;

// Reading the thread CPU clock is a system call (about a microsecond here). What it adds
// to a span timed around one keystroke, measured in this run and taken off again.
double clockCost()
{
    static const double cost = [] {
        constexpr int reads = 20000;
        double spans = 0;
        for (int k = 0; k < reads; ++k) {
            const double start = cpuSeconds();
            spans += cpuSeconds() - start;
        }
        return spans / reads;
    }();
    return cost;
}

// As a QCompleter user gets the list: a case-insensitive completer over the model,
// unsorted, the prefix set, then up to ten completions read. Each sample types its
// word from the start with a fresh completer cache, so the measured keystroke has the
// cache of the keystrokes before it in the same word, as when the user types it.
void BM_QCompleter(benchmark::State &state)
{
    const int length = int(state.range(0));
    QStringListModel model(loaded().headwords);
    QCompleter completer(&model);
    completer.setModelSorting(QCompleter::UnsortedModel);
    completer.setCaseSensitivity(Qt::CaseInsensitive);
    qsizetype k = 0;
    double total = 0;
    for (auto _ : state) {
        const QString &word = loaded().typed[k];
        k = (k + 1) % samples;
        // Changing the case rule starts a new cache.
        completer.setCaseSensitivity(Qt::CaseSensitive);
        completer.setCaseSensitivity(Qt::CaseInsensitive);
        for (int typed = 1; typed < length; ++typed)
            completer.setCompletionPrefix(word.first(std::min<qsizetype>(typed, word.size())));

        const double start = cpuSeconds();
        completer.setCompletionPrefix(word.first(std::min<qsizetype>(length, word.size())));
        QStringList shown;
        shown.reserve(PrefixIndex::maxCompletions);
        for (int row = 0; row < PrefixIndex::maxCompletions && completer.setCurrentRow(row); ++row)
            shown << completer.currentCompletion();
        benchmark::DoNotOptimize(shown.data());
        const double spent = std::max(cpuSeconds() - start - clockCost(), 0.0);
        total += spent;
        state.SetIterationTime(spent);
    }
    completerSeconds[length] = total / double(state.iterations());
    state.counters["us"] = completerSeconds[length] * 1e6;
}

// The same keystroke through the prefix index: the ten word indices and their headwords,
// what QCompleter hands over; with meanings the rows are as the list shows them.
void completion(benchmark::State &state, bool meanings)
{
    const int length = int(state.range(0));
    const WordLibrary &words = loaded().library.wordLibrary();
    QStringList prefixes;
    for (const QString &word : loaded().typed)
        prefixes << word.first(std::min<qsizetype>(length, word.size()));
    qsizetype k = 0;
    // Nothing to set up between keystrokes, so the clock is read around the whole loop.
    const double start = cpuSeconds();
    for (auto _ : state) {
        const QList<int> found = words.completions(prefixes[k]);
        QStringList shown;
        shown.reserve(2 * PrefixIndex::maxCompletions);
        for (const int i : found) {
            shown << words.words(i);
            if (meanings)
                shown << words.meanings(i);
        }
        benchmark::DoNotOptimize(shown.data());
        k = (k + 1) % samples;
    }
    const double perKeystroke = (cpuSeconds() - start) / double(state.iterations());
    state.counters["us"] = perKeystroke * 1e6;
    const auto baseline = completerSeconds.find(length);
    if (baseline != completerSeconds.end())
        state.counters["vs_qcompleter"] = perKeystroke / baseline->second;
}

void BM_PrefixIndex(benchmark::State &state)
{
    completion(state, false);
}

void BM_PrefixIndexRows(benchmark::State &state)
{
    completion(state, true);
}

// The word file's values as the load leaves them, for building the index alone.
struct ParsedWords
{
    LibraryParse in;
    int count = 0;

    explicit ParsedWords(const QString &dataFolder)
        : in(load(dataFolder))
    {
        QByteArrayView value;
        qint16 n = 0;
        if (!in.reader.next(value) || !SequentialReader::toCount(value, n))
            qFatal("bad word file");
        count = n;
        for (int i = 0; i < 2 * count && in.reader.next(value); ++i) {
            if (!in.values.append(value))
                qFatal("out of memory");
        }
        in.values.finish();
    }
    static LibraryParse load(const QString &dataFolder)
    {
        const QByteArray file = readFile(OpenLibrary::wordFilePath(dataFolder, QStringLiteral("full")));
        return LibraryParse(PopulatedBuffer::copyOf(file), file.size());
    }
    bool gbk() const { return in.values.encoding().kind() == LibraryEncoding::Gbk; }
};

double loadSeconds = 0;

void BM_LoadLibrary(benchmark::State &state)
{
    loadSeconds = timeFullLoads(state);
}

void BM_BuildPrefixIndex(benchmark::State &state)
{
    const ParsedWords parsed(libraries().folder);
    double total = 0;
    qsizetype held = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        PrefixIndex index;
        index.build(parsed.in.values, parsed.count, parsed.gbk());
        held = index.heldBytes();
        total += cpuSeconds() - start;
    }
    state.counters["held_bytes"] = double(held);
    if (loadSeconds > 0)
        state.counters["vs_load"] = total / double(state.iterations()) / loadSeconds;
}

// In a fresh process: the first load of the library, then the index built once more on a
// freshly parsed copy of the word file, as the load builds it right after parsing.
int childFirstLoad(const QString &dataFolder)
{
    NullHost host;
    double start = cpuSeconds();
    OpenLibrary library;
    library.libraryName = QStringLiteral("full");
    if (library.openwordfile(dataFolder, host) != OpenLibrary::LoadResult::Loaded)
        return 1;
    const double load = cpuSeconds() - start;
    const ParsedWords parsed(dataFolder);
    start = cpuSeconds();
    PrefixIndex index;
    index.build(parsed.in.values, parsed.count, parsed.gbk());
    const double build = cpuSeconds() - start;
    std::printf("%.9f %.9f\n", load, build);
    return 0;
}

void BM_FirstLoadInFreshProcess(benchmark::State &state)
{
    std::vector<double> shares;
    double loadTotal = 0, buildTotal = 0;
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child-load"), libraries().folder});
        child.waitForFinished(60000);
        const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
        if (parts.size() != 2) {
            state.SkipWithError("child failed");
            break;
        }
        const double load = parts[0].toDouble(), build = parts[1].toDouble();
        loadTotal += load;
        buildTotal += build;
        // What the index adds: the load without it against the index.
        shares.push_back(build / (load - build));
        state.SetIterationTime(load);
    }
    if (shares.empty())
        return;
    std::sort(shares.begin(), shares.end());
    state.counters["load_ms"] = loadTotal / double(shares.size()) * 1e3;
    state.counters["build_ms"] = buildTotal / double(shares.size()) * 1e3;
    state.counters["added_median"] = shares[shares.size() / 2];
}

} // namespace

BENCHMARK(BM_QCompleter)->Arg(1)->Arg(2)->Arg(3)->Arg(5)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PrefixIndex)->Arg(1)->Arg(2)->Arg(3)->Arg(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PrefixIndexRows)->Arg(1)->Arg(2)->Arg(3)->Arg(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildPrefixIndex)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstLoadInFreshProcess)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--child-load") == 0)
        return childFirstLoad(QString::fromLocal8Bit(argv[2]));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    loaded();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
