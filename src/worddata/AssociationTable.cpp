#include "worddata/AssociationTable.h"

#include "worddata/LibraryParse.h"
#include "worddata/SequentialReader.h"

qint16 AssociationTable::assocCounts(int i) const
{
    if (i < 1 || size_t(i) > counts_.size())
        return 0;
    return counts_[size_t(i) - 1];
}

namespace {

constexpr quint32 afterCommaBit = 0x80000000u;

// The reader over a file's values, as the parse made it.
SequentialReader readerOf(QByteArrayView file)
{
    return SequentialReader(file.sliced(file.startsWith("\xEF\xBB\xBF") ? 3 : 0));
}

// Passes count pairs that the parse has already read.
void passPairs(SequentialReader &reader, int count)
{
    QByteArrayView first;
    QByteArrayView second;
    for (int k = 0; k < count; ++k) {
        k += reader.nextRecords(count - k, nullptr, nullptr);
        if (k < count && reader.nextPair(first, second) < 2)
            return;
    }
}

} // namespace

QString AssociationTable::text(int i, int k, int part) const
{
    const int count = assocCounts(i);
    if (k < 1 || k > count)
        return {};
    if (cachedGroup_ != i) {
        const QByteArrayView file = values_.file();
        SequentialReader reader = readerOf(file);
        const int startIndex = (i - 1) / groupsPerStart;
        const quint32 start = groupStarts_[size_t(startIndex)];
        reader.moveTo({qsizetype(start & ~afterCommaBit), (start & afterCommaBit) != 0});
        QByteArrayView first;
        QByteArrayView second;
        for (int g = startIndex * groupsPerStart + 1; g < i; ++g) {
            reader.next(first);
            passPairs(reader, assocCounts(g));
        }
        reader.next(first);
        cachedValues_.clear();
        for (int n = 0; n < count && reader.nextPair(first, second) == 2; ++n) {
            cachedValues_.push_back(quint32(first.data() - file.data()));
            cachedValues_.push_back(quint32(second.data() - file.data()));
        }
        cachedGroup_ = i;
    }
    const size_t index = 2 * size_t(k - 1) + size_t(part);
    if (index >= cachedValues_.size())
        return {};
    return values_.encoding().decode(SequentialReader::valueAt(values_.file(), cachedValues_[index]));
}

QString AssociationTable::assocWords(int i, int k) const
{
    return text(i, k, 0);
}

QString AssociationTable::assocMeanings(int i, int k) const
{
    return text(i, k, 1);
}

qsizetype AssociationTable::heldBytes() const
{
    return values_.heldBytes() + qsizetype(groupStarts_.capacity() * sizeof(quint32)) +
           qsizetype(counts_.capacity() * sizeof(qint16)) + qsizetype(cachedValues_.capacity() * sizeof(quint32));
}

bool AssociationTable::parse(QByteArrayView file, qint16 wordCount, AssociationTable &out, QString &problem)
{
    PopulatedBuffer copy = PopulatedBuffer::copyOf(file);
    if (copy.usable() < file.size())
        return LibraryParse::outOfMemory(problem);
    return parse(std::move(copy), file.size(), wordCount, out, problem);
}

bool AssociationTable::parse(PopulatedBuffer file, qsizetype size, qint16 wordCount, AssociationTable &out,
                             QString &problem)
{
    LibraryParse in(std::move(file), size);
    if (!in.fits(problem))
        return false;

    QByteArrayView value;
    QByteArrayView meaning;
    if (!in.reader.next(value)) {
        problem = QStringLiteral("文件是空的，读不到联想词数上限。");
        return false;
    }
    qint16 maxAssoc = 0;
    if (!SequentialReader::toCount(value, maxAssoc) || maxAssoc < 0) {
        problem = QStringLiteral("联想词数上限“%1”不是 0 到 32767 之间的整数。").arg(in.shown(value));
        return false;
    }

    std::vector<quint32> groupStarts;
    std::vector<qint16> counts;
    groupStarts.reserve(size_t(qMax<qint16>(wordCount, 0) / groupsPerStart + 1));
    counts.reserve(size_t(qMax<qint16>(wordCount, 0)));
    for (int i = 1; i <= wordCount; ++i) {
        if ((i - 1) % groupsPerStart == 0) {
            const SequentialReader::Position start = in.reader.position();
            groupStarts.push_back(quint32(start.offset) | (start.afterComma ? afterCommaBit : 0));
        }
        if (!in.reader.next(value)) {
            problem = QStringLiteral("文件在第 %1 组联想词（第 %1 个单词的）之前提前结束，词库有 %2 个单词。")
                          .arg(i)
                          .arg(wordCount);
            return false;
        }
        qint16 count = 0;
        if (!SequentialReader::toCount(value, count) || count < 0 || count > maxAssoc) {
            problem = QStringLiteral("第 %1 组的联想词数“%2”不是 0 到 %3（联想词数上限）之间的整数。")
                          .arg(i)
                          .arg(in.shown(value))
                          .arg(maxAssoc);
            return false;
        }
        for (int k = 1; k <= count; ++k) {
            // Records in the companion's layout are passed over many at a time; any other
            // is read the general way.
            k += in.reader.nextRecords(count - k + 1, nullptr, nullptr);
            if (k > count)
                break;
            const int got = in.reader.nextPair(value, meaning);
            if (got < 2) {
                problem = QStringLiteral("文件在第 %1 组的第 %2 个联想词的%3处提前结束。")
                              .arg(i)
                              .arg(k)
                              .arg(got == 0 ? QStringLiteral("词条") : QStringLiteral("释义"));
                return false;
            }
        }
        counts.push_back(count);
    }
    in.values.finish();

    out.values_ = std::move(in.values);
    out.groupStarts_ = std::move(groupStarts);
    out.counts_ = std::move(counts);
    out.maxAssoc_ = maxAssoc;
    out.cachedGroup_ = 0;
    out.cachedValues_.clear();
    return true;
}
