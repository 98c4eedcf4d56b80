#include "worddata/HeadwordIndex.h"

#include "worddata/ValueTable.h"

#include <QHashFunctions>

namespace {

QByteArrayView headword(const ValueTable &values, int i)
{
    return values.bytes(2 * qsizetype(i) - 2);
}

} // namespace

bool HeadwordIndex::prepare(int wordCount)
{
    Q_ASSERT(wordCount <= 0xFFFF);
    slots_ = PopulatedBuffer();
    mask_ = 0;
    if (wordCount <= 0)
        return true;
    // At most half full keeps probe chains short.
    size_t capacity = 16;
    while (capacity < size_t(wordCount) * 2)
        capacity *= 2;
    const qsizetype bytes = qsizetype(capacity * sizeof(quint32));
    slots_ = PopulatedBuffer(bytes);
    if (!slots_.ensure(bytes) || slots_.usable() < bytes)
        return false;
    mask_ = capacity - 1;
    return true;
}

void HeadwordIndex::add(const ValueTable &values, QByteArrayView key, int i)
{
    if (mask_ == 0)
        return;
    const size_t hash = qHash(key);
    const quint32 tag = quint32(hash >> 16) << 16;
    quint32 *const cells = table();
    for (size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
        const quint32 held = cells[slot];
        if (held == 0) {
            cells[slot] = tag | quint32(i);
            return;
        }
        if ((held & 0xFFFF0000u) == tag && headword(values, int(held & 0xFFFF)) == key)
            return;
    }
}

int HeadwordIndex::find(const ValueTable &values, QByteArrayView key) const
{
    if (mask_ == 0)
        return 0;
    const size_t hash = qHash(key);
    const quint32 tag = quint32(hash >> 16) << 16;
    const quint32 *const cells = table();
    for (size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
        const quint32 held = cells[slot];
        if (held == 0)
            return 0;
        if ((held & 0xFFFF0000u) == tag && headword(values, int(held & 0xFFFF)) == key)
            return int(held & 0xFFFF);
    }
}
