#pragma once

// The full-size libraries that several benchmarks load: written once per run into a
// temporary data folder, in the companion's layout.

#include "worddata/OpenLibrary.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <iconv.h>
#include <random>
#include <vector>

namespace GeneratedLibraries {

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

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Thread CPU time, so that other processes on a shared machine do not skew the ratio.
inline double cpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// GBK -> UTF-16 of bytes into out, which must hold twice as many bytes.
inline void iconvDecode(QByteArray &bytes, std::vector<char> &out)
{
    iconv_t cd = iconv_open("UTF-16LE", "GBK");
    char *in = bytes.data();
    size_t inLeft = size_t(bytes.size());
    char *o = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    benchmark::DoNotOptimize(o);
}

inline double processCpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Both files of a library read into one buffer, as a program that decodes them would.
inline bool readBoth(const QString &dataFolder, const QString &name, QByteArray &bytes)
{
    QFile files[] = {QFile(OpenLibrary::wordFilePath(dataFolder, name)),
                     QFile(OpenLibrary::associationFilePath(dataFolder, name))};
    bytes = QByteArray(files[0].size() + files[1].size(), Qt::Uninitialized);
    qsizetype at = 0;
    for (QFile &f : files) {
        if (!f.open(QIODevice::ReadOnly) || f.read(bytes.data() + at, f.size()) != f.size())
            return false;
        at += f.size();
    }
    return true;
}

inline double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline QByteArray quotedPair(const QByteArray &a, const QByteArray &b)
{
    return '"' + a + "\",\"" + b + "\"\r\n";
}

// One data folder holding "full" (32766 words, about 750,000 pairs) and "sparse"
// (maxAssoc 32767, a handful of pairs), written once per run.
struct Libraries
{
    QString folder;
    qint64 fullBytes = 0;
    qint64 sparseBytes = 0;

    explicit Libraries(const QString &dataFolder)
        : folder(dataFolder)
    {
        Generator gen;
        const int words = 32766;
        QByteArray qd = QByteArray::number(words) + "\r\n";
        std::vector<QByteArray> heads;
        for (int i = 1; i <= words; ++i) {
            heads.push_back(gen.headword(i));
            qd += quotedPair(heads.back(), gen.meaning());
        }
        // Associated words are headwords of the library, as most are in a real one, so that
        // the ring can be turned.
        QByteArray the;
        int maxAssoc = 0;
        for (int i = 1; i <= words; ++i) {
            const int count = int(gen.next(47));
            maxAssoc = std::max(maxAssoc, count);
            the += QByteArray::number(count) + "\r\n";
            for (int k = 0; k < count; ++k)
                the += quotedPair(heads[gen.next(unsigned(words))], gen.meaning());
        }
        the.prepend(QByteArray::number(maxAssoc) + "\r\n");
        writeFile(OpenLibrary::wordFilePath(folder, "full"), qd);
        writeFile(OpenLibrary::associationFilePath(folder, "full"), the);
        fullBytes = qd.size() + the.size();

        QByteArray sparseQd = QByteArray::number(words) + "\r\n";
        QByteArray sparseThe = "32767\r\n";
        for (int i = 1; i <= words; ++i) {
            sparseQd += quotedPair(gen.headword(i), gen.meaning());
            sparseThe += i % 1000 == 0 ? "1\r\n" + quotedPair("x", gen.meaning()) : QByteArray("0\r\n");
        }
        writeFile(OpenLibrary::wordFilePath(folder, "sparse"), sparseQd);
        writeFile(OpenLibrary::associationFilePath(folder, "sparse"), sparseThe);
        sparseBytes = sparseQd.size() + sparseThe.size();
    }

    QByteArray bothFiles(const QString &name) const
    {
        return readFile(OpenLibrary::wordFilePath(folder, name)) +
               readFile(OpenLibrary::associationFilePath(folder, name));
    }
};

inline Libraries &libraries()
{
    static QTemporaryDir dir;
    static Libraries libs(dir.path());
    return libs;
}

// openwordfile of the full library, once per iteration, from its call to usable tables;
// the mean thread CPU seconds of a load.
inline double timeFullLoads(benchmark::State &state)
{
    NullHost host;
    double total = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        OpenLibrary library;
        library.libraryName = QStringLiteral("full");
        if (library.openwordfile(libraries().folder, host) != OpenLibrary::LoadResult::Loaded)
            state.SkipWithError(qPrintable(host.lastMessage));
        benchmark::DoNotOptimize(library.associations().assocCounts(1));
        total += cpuSeconds() - start;
        state.PauseTiming();
        library = OpenLibrary();
        state.ResumeTiming();
    }
    return total / double(state.iterations());
}

} // namespace GeneratedLibraries
