#include "worddata/LibraryEncoding.h"

#include "platform/text/AnsiText.h"

#include <algorithm>
#include <cstring>

namespace {

bool isAscii(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    // Eight bytes at a time: library files are mostly ASCII punctuation and headwords.
    for (; i + 8 <= n; i += 8) {
        quint64 block;
        std::memcpy(&block, p + i, 8);
        if (block & 0x8080808080808080ull)
            return false;
    }
    for (; i < n; ++i) {
        if (p[i] & 0x80)
            return false;
    }
    return true;
}

} // namespace

bool LibraryEncoding::isValidUtf8(QByteArrayView bytes)
{
    qsizetype twoByte = 0, longer = 0;
    return scanUtf8(bytes, twoByte, longer);
}

bool LibraryEncoding::scanUtf8(QByteArrayView bytes, qsizetype &twoByte, qsizetype &longer)
{
    twoByte = longer = 0;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra;
        quint32 min;
        quint32 cp;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            min = 0x80;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            min = 0x800;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            min = 0x10000;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (n - i <= extra)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char t = p[i + k];
            if ((t & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        ++(extra == 1 ? twoByte : longer);
        i += extra + 1;
    }
    return true;
}

LibraryEncoding LibraryEncoding::detect(QByteArrayView bytes, qsizetype &bomLength)
{
    bomLength = 0;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bomLength = 3;
        return LibraryEncoding(Utf8);
    }
    if (isAscii(bytes))
        return LibraryEncoding(Gbk);
    // Chinese in UTF-8 takes three bytes a character. A short GBK text can pass for UTF-8
    // too (头 is CD B7, a valid two-byte sequence), but then as Latin, Greek or Cyrillic.
    qsizetype twoByte = 0, longer = 0;
    const bool utf8 = scanUtf8(bytes, twoByte, longer) && longer >= twoByte;
    return LibraryEncoding(utf8 ? Utf8 : Gbk);
}

QString LibraryEncoding::decode(QByteArrayView bytes) const
{
    if (kind_ == Utf8)
        return QString::fromUtf8(bytes);
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    return AnsiText::decode(bytes);
}

QByteArray LibraryEncoding::encode(QStringView text) const
{
    // Typed look-ups are nearly always plain English.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    if (kind_ == Utf8)
        return text.toUtf8();
    return AnsiText::encode(text);
}
