#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Reads the comma/line-end separated values shared by the settings file and both
// library files, straight from the raw bytes. GBK trail bytes never equal '"', ',',
// CR or LF, so values can be split before (and without) decoding them.
class SequentialReader
{
public:
    explicit SequentialReader(QByteArrayView data)
        : data_(data)
    {}

    // The next value's bytes: quotes removed, leading spaces of an unquoted value
    // dropped. False when no value is left.
    bool next(QByteArrayView &value);

    qsizetype offset() const { return pos_; }

    // The value that next() returned starting at offset of data, found again from its
    // first byte alone: a value right after a double quote was quoted and runs to the
    // next one, any other runs to the next separator. Lets a table keep one offset per value.
    static QByteArrayView valueAt(QByteArrayView data, qsizetype offset);

    // A decimal count that fits a 16-bit signed integer; surrounding spaces allowed.
    static bool toCount(QByteArrayView value, qint16 &out);
    // #TRUE# or #FALSE#.
    static bool toBoolean(QByteArrayView value, bool &out);

private:
    void consumeSeparator();

    QByteArrayView data_;
    qsizetype pos_ = 0;
    bool afterComma_ = false;
};
