#include "worddata/WordLibrary.h"

#include "worddata/LibraryParse.h"
#include "worddata/SequentialReader.h"

#include <algorithm>

QString WordLibrary::words(int i) const
{
    if (i < 1 || i > wordCount_)
        return {};
    return values_.text(2 * qsizetype(i) - 2);
}

QString WordLibrary::meanings(int i) const
{
    if (i < 1 || i > wordCount_)
        return {};
    return values_.text(2 * qsizetype(i) - 1);
}

int WordLibrary::find(QStringView headword) const
{
    const QByteArray key = values_.encoding().encode(headword);
    const int i = index_.find(values_, key);
    // The encoder replaces what the file's code page cannot hold; such a query matches nothing.
    if (i != 0 && words(i) != headword)
        return 0;
    return i;
}

QList<int> WordLibrary::completions(QStringView typed) const
{
    const QByteArray prefix = values_.encoding().encode(typed);
    // The encoder replaces what the file's code page cannot hold; such text begins no headword.
    const bool ascii = std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii && values_.encoding().decode(prefix) != typed)
        return {};
    return prefixes_.complete(values_, prefix);
}

bool WordLibrary::parse(QByteArrayView file, WordLibrary &out, QString &problem)
{
    PopulatedBuffer copy = PopulatedBuffer::copyOf(file);
    if (copy.usable() < file.size())
        return LibraryParse::outOfMemory(problem);
    return parse(std::move(copy), file.size(), out, problem);
}

bool WordLibrary::parse(PopulatedBuffer file, qsizetype size, WordLibrary &out, QString &problem)
{
    LibraryParse in(std::move(file), size);
    if (!in.fits(problem))
        return false;

    QByteArrayView value;
    if (!in.reader.next(value)) {
        problem = QStringLiteral("文件是空的，读不到单词数。");
        return false;
    }
    qint16 count = 0;
    if (!SequentialReader::toCount(value, count) || count < 0 || count > maxWordCount) {
        problem = QStringLiteral("单词数“%1”不是 0 到 %2 之间的整数。").arg(in.shown(value)).arg(maxWordCount);
        return false;
    }

    in.values.reserve(2 * qsizetype(count));
    HeadwordIndex index;
    if (!index.prepare(count))
        return LibraryParse::outOfMemory(problem);
    QByteArrayView meaning;
    for (int i = 1; i <= count; ++i) {
        const int got = in.reader.nextPair(value, meaning);
        if (got < 2) {
            problem = QStringLiteral("文件在第 %1 个单词的%2处提前结束（单词数为 %3）。")
                          .arg(i)
                          .arg(got == 0 ? QStringLiteral("词条") : QStringLiteral("释义"))
                          .arg(count);
            return false;
        }
        if (!in.keep(value, problem) || !in.keep(meaning, problem))
            return false;
        index.add(in.values, value, i);
    }
    in.values.finish();

    out.values_ = std::move(in.values);
    out.index_ = std::move(index);
    out.wordCount_ = count;
    out.prefixes_.build(out.values_, count, out.values_.encoding().kind() == LibraryEncoding::Gbk);
    return true;
}
