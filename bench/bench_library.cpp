// Loading a full-size library against decoding the same bytes, its memory against the
// file sizes, and headword look-up against library size.

#include "worddata/OpenLibrary.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <ctime>
#include <fstream>
#include <iconv.h>
#include <malloc.h>
#include <random>
#include <string>

namespace {

class NullHost : public LibraryHost
{
public:
    void showMessage(const QString &text) override { lastMessage = text; }
    void resetBoard() override {}
    void libraryOpened(const QString &) override {}
    void noLibraryOpen() override {}
    QString lastMessage;
};

// Synthetic text in the companion's layout: lowercase headwords, meanings such as
// "adj.<2-5 hanzi>；<2-5 hanzi>" in code page 936.
class Generator
{
public:
    Generator()
        : rng_(936)
    {
        QStringEncoder gbk("GBK");
        for (char16_t c = 0x4E00; c < 0x9FA5; c += 7)
            hanzi_.push_back(gbk.encode(QStringView(&c, 1)));
        semicolon_ = gbk.encode(u"；");
    }

    QByteArray headword(int i)
    {
        QByteArray w;
        const int letters = 3 + int(rng_() % 8);
        for (int k = 0; k < letters; ++k)
            w += char('a' + rng_() % 26);
        return w + QByteArray::number(i);
    }

    QByteArray meaning()
    {
        static const char *const parts[] = {"n.", "v.", "adj.", "adv.", "prep."};
        QByteArray m = parts[rng_() % 5];
        const int glosses = 1 + int(rng_() % 3);
        for (int g = 0; g < glosses; ++g) {
            if (g > 0)
                m += semicolon_;
            const int chars = 2 + int(rng_() % 4);
            for (int k = 0; k < chars; ++k)
                m += hanzi_[rng_() % hanzi_.size()];
        }
        return m;
    }

    unsigned next(unsigned bound) { return unsigned(rng_() % bound); }

private:
    std::mt19937 rng_;
    std::vector<QByteArray> hanzi_;
    QByteArray semicolon_;
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Thread CPU time, so that other processes on a shared machine do not skew the ratio.
double cpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

QByteArray quotedPair(const QByteArray &a, const QByteArray &b)
{
    return '"' + a + "\",\"" + b + "\"\r\n";
}

// One data folder holding "full" (32766 words, about 750,000 pairs) and "sparse"
// (maxAssoc 32767, a handful of pairs), written once per run.
struct Libraries
{
    QTemporaryDir dir;
    qint64 fullBytes = 0;
    qint64 sparseBytes = 0;

    Libraries()
    {
        Generator gen;
        const int words = 32766;
        QByteArray qd = QByteArray::number(words) + "\r\n";
        QByteArray the;
        int maxAssoc = 0;
        for (int i = 1; i <= words; ++i) {
            qd += quotedPair(gen.headword(i), gen.meaning());
            const int count = int(gen.next(47));
            maxAssoc = std::max(maxAssoc, count);
            the += QByteArray::number(count) + "\r\n";
            for (int k = 0; k < count; ++k)
                the += quotedPair(gen.headword(k), gen.meaning());
        }
        the.prepend(QByteArray::number(maxAssoc) + "\r\n");
        writeFile(OpenLibrary::wordFilePath(dir.path(), "full"), qd);
        writeFile(OpenLibrary::associationFilePath(dir.path(), "full"), the);
        fullBytes = qd.size() + the.size();

        QByteArray sparseQd = QByteArray::number(words) + "\r\n";
        QByteArray sparseThe = "32767\r\n";
        for (int i = 1; i <= words; ++i) {
            sparseQd += quotedPair(gen.headword(i), gen.meaning());
            sparseThe += i % 1000 == 0 ? "1\r\n" + quotedPair("x", gen.meaning()) : QByteArray("0\r\n");
        }
        writeFile(OpenLibrary::wordFilePath(dir.path(), "sparse"), sparseQd);
        writeFile(OpenLibrary::associationFilePath(dir.path(), "sparse"), sparseThe);
        sparseBytes = sparseQd.size() + sparseThe.size();
    }

    QByteArray bothFiles(const QString &name) const
    {
        return readFile(OpenLibrary::wordFilePath(dir.path(), name)) +
               readFile(OpenLibrary::associationFilePath(dir.path(), name));
    }
};

Libraries &libraries()
{
    static Libraries libs;
    return libs;
}

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
