#include "wordlist/WordTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the relations are used in place as little-endian");

namespace {

constexpr char kMagic[8] = {'D', 'W', 'T', 'A', 'B', 'L', 'E', '2'};
constexpr qint64 kHeaderSize = 28;

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
    // The pronunciation follows the key in the text.
    quint8 phoneticLength;
    quint8 unused[3];
};

struct WordTables::Form
{
    quint32 key;
    quint32 entry;
    quint8 keyLength;
    quint8 phoneticLength;
    quint8 unused[2];
};

namespace {

// The first of count sorted keys not before key, by binary search.
template <typename KeyAt> quint32 lowerBound(quint32 count, QByteArrayView key, KeyAt keyAt)
{
    quint32 low = 0, high = count;
    while (low < high) {
        const quint32 mid = low + (high - low) / 2;
        if (keyAt(mid).compare(key) < 0)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

} // namespace

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
    static_assert(sizeof(Entry) == 24 && sizeof(Form) == 12, "the layout of tools/lib/wordtables.mjs");
    entryCount_ = formCount_ = 0;
    const auto bad = [&](const char *what) {
        problem = QStringLiteral("词典数据已损坏（%1）。").arg(QLatin1String(what));
        return false;
    };
    if (size < kHeaderSize || std::memcmp(data, kMagic, sizeof kMagic) != 0)
        return bad("not a word table");
    const quint64 count = u32At(data + 8), relationCount = u32At(data + 12), formCount = u32At(data + 16),
                  textSize = u32At(data + 20);
    const quint64 expected =
        kHeaderSize + count * sizeof(Entry) + formCount * sizeof(Form) + relationCount * 4 + textSize;
    if (expected != quint64(size))
        return bad("size");
    entries_ = data + kHeaderSize;
    forms_ = entries_ + count * sizeof(Entry);
    relations_ = reinterpret_cast<const quint32 *>(forms_ + formCount * sizeof(Form));
    text_ = reinterpret_cast<const char *>(relations_ + relationCount);
    for (quint32 i = 0; i < count; ++i) {
        const Entry e = entry(i);
        if (quint64(e.key) + e.keyLength + e.phoneticLength > textSize || quint64(e.display) + e.keyLength > textSize ||
            quint64(e.meaning) + e.meaningLength > textSize || e.keyLength == 0)
            return bad("text offset");
        if (quint64(e.firstRelation) + e.relationCount > relationCount)
            return bad("relation offset");
    }
    for (quint32 i = 0; i < formCount; ++i) {
        const Form f = form(i);
        if (quint64(f.key) + f.keyLength + f.phoneticLength > textSize || f.keyLength == 0)
            return bad("form text offset");
        if (f.entry >= count)
            return bad("form entry");
    }
    for (quint64 r = 0; r < relationCount; ++r) {
        if (relations_[r] >= count)
            return bad("relation");
    }
    entryCount_ = quint32(count);
    formCount_ = quint32(formCount);
    return true;
}

WordTables::Entry WordTables::entry(quint32 i) const
{
    Entry e;
    std::memcpy(&e, entries_ + qsizetype(i) * qsizetype(sizeof(Entry)), sizeof e);
    return e;
}

WordTables::Form WordTables::form(quint32 i) const
{
    Form f;
    std::memcpy(&f, forms_ + qsizetype(i) * qsizetype(sizeof(Form)), sizeof f);
    return f;
}

QByteArrayView WordTables::text(quint32 offset, quint32 length) const
{
    return QByteArrayView(text_ + offset, length);
}

quint32 WordTables::find(QByteArrayView key) const
{
    const auto keyAt = [this](quint32 i) {
        const Entry e = entry(i);
        return text(e.key, e.keyLength);
    };
    const quint32 at = lowerBound(entryCount_, key, keyAt);
    return at < entryCount_ && keyAt(at) == key ? at : none;
}

quint32 WordTables::findFormIndex(QByteArrayView key) const
{
    const auto keyAt = [this](quint32 i) {
        const Form f = form(i);
        return text(f.key, f.keyLength);
    };
    const quint32 at = lowerBound(formCount_, key, keyAt);
    return at < formCount_ && keyAt(at) == key ? at : none;
}

quint32 WordTables::findForm(QByteArrayView key) const
{
    const quint32 at = findFormIndex(key);
    return at == none ? none : form(at).entry;
}

QString WordTables::phonetic(const QString &word) const
{
    QByteArray key = keyOf(word.toUtf8());
    // As a list's word is found: as written, with spaces for hyphens, without a leading "to".
    for (int variant = 0; variant < 3; ++variant) {
        if (variant == 1)
            key.replace('-', ' ');
        else if (variant == 2 && !key.startsWith("to "))
            break;
        else if (variant == 2)
            key.remove(0, 3);
        if (const quint32 e = find(key); e != none) {
            const Entry found = entry(e);
            return QString::fromUtf8(text(found.key + found.keyLength, found.phoneticLength));
        }
        if (const quint32 f = findFormIndex(key); f != none) {
            const Form found = form(f);
            return QString::fromUtf8(text(found.key + found.keyLength, found.phoneticLength));
        }
    }
    return {};
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
