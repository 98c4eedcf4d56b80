#include "worddata/ValueTable.h"

#include "worddata/SequentialReader.h"

namespace {

// Offsets are made usable this much at a time: one huge page.
constexpr qsizetype growthStep = qsizetype(2) << 20;

} // namespace

ValueTable::ValueTable(PopulatedBuffer file, qsizetype fileSize, LibraryEncoding encoding)
    : file_(std::move(file))
    , fileSize_(fileSize)
    , offsets_((fileSize + 1) * qsizetype(sizeof(quint32)))
    , encoding_(encoding)
{
    room_ = offsets_.usable() / qsizetype(sizeof(quint32));
}

bool ValueTable::grow()
{
    const qsizetype wanted = qMin(offsets_.usable() + growthStep, offsets_.capacity());
    if (wanted <= offsets_.usable() || !offsets_.ensure(wanted))
        return false;
    room_ = offsets_.usable() / qsizetype(sizeof(quint32));
    return true;
}

void ValueTable::reserve(qsizetype valueCount)
{
    if (offsets_.ensure(valueCount * qsizetype(sizeof(quint32))))
        room_ = offsets_.usable() / qsizetype(sizeof(quint32));
}

void ValueTable::finish()
{
    offsets_.shrink(count_ * qsizetype(sizeof(quint32)));
    room_ = qMin(room_, offsets_.usable() / qsizetype(sizeof(quint32)));
}

QByteArrayView ValueTable::bytes(qsizetype k) const
{
    if (k < 0 || k >= count_)
        return {};
    return SequentialReader::valueAt(file(), offsets()[k]);
}
