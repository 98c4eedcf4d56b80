// Keeping a word in a 5,000-word wordbook, from the call until its files are safely on disk,
// against writing the same bytes through QSaveFile in the same run: the baseline encodes
// nothing and keeps no index, so the ratio is what keeping costs beyond the safe write itself.
#include "GeneratedLibraries.h"
#include "wordbook/Wordbook.h"

#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

constexpr int kWords = 5000;

// A data folder whose wordbook holds kWords words with up to 24 associations each, written as
// the loader reads it; the word kept in the benchmark is not among them.
struct Folder
{
    QTemporaryDir dir;
    Wordbook::Entry kept;

    Folder()
    {
        GeneratedLibraries::Generator gen;
        QStringDecoder gbk("GBK");
        QByteArray qd = QByteArray::number(kWords) + "\r\n", the;
        int maxAssoc = 0;
        for (int i = 1; i <= kWords; ++i) {
            qd += GeneratedLibraries::quotedPair(gen.headword(i), gen.meaning());
            const int count = int(gen.next(25));
            maxAssoc = std::max(maxAssoc, count);
            the += QByteArray::number(count) + "\r\n";
            for (int k = 0; k < count; ++k)
                the += GeneratedLibraries::quotedPair(gen.headword(k), gen.meaning());
        }
        the.prepend(QByteArray::number(maxAssoc) + "\r\n");
        GeneratedLibraries::writeFile(OpenLibrary::wordFilePath(dir.path(), Wordbook::name), qd);
        GeneratedLibraries::writeFile(OpenLibrary::associationFilePath(dir.path(), Wordbook::name), the);
        kept = {QStringLiteral("serendipity"), gbk(gen.meaning()), {}, QStringLiteral("sample")};
        for (int k = 0; k < 12; ++k)
            kept.associations.append({QString::fromLatin1(gen.headword(k)), gbk(gen.meaning())});
    }
};

Folder &folder()
{
    static Folder f;
    return f;
}

// Each iteration keeps the word (timed) and lets it go again (not timed).
void BM_KeepWord(benchmark::State &state)
{
    Wordbook book(folder().dir.path());
    if (!book.read() || book.size() != kWords) {
        state.SkipWithError("the wordbook did not read");
        return;
    }
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const Wordbook::Change done = book.add(folder().kept);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (done != Wordbook::Change::Done || book.remove(folder().kept.word) != Wordbook::Change::Done) {
            state.SkipWithError(qPrintable(book.problem()));
            return;
        }
    }
}

// Baseline: the three files as a keeping leaves them, each written whole through QSaveFile.
void BM_SaveFileBaseline(benchmark::State &state)
{
    Wordbook book(folder().dir.path());
    book.read();
    book.add(folder().kept);
    std::vector<std::pair<QString, QByteArray>> files;
    for (const QString &path : {book.associationFilePath(), book.wordFilePath(), book.sourceFilePath()})
        files.emplace_back(path, GeneratedLibraries::readFile(path));
    book.remove(folder().kept.word);
    qint64 bytes = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        for (const auto &[path, content] : files) {
            QSaveFile out(path + QStringLiteral(".baseline"));
            if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit()) {
                state.SkipWithError("QSaveFile failed");
                return;
            }
            bytes += content.size();
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
    state.SetBytesProcessed(bytes);
}

} // namespace

BENCHMARK(BM_KeepWord)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_SaveFileBaseline)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_MAIN();
