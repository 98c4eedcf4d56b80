// Loading a full-size library against decoding the same bytes, its memory against the
// file sizes, and headword look-up against library size.

#include "GeneratedLibraries.h"

#include <QStringDecoder>

#include <benchmark/benchmark.h>
#include <fstream>
#include <iconv.h>
#include <malloc.h>
#include <string>

namespace {

using namespace GeneratedLibraries;

// Mean seconds per iteration of the decode baseline, for the ratio reported by the load.
double baselineSeconds = 0;

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
    baselineSeconds = total / double(state.iterations());
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_DecodeBaseline_iconv(benchmark::State &state)
{
    QByteArray bytes = libraries().bothFiles("full");
    std::vector<char> out(size_t(bytes.size()) * 2 + 16);
    for (auto _ : state) {
        iconv_t cd = iconv_open("UTF-16LE", "GBK");
        char *in = bytes.data();
        size_t inLeft = size_t(bytes.size());
        char *o = out.data();
        size_t outLeft = out.size();
        iconv(cd, &in, &inLeft, &o, &outLeft);
        iconv_close(cd);
        benchmark::DoNotOptimize(o);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The association file alone, already in memory: the parser's own share of a load.
void BM_ParseAssociations(benchmark::State &state)
{
    const QByteArray file = readFile(OpenLibrary::associationFilePath(libraries().dir.path(), "full"));
    for (auto _ : state) {
        state.PauseTiming();
        QByteArray copy(file.constData(), file.size());
        AssociationTable table;
        QString problem;
        state.ResumeTiming();
        if (!AssociationTable::parse(std::move(copy), 32766, table, problem))
            state.SkipWithError(qPrintable(problem));
        state.PauseTiming();
        table = AssociationTable();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}

void BM_LoadLibrary(benchmark::State &state)
{
    Libraries &libs = libraries();
    NullHost host;
    double total = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        OpenLibrary library;
        library.libraryName = "full";
        if (library.openwordfile(libs.dir.path(), host) != OpenLibrary::LoadResult::Loaded)
            state.SkipWithError(qPrintable(host.lastMessage));
        benchmark::DoNotOptimize(library.associations().assocCounts(1));
        total += cpuSeconds() - start;
        state.PauseTiming();
        library = OpenLibrary();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * libs.fullBytes);
    if (baselineSeconds > 0)
        state.counters["load_vs_decode"] = total / double(state.iterations()) / baselineSeconds;
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
        {
            // Resets VmHWM so that it shows this load's peak.
            std::ofstream("/proc/self/clear_refs") << "5";
        }
        OpenLibrary library;
        library.libraryName = name;
        if (library.openwordfile(libs.dir.path(), host) != OpenLibrary::LoadResult::Loaded)
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
BENCHMARK_CAPTURE(BM_LoadMemory, full, "full")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadMemory, sparse_maxAssoc_32767, "sparse")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookUp)->Arg(100)->Arg(1000)->Arg(32766);

BENCHMARK_MAIN();
