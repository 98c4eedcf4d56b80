#pragma once

#include "worddata/LibraryEncoding.h"
#include "worddata/PopulatedBuffer.h"

#include <QByteArrayView>
#include <QString>

// The values of one library file: the file's bytes as read, and where each value starts.
// Where it ends follows from the value syntax (SequentialReader::valueAt), so a value
// costs one 32-bit offset and loading copies nothing.
class ValueTable
{
public:
    ValueTable() = default;
    // file holds the fileSize bytes of the file.
    ValueTable(PopulatedBuffer file, qsizetype fileSize, LibraryEncoding encoding);

    // Files beyond this cannot be addressed by 32-bit offsets.
    static constexpr qsizetype maxFileSize = 0x7FFFFFFF;

    QByteArrayView file() const { return {file_.data(), fileSize_}; }

    // value is a view into file() as SequentialReader::next returned it. False when no
    // memory is left for its offset.
    [[nodiscard]] bool append(QByteArrayView value)
    {
        if (count_ == room_ && !grow())
            return false;
        offsets()[count_++] = quint32(value.data() - file_.data());
        return true;
    }
    // Room for the first valueCount values, when known in advance.
    void reserve(qsizetype valueCount);
    // Where the offsets of the next count values go, or null when no memory is left; the
    // values are in the table once added() says how many were written.
    quint32 *room(qsizetype count)
    {
        while (room_ - count_ < count) {
            if (!grow())
                return nullptr;
        }
        return offsets() + count_;
    }
    void added(qsizetype count) { count_ += count; }
    // Gives back the room that no value took.
    void finish();

    qsizetype size() const { return count_; }
    QByteArrayView bytes(qsizetype k) const;
    QString text(qsizetype k) const { return encoding_.decode(bytes(k)); }
    const LibraryEncoding &encoding() const { return encoding_; }

    // Memory held, for comparing with the file sizes.
    qsizetype heldBytes() const { return file_.heldBytes() + offsets_.heldBytes(); }

private:
    quint32 *offsets() { return reinterpret_cast<quint32 *>(offsets_.data()); }
    const quint32 *offsets() const { return reinterpret_cast<const quint32 *>(offsets_.data()); }
    bool grow();

    PopulatedBuffer file_;
    qsizetype fileSize_ = 0;
    // Every value but the last ends in a separator byte, so a file of n bytes holds at most
    // n + 1 values: their offsets have room reserved up front and never move.
    PopulatedBuffer offsets_;
    qsizetype count_ = 0;
    qsizetype room_ = 0;
    LibraryEncoding encoding_;
};
