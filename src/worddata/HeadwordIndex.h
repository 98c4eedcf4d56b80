#pragma once

#include "worddata/PopulatedBuffer.h"

#include <QByteArrayView>

class ValueTable;

// Exact byte look-up of headwords, built once per load: open addressing over word
// indices, so a look-up costs one hash and usually one comparison whatever the size.
class HeadwordIndex
{
public:
    // Room for wordCount (at most 65535) headwords, none added yet; false when no memory
    // is left for it.
    bool prepare(int wordCount);
    // Headword i (1-based) has the bytes key; they are added in order while values is
    // filled, headword j being value 2j - 2 of it. A repeated headword keeps its first index.
    void add(const ValueTable &values, QByteArrayView key, int i);
    // 0 when no headword has exactly these bytes.
    int find(const ValueTable &values, QByteArrayView key) const;

    qsizetype heldBytes() const { return slots_.heldBytes(); }

private:
    quint32 *table() { return reinterpret_cast<quint32 *>(slots_.data()); }
    const quint32 *table() const { return reinterpret_cast<const quint32 *>(slots_.data()); }

    // A slot holds a word index (low 16 bits, 0 for empty) and 16 more bits of its
    // headword's hash, so that a probe rarely needs to look at the headword itself.
    // Zeroed memory is an empty table already: no pass to clear it.
    PopulatedBuffer slots_;
    size_t mask_ = 0;
};
