#include "worddata/PackedValues.h"

#include <cstring>

PackedValues::PackedValues(QByteArray buffer, LibraryEncoding encoding)
    : bytes_(std::move(buffer)), encoding_(encoding)
{
    bytes_.detach();
}

void PackedValues::append(QByteArrayView value)
{
    const quint32 start = ends_.empty() ? 0 : ends_.back();
    char *dest = bytes_.data() + start;
    if (dest != value.data() && !value.isEmpty())
        std::memmove(dest, value.data(), size_t(value.size()));
    ends_.push_back(start + quint32(value.size()));
}

void PackedValues::finish()
{
    ends_.shrink_to_fit();
    // realloc gives the unused tail (quotes, separators, counts, unread rest) back in place.
    bytes_.resize(ends_.empty() ? 0 : qsizetype(ends_.back()));
    bytes_.squeeze();
}

QByteArrayView PackedValues::bytes(qsizetype k) const
{
    if (k < 0 || k >= size())
        return {};
    const quint32 start = k == 0 ? 0 : ends_[size_t(k - 1)];
    return QByteArrayView(bytes_.constData() + start, ends_[size_t(k)] - start);
}

qsizetype PackedValues::heldBytes() const
{
    return bytes_.capacity() + qsizetype(ends_.capacity() * sizeof(quint32));
}
