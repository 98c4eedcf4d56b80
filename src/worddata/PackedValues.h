#pragma once

#include "worddata/LibraryEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

// The values of one library file, packed end to end inside the file's own buffer: while
// the file is parsed each value is moved down over the quotes and separators before it,
// so value k is bytes [ends[k-1], ends[k]) and costs one 32-bit offset.
class PackedValues
{
public:
    PackedValues() = default;
    // Takes over the buffer the values will be packed into; the reader works on
    // buffer() and the writes never overtake it.
    PackedValues(QByteArray buffer, LibraryEncoding encoding);

    // Files beyond this cannot be addressed by 32-bit offsets.
    static constexpr qsizetype maxBufferSize = 0x7FFFFFFF;

    char *buffer() { return bytes_.data(); }
    qsizetype bufferSize() const { return bytes_.size(); }

    // value must lie inside the buffer at or after everything appended so far.
    void append(QByteArrayView value);
    void reserve(qsizetype valueCount) { ends_.reserve(size_t(valueCount)); }
    // Trims the offsets to their real size once parsing is over.
    void finish();

    qsizetype size() const { return qsizetype(ends_.size()); }
    QByteArrayView bytes(qsizetype k) const;
    QString text(qsizetype k) const { return encoding_.decode(bytes(k)); }
    const LibraryEncoding &encoding() const { return encoding_; }

    // Memory held, for comparing with the file sizes.
    qsizetype heldBytes() const;

private:
    QByteArray bytes_;
    std::vector<quint32> ends_;
    LibraryEncoding encoding_;
};
