#pragma once

#include "worddata/LibraryEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

// The values of one library file: the file's bytes as read, and where each value starts.
// Where it ends follows from the value syntax (SequentialReader::valueAt), so a value
// costs one 32-bit offset and loading copies nothing.
class ValueTable
{
public:
    ValueTable() = default;
    ValueTable(QByteArray file, LibraryEncoding encoding);

    // Files beyond this cannot be addressed by 32-bit offsets.
    static constexpr qsizetype maxFileSize = 0x7FFFFFFF;

    QByteArrayView file() const { return bytes_; }

    // value is a view into file() as SequentialReader::next returned it.
    void append(QByteArrayView value)
    {
        if (blocks_.empty() || blocks_.back().size() == blockSize)
            addBlock();
        blocks_.back().push_back(quint32(value.data() - bytes_.constData()));
        ++count_;
    }
    // Room for the first valueCount values (at most one block), when known in advance.
    void reserve(qsizetype valueCount);
    void finish();

    qsizetype size() const { return count_; }
    QByteArrayView bytes(qsizetype k) const;
    QString text(qsizetype k) const { return encoding_.decode(bytes(k)); }
    const LibraryEncoding &encoding() const { return encoding_; }

    // Memory held, for comparing with the file sizes.
    qsizetype heldBytes() const;

private:
    // Offsets live in fixed blocks so that growing never copies them: a full-size
    // library holds about a million and a half.
    static constexpr qsizetype blockBits = 16;
    static constexpr size_t blockSize = size_t(1) << blockBits;

    void addBlock();

    QByteArray bytes_;
    std::vector<std::vector<quint32>> blocks_;
    qsizetype count_ = 0;
    LibraryEncoding encoding_;
};
