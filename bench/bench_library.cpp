// Loading a full-size library against decoding the same bytes, its memory against the
// file sizes, and headword look-up against library size.
//
// A load is measured twice: repeated inside this process, where the allocator hands back
// memory it already has, and as the first load of a fresh process (this executable run
// again as a child per sample), where every page the load writes is new to the process,
// as it is for a user who opens a library once.

#include "GeneratedLibraries.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iconv.h>
#include <malloc.h>
#include <random>
#include <string>
#include <sys/resource.h>

namespace {

using namespace GeneratedLibraries;

// Mean CPU seconds per iteration of the baselines, for the ratios the loads report.
double qtDecodeSeconds = 0;
double iconvSeconds = 0;
double freshIconvSeconds = 0;

void BM_DecodeBaseline_QStringDecoder(benchmark::State &state)
{
    const QByteArray bytes = libraries().bothFiles("full");
    double total = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        QStringDecoder decoder("GBK");
        QString text = decoder.decode(bytes);
        benchmark::DoNotOptimize(text.data());
        total += cpuSeconds() - start;
    }
    qtDecodeSeconds = total / double(state.iterations());
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_DecodeBaseline_iconv(benchmark::State &state)
{
    QByteArray bytes = libraries().bothFiles("full");
    std::vector<char> out(size_t(bytes.size()) * 2 + 16);
    double total = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        iconvDecode(bytes, out);
        total += cpuSeconds() - start;
    }
    iconvSeconds = total / double(state.iterations());
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The association file alone, already in memory: the parser's own share of a load.
void BM_ParseAssociations(benchmark::State &state)
{
    const QByteArray file = readFile(OpenLibrary::associationFilePath(libraries().folder, "full"));
    for (auto _ : state) {
        state.PauseTiming();
        PopulatedBuffer copy = PopulatedBuffer::copyOf(file);
        AssociationTable table;
        QString problem;
        state.ResumeTiming();
        if (!AssociationTable::parse(std::move(copy), file.size(), 32766, table, problem))
            state.SkipWithError(qPrintable(problem));
        state.PauseTiming();
        table = AssociationTable();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}

void BM_LoadLibrary(benchmark::State &state)
{
    const double mean = timeFullLoads(state);
    state.SetBytesProcessed(state.iterations() * libraries().fullBytes);
    if (qtDecodeSeconds > 0)
        state.counters["load_vs_decode"] = mean / qtDecodeSeconds;
    if (iconvSeconds > 0)
        state.counters["load_vs_iconv"] = mean / iconvSeconds;
}

qint64 statusKb(const char *field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stoll(line.substr(std::strlen(field)));
    }
    return -1;
}

// Resets VmHWM so that it shows the peak from here on.
void resetPeakRss()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

qint64 heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return qint64(m.uordblks + m.hblkhd);
}

// Bytes held by the loaded tables, the heap they keep and the resident peak while
// loading, each against the size of the two files.
void BM_LoadMemory(benchmark::State &state, const char *name)
{
    Libraries &libs = libraries();
    const double fileBytes = double(std::string(name) == "full" ? libs.fullBytes : libs.sparseBytes);
    NullHost host;
    for (auto _ : state) {
        malloc_trim(0);
        const qint64 heapBefore = heapInUse();
        const qint64 rssBefore = statusKb("VmRSS:");
        resetPeakRss();
        OpenLibrary library;
        library.libraryName = name;
        if (library.openwordfile(libs.folder, host) != OpenLibrary::LoadResult::Loaded)
            state.SkipWithError(qPrintable(host.lastMessage));
        const qint64 peakKb = statusKb("VmHWM:") - rssBefore;
        const double held = double(library.wordLibrary().heldBytes() + library.associations().heldBytes());
        state.counters["file_bytes"] = fileBytes;
        state.counters["held_bytes"] = held;
        state.counters["held_vs_files"] = held / fileBytes;
        state.counters["heap_kept_vs_files"] = double(heapInUse() - heapBefore) / fileBytes;
        state.counters["peak_rss_vs_files"] = double(peakKb) * 1024.0 / fileBytes;
    }
}

long minorFaults()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// In the child, one of:
//  load  - openwordfile from its call to usable tables in a process that has done nothing
//          else; then, in the same process moments later, the in-process iconv baseline
//          (median of three decodes into an output buffer already used once), so that the
//          ratio of the two is not skewed by what else the machine is doing.
//  iconv - reading both files and decoding them with iconv, into fresh memory as a
//          decoding program started for the purpose would.
// Prints: CPU seconds, wall seconds, minor faults, resident peak rise in bytes, bytes held
// by the tables, in-process iconv CPU seconds.
int runChild(const QByteArray &what, const QString &dataFolder, const QString &name)
{
    const qint64 rssBefore = statusKb("VmRSS:");
    resetPeakRss();
    NullHost host;
    OpenLibrary library;
    library.libraryName = name;
    const long faultsBefore = minorFaults();
    QElapsedTimer wall;
    wall.start();
    const double cpuStart = processCpuSeconds();
    double held = 0;
    if (what == "load") {
        if (library.openwordfile(dataFolder, host) != OpenLibrary::LoadResult::Loaded) {
            fprintf(stderr, "%s\n", qPrintable(host.lastMessage));
            return 1;
        }
        held = double(library.wordLibrary().heldBytes() + library.associations().heldBytes());
    } else {
        QByteArray bytes;
        if (!readBoth(dataFolder, name, bytes))
            return 1;
        std::vector<char> out(size_t(bytes.size()) * 2 + 16);
        iconvDecode(bytes, out);
    }
    const double cpu = processCpuSeconds() - cpuStart;
    const qint64 wallNs = wall.nsecsElapsed();
    const long faults = minorFaults() - faultsBefore;
    const qint64 peakKb = statusKb("VmHWM:") - rssBefore;

    double decodeCpu = 0;
    if (what == "load") {
        QByteArray bytes;
        if (!readBoth(dataFolder, name, bytes))
            return 1;
        std::vector<char> out(size_t(bytes.size()) * 2 + 16);
        iconvDecode(bytes, out);
        std::vector<double> runs;
        for (int k = 0; k < 3; ++k) {
            const double start = processCpuSeconds();
            iconvDecode(bytes, out);
            runs.push_back(processCpuSeconds() - start);
        }
        std::sort(runs.begin(), runs.end());
        decodeCpu = runs[1];
    }
    printf("%.9f %.9f %ld %lld %.0f %.9f\n", cpu, double(wallNs) * 1e-9, faults, static_cast<long long>(peakKb) * 1024,
           held, decodeCpu);
    fflush(stdout);
    return 0;
}

// Each iteration is a fresh process doing one load (or one decode); the iteration time is
// that process's CPU time for it, and the counters are medians over the samples:
//  load_vs_iconv        - per sample, the load against iconv decoding the same bytes in
//                         the same process right after (the strict baseline: no reading,
//                         no fresh memory); the figure the target is set against
//  load_vs_fresh_iconv  - against the fresh-process iconv case of this run
void BM_FreshProcess(benchmark::State &state, const char *what)
{
    Libraries &libs = libraries();
    std::vector<double> cpu, wall, faults, peak, held, ratio;
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), QString::fromLatin1(what), libs.folder, QStringLiteral("full")});
        child.waitForFinished(60000);
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || fields.size() != 6) {
            state.SkipWithError(child.readAllStandardError().constData());
            break;
        }
        const double sampleCpu = fields[0].toDouble();
        state.SetIterationTime(sampleCpu);
        cpu.push_back(sampleCpu);
        wall.push_back(fields[1].toDouble());
        faults.push_back(fields[2].toDouble());
        peak.push_back(fields[3].toDouble());
        held.push_back(fields[4].toDouble());
        if (fields[5].toDouble() > 0)
            ratio.push_back(sampleCpu / fields[5].toDouble());
    }
    const double fileBytes = double(libs.fullBytes);
    state.counters["cpu_ms_median"] = median(cpu) * 1e3;
    state.counters["cpu_ms_max"] = cpu.empty() ? 0 : *std::max_element(cpu.begin(), cpu.end()) * 1e3;
    state.counters["wall_ms_median"] = median(wall) * 1e3;
    state.counters["minor_faults"] = median(faults);
    state.counters["peak_rss_vs_files"] = median(peak) / fileBytes;
    if (std::string(what) == "iconv") {
        freshIconvSeconds = median(cpu);
        return;
    }
    state.counters["held_vs_files"] = median(held) / fileBytes;
    state.counters["load_vs_iconv"] = median(ratio);
    if (freshIconvSeconds > 0)
        state.counters["load_vs_fresh_iconv"] = median(cpu) / freshIconvSeconds;
}

void BM_LookUp(benchmark::State &state)
{
    Generator gen;
    const int words = int(state.range(0));
    QByteArray qd = QByteArray::number(words) + "\r\n";
    std::vector<QString> keys;
    for (int i = 1; i <= words; ++i) {
        const QByteArray w = gen.headword(i);
        keys.push_back(QString::fromLatin1(w));
        qd += quotedPair(w, gen.meaning());
    }
    WordLibrary lib;
    QString problem;
    if (!WordLibrary::parse(qd, lib, problem))
        state.SkipWithError(qPrintable(problem));
    size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lib.find(keys[k]));
        k = (k + 7919) % keys.size();
    }
}

} // namespace

BENCHMARK(BM_DecodeBaseline_QStringDecoder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBaseline_iconv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseAssociations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FreshProcess, iconv, "iconv")->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FreshProcess, load, "load")->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadMemory, full, "full")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadMemory, sparse_maxAssoc_32767, "sparse")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookUp)->Arg(100)->Arg(1000)->Arg(32766);

int main(int argc, char **argv)
{
    if (argc == 5 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argv[2], QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]));
    // Leaves the generated libraries in a folder, to profile a child run by hand.
    if (argc == 3 && qstrcmp(argv[1], "--write-libraries") == 0) {
        Libraries(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
