#pragma once

#include <QByteArrayView>
#include <vector>

class ValueTable;

// Exact byte look-up of headwords, built once per load: open addressing over word
// indices, so a look-up costs one hash and usually one comparison whatever the size.
class HeadwordIndex
{
public:
    // Headword i (1-based) is value 2i - 2 of values; a repeated headword keeps its
    // first index.
    void build(const ValueTable &values, int wordCount);
    // 0 when no headword has exactly these bytes.
    int find(const ValueTable &values, QByteArrayView key) const;

    qsizetype heldBytes() const { return qsizetype(slots_.capacity() * sizeof(qint32)); }

private:
    std::vector<qint32> slots_;
};
