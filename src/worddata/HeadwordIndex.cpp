#include "worddata/HeadwordIndex.h"

#include "worddata/ValueTable.h"

#include <QHashFunctions>

namespace {

QByteArrayView headword(const ValueTable &values, int i)
{
    return values.bytes(2 * qsizetype(i) - 2);
}

} // namespace

void HeadwordIndex::build(const ValueTable &values, int wordCount)
{
    slots_.clear();
    if (wordCount <= 0) {
        slots_.shrink_to_fit();
        return;
    }
    // At most half full keeps probe chains short.
    size_t capacity = 16;
    while (capacity < size_t(wordCount) * 2)
        capacity *= 2;
    slots_.assign(capacity, 0);
    const size_t mask = capacity - 1;
    for (int i = 1; i <= wordCount; ++i) {
        const QByteArrayView key = headword(values, i);
        size_t slot = qHash(key) & mask;
        for (;;) {
            const qint32 held = slots_[slot];
            if (held == 0) {
                slots_[slot] = i;
                break;
            }
            if (headword(values, held) == key)
                break;
            slot = (slot + 1) & mask;
        }
    }
}

int HeadwordIndex::find(const ValueTable &values, QByteArrayView key) const
{
    if (slots_.empty())
        return 0;
    const size_t mask = slots_.size() - 1;
    size_t slot = qHash(key) & mask;
    for (;;) {
        const qint32 held = slots_[slot];
        if (held == 0)
            return 0;
        if (headword(values, held) == key)
            return held;
        slot = (slot + 1) & mask;
    }
}
