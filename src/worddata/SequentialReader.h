#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Reads the comma/line-end separated values shared by the settings file and both
// library files, straight from the raw bytes. GBK trail bytes never equal '"', ',',
// CR or LF, so values can be split before (and without) decoding them.
class SequentialReader
{
public:
    explicit SequentialReader(QByteArrayView data) : data_(data) {}

    // The next value's bytes: quotes removed, leading spaces of an unquoted value
    // dropped. False when no value is left.
    bool next(QByteArrayView &value);

    qsizetype offset() const { return pos_; }

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
