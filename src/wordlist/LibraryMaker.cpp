#include "wordlist/LibraryMaker.h"

#include "platform/text/AnsiText.h"
#include "wordlist/WordSource.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace {

bool isVowel(char c)
{
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// Endings of plurals, past forms, participles and comparisons, with what replaces them;
// the first base form the source has wins.
struct Ending
{
    const char *suffix;
    const char *base;
};
constexpr Ending kEndings[] = {
    {"ies", "y"}, {"ves", "f"}, {"ves", "fe"}, {"es", ""},  {"s", ""},    {"ied", "y"},
    {"ed", "e"},  {"ed", ""},   {"ing", "e"},  {"ing", ""}, {"ier", "y"}, {"iest", "y"},
    {"er", "e"},  {"er", ""},   {"est", "e"},  {"est", ""}, {"ily", "y"}, {"ly", ""},
};

quint32 findBase(const WordSource &source, const QByteArray &key)
{
    for (const Ending &e : kEndings) {
        const QByteArrayView suffix(e.suffix);
        if (key.size() <= suffix.size() + 1 || !key.endsWith(suffix) || (suffix == "s" && key.endsWith("ss")))
            continue;
        QByteArray stem = key.first(key.size() - suffix.size());
        const quint32 found = source.find(stem + e.base);
        if (found != WordSource::none)
            return found;
        // "running", "stopped", "bigger": the doubled consonant goes too.
        const qsizetype n = stem.size();
        if (!*e.base && n >= 3 && stem[n - 1] == stem[n - 2] && !isVowel(stem[n - 1])) {
            stem.chop(1);
            if (const quint32 single = source.find(stem); single != WordSource::none)
                return single;
        }
    }
    return WordSource::none;
}

} // namespace

quint32 LibraryMaker::lookUp(const WordSource &source, QByteArrayView word)
{
    const QByteArray key = WordSource::keyOf(word);
    if (const quint32 found = source.find(key); found != WordSource::none)
        return found;
    QByteArray spaced = key;
    spaced.replace('-', ' ');
    if (spaced != key) {
        if (const quint32 found = source.find(spaced); found != WordSource::none)
            return found;
    }
    // A verb as a list gives it: "to abandon".
    if (spaced.startsWith("to ") && spaced.size() > 3) {
        if (const quint32 found = source.find(QByteArrayView(spaced).sliced(3)); found != WordSource::none)
            return found;
    }
    // Irregular forms ("went", "children") before the endings, which would misread some.
    if (const quint32 found = source.findForm(spaced); found != WordSource::none)
        return found;
    return findBase(source, spaced);
}

namespace {

// Appends the record "word","meaning" and a line end at out.
char *writePair(char *out, QByteArrayView word, QByteArrayView meaning)
{
    *out++ = '"';
    out = std::copy(word.begin(), word.end(), out);
    out = std::copy_n("\",\"", 3, out);
    out = std::copy(meaning.begin(), meaning.end(), out);
    return std::copy_n("\"\r\n", 3, out);
}

constexpr qsizetype kPairBytes = 7;

char *writeCount(char *out, qsizetype n)
{
    out = std::to_chars(out, out + 20, n).ptr;
    return std::copy_n("\r\n", 2, out);
}

} // namespace

LibraryMaker::Files LibraryMaker::make(const WordList &list, const WordSource &source)
{
    const QList<WordList::Entry> &entries = list.entries();
    const qsizetype n = entries.size();
    Files files;
    LibraryReport &report = files.report;
    report.words = int(n);
    report.skipped = list.skipped();

    std::vector<quint32> ids(static_cast<size_t>(n));
    std::vector<QByteArrayView> words(static_cast<size_t>(n)), meanings(static_cast<size_t>(n));
    // The first word of the list for each entry, so that a ring names the word as the list does.
    std::vector<qint32> listWordOf(source.size(), -1);
    qsizetype wordBytes = 16;
    for (qsizetype i = 0; i < n; ++i) {
        const WordList::Entry &e = entries[i];
        words[i] = list.word(e);
        ids[i] = lookUp(source, words[i]);
        if (ids[i] != WordSource::none && listWordOf[ids[i]] < 0)
            listWordOf[ids[i]] = qint32(i);
        if (e.meaningLength > 0) {
            meanings[i] = list.meaning(e);
            ++report.meaningsFromList;
        } else if (ids[i] != WordSource::none) {
            meanings[i] = source.meaning(ids[i]);
            ++report.meaningsFromTables;
        } else {
            report.withoutMeaning.append(AnsiText::decode(words[i]));
        }
        wordBytes += words[i].size() + meanings[i].size() + kPairBytes;
    }

    // Each group's associations as list words (i >= 0) or table entries (-1 - entry).
    std::vector<qint64> picked;
    picked.reserve(size_t(n) * 12);
    std::vector<int> counts(static_cast<size_t>(n));
    qsizetype associationBytes = 16;
    for (qsizetype i = 0; i < n; ++i) {
        const quint32 id = ids[i];
        if (id == WordSource::none)
            continue;
        const QByteArrayView self = words[i];
        const auto add = [&](qint64 pick, QByteArrayView word, QByteArrayView meaning) {
            if (word.size() == self.size() && word.compare(self, Qt::CaseInsensitive) == 0)
                return;
            picked.push_back(pick);
            associationBytes += word.size() + meaning.size() + kPairBytes;
            ++counts[i];
        };
        const std::span<const quint32> related = source.related(id);
        for (const quint32 r : related) {
            const qint32 j = listWordOf[r];
            if (counts[i] < maxAssociations && r != id && j >= 0 && j != i)
                add(j, words[j], meanings[j]);
        }
        for (const quint32 r : related) {
            if (counts[i] < maxAssociations && r != id && listWordOf[r] < 0 && source.isCommon(r))
                add(-1 - qint64(r), source.spelling(r), source.meaning(r));
        }
    }

    // Both files written straight into buffers of their exact size.
    QByteArray qd(wordBytes, Qt::Uninitialized);
    char *out = writeCount(qd.data(), n);
    for (qsizetype i = 0; i < n; ++i)
        out = writePair(out, words[i], meanings[i]);
    qd.truncate(out - qd.data());

    const int maxAssoc = n ? *std::max_element(counts.begin(), counts.end()) : 0;
    QByteArray the(associationBytes + 8 * n, Qt::Uninitialized);
    out = writeCount(the.data(), maxAssoc);
    const qint64 *next = picked.data();
    for (qsizetype i = 0; i < n; ++i) {
        out = writeCount(out, counts[i]);
        for (int k = 0; k < counts[i]; ++k, ++next) {
            if (*next >= 0)
                out = writePair(out, words[*next], meanings[*next]);
            else
                out = writePair(out, source.spelling(quint32(-1 - *next)), source.meaning(quint32(-1 - *next)));
        }
    }
    the.truncate(out - the.data());
    files.wordFile = std::move(qd);
    files.associationFile = std::move(the);

    if (n) {
        std::vector<int> sorted = counts;
        std::nth_element(sorted.begin(), sorted.begin() + n / 2, sorted.end());
        report.associationsMedian = sorted[size_t(n / 2)];
        const auto [least, most] = std::minmax_element(counts.begin(), counts.end());
        report.associationsMin = *least;
        report.associationsMax = *most;
    }
    return files;
}

QString LibraryReport::text(const QString &name, const QString &wordFile, const QString &associationFile,
                            int listLimit) const
{
    const auto named = [listLimit](const QStringList &words) {
        if (listLimit <= 0 || words.size() <= listLimit)
            return words.join(QStringLiteral("，"));
        return words.first(listLimit).join(QStringLiteral("，")) + QStringLiteral(" 等");
    };
    QString text = QStringLiteral("词库《%1》已做好：写入 %2 个单词，%3 个有释义（词表自带 %4 个，词典查到 %5 个）。")
                       .arg(name)
                       .arg(words)
                       .arg(meaningsFromList + meaningsFromTables)
                       .arg(meaningsFromList)
                       .arg(meaningsFromTables);
    if (!withoutMeaning.isEmpty()) {
        text += QStringLiteral("\n%1 个单词没有找到释义（释义留空）：%2")
                    .arg(withoutMeaning.size())
                    .arg(named(withoutMeaning));
    }
    if (!skipped.isEmpty()) {
        QStringList lines;
        for (const WordList::Skipped &s : skipped)
            lines << QStringLiteral("第 %1 行“%2”：%3").arg(s.line).arg(s.word, s.reason);
        text += QStringLiteral("\n%1 个单词没有写入：%2").arg(skipped.size()).arg(named(lines));
    }
    text += QStringLiteral("\n每个单词的联想词：最少 %1 个，中位数 %2 个，最多 %3 个。")
                .arg(associationsMin)
                .arg(associationsMedian)
                .arg(associationsMax);
    text += QStringLiteral("\n词库文件：%1\n联想词库文件：%2").arg(wordFile, associationFile);
    return text;
}
