#include "worddata/ValueTable.h"

#include "worddata/SequentialReader.h"

ValueTable::ValueTable(QByteArray file, LibraryEncoding encoding)
    : bytes_(std::move(file))
    , encoding_(encoding)
{}

void ValueTable::addBlock()
{
    blocks_.emplace_back();
    // The first block grows as needed so that a small file stays small.
    if (blocks_.size() > 1)
        blocks_.back().reserve(blockSize);
}

void ValueTable::reserve(qsizetype valueCount)
{
    if (!blocks_.empty())
        return;
    blocks_.emplace_back();
    blocks_.back().reserve(size_t(qBound<qsizetype>(0, valueCount, qsizetype(blockSize))));
}

void ValueTable::finish()
{
    if (!blocks_.empty())
        blocks_.front().shrink_to_fit();
}

QByteArrayView ValueTable::bytes(qsizetype k) const
{
    if (k < 0 || k >= count_)
        return {};
    const quint32 start = blocks_[size_t(k >> blockBits)][size_t(k) & (blockSize - 1)];
    return SequentialReader::valueAt(bytes_, start);
}

qsizetype ValueTable::heldBytes() const
{
    qsizetype held = bytes_.capacity() + qsizetype(blocks_.capacity() * sizeof(blocks_[0]));
    for (const auto &block : blocks_)
        held += qsizetype(block.capacity() * sizeof(quint32));
    return held;
}
