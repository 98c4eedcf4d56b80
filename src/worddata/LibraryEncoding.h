#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Library files come from a Windows program in code page 936, but a copy converted on
// Linux may be UTF-8. Each file is classified once and its values decoded on access.
class LibraryEncoding
{
public:
    enum Kind { Gbk, Utf8 };

    LibraryEncoding() = default;
    explicit LibraryEncoding(Kind kind)
        : kind_(kind)
    {}

    // A UTF-8 byte order mark decides at once (its length goes to bomLength); otherwise a
    // file with non-ASCII bytes that are all valid UTF-8, mostly in sequences of three or
    // more bytes as Chinese is, is UTF-8. Everything else is GBK.
    static LibraryEncoding detect(QByteArrayView bytes, qsizetype &bomLength);
    static bool isValidUtf8(QByteArrayView bytes);

    Kind kind() const { return kind_; }
    QString decode(QByteArrayView bytes) const;
    QByteArray encode(QStringView text) const;

private:
    // Valid UTF-8? Counts the two-byte sequences and the longer ones on the way.
    static bool scanUtf8(QByteArrayView bytes, qsizetype &twoByte, qsizetype &longer);

    Kind kind_ = Gbk;
};
