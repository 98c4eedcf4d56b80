#include "wordlist/WordTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the relations are used in place as little-endian");

namespace {

constexpr char kMagic[8] = {'D', 'W', 'T', 'A', 'B', 'L', 'E', '1'};
constexpr qint64 kHeaderSize = 24;

quint32 u32At(const uchar *p)
{
    return qFromLittleEndian<quint32>(p);
}

} // namespace

struct WordTables::Entry
{
    quint32 key;
    quint32 display;
    quint32 meaning;
    quint32 firstRelation;
    quint8 keyLength;
    quint8 meaningLength;
    quint8 relationCount;
    quint8 flags;
};

QString WordTables::defaultPath()
{
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString beside = bin.filePath(QStringLiteral("wordtables/words.dwt"));
#ifdef DORRIT_INSTALLED_FILES
    const QString installed =
        QDir::cleanPath(bin.filePath(QStringLiteral(DORRIT_INSTALLED_FILES "/wordtables/words.dwt")));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return installed;
#endif
    return beside;
}

bool WordTables::open(const QString &path, QString &problem)
{
    file_.close();
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("找不到词典数据“%1”：%2").arg(QDir::toNativeSeparators(path), file_.errorString());
        return false;
    }
    const qint64 size = file_.size();
    if (const uchar *mapped = size > 0 ? file_.map(0, size) : nullptr)
        return attach(mapped, size, problem);
    // A file system that cannot map: read it whole instead.
    return load(file_.readAll(), problem);
}

bool WordTables::load(QByteArray bytes, QString &problem)
{
    bytes_ = std::move(bytes);
    return attach(reinterpret_cast<const uchar *>(bytes_.constData()), bytes_.size(), problem);
}

bool WordTables::attach(const uchar *data, qint64 size, QString &problem)
{
    static_assert(sizeof(Entry) == 20, "the layout of tools/lib/wordtables.mjs");
    entryCount_ = 0;
    const auto bad = [&](const char *what) {
        problem = QStringLiteral("词典数据已损坏（%1）。").arg(QLatin1String(what));
        return false;
    };
    if (size < kHeaderSize || std::memcmp(data, kMagic, sizeof kMagic) != 0)
        return bad("not a word table");
    const quint64 count = u32At(data + 8), relationCount = u32At(data + 12), textSize = u32At(data + 16);
    const quint64 expected = kHeaderSize + count * sizeof(Entry) + relationCount * 4 + textSize;
    if (expected != quint64(size))
        return bad("size");
    entries_ = data + kHeaderSize;
    relations_ = reinterpret_cast<const quint32 *>(entries_ + count * sizeof(Entry));
    text_ = reinterpret_cast<const char *>(relations_ + relationCount);
    for (quint32 i = 0; i < count; ++i) {
        const Entry e = entry(i);
        if (quint64(e.key) + e.keyLength > textSize || quint64(e.display) + e.keyLength > textSize ||
            quint64(e.meaning) + e.meaningLength > textSize || e.keyLength == 0)
            return bad("text offset");
        if (quint64(e.firstRelation) + e.relationCount > relationCount)
            return bad("relation offset");
    }
    for (quint64 r = 0; r < relationCount; ++r) {
        if (relations_[r] >= count)
            return bad("relation");
    }
    entryCount_ = quint32(count);
    return true;
}

WordTables::Entry WordTables::entry(quint32 i) const
{
    Entry e;
    std::memcpy(&e, entries_ + qsizetype(i) * qsizetype(sizeof(Entry)), sizeof e);
    return e;
}

QByteArrayView WordTables::text(quint32 offset, quint32 length) const
{
    return QByteArrayView(text_ + offset, length);
}

quint32 WordTables::find(QByteArrayView key) const
{
    quint32 low = 0, high = entryCount_;
    while (low < high) {
        const quint32 mid = low + (high - low) / 2;
        const Entry e = entry(mid);
        const int order = QByteArrayView(text_ + e.key, e.keyLength).compare(key);
        if (order == 0)
            return mid;
        if (order < 0)
            low = mid + 1;
        else
            high = mid;
    }
    return none;
}

QByteArrayView WordTables::spelling(quint32 i) const
{
    const Entry e = entry(i);
    return text(e.display, e.keyLength);
}

QByteArrayView WordTables::meaning(quint32 i) const
{
    const Entry e = entry(i);
    return text(e.meaning, e.meaningLength);
}

bool WordTables::isCommon(quint32 i) const
{
    return entry(i).flags & 1;
}

std::span<const quint32> WordTables::related(quint32 i) const
{
    const Entry e = entry(i);
    return {relations_ + e.firstRelation, e.relationCount};
}
