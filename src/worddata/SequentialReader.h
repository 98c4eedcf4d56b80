#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

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
    bool next(QByteArrayView &value)
    {
        // The companion writes "value" followed by a comma or a line end; that takes the
        // short way, anything else the general one.
        const char *d = data_.data();
        const qsizetype n = data_.size();
        if (pos_ < n && d[pos_] == '"') {
            const qsizetype close = findQuote(d, pos_ + 1, n);
            // The separator's second byte, if it has one, must be there to be looked at.
            if (n - close >= 3) {
                const qsizetype after = separatorLength(d + close + 1);
                if (after > 0) {
                    value = QByteArrayView(d + pos_ + 1, close - pos_ - 1);
                    afterComma_ = d[close + 1] == ',';
                    pos_ = close + 1 + after;
                    return true;
                }
            }
        }
        return nextInGeneral(value);
    }

    // The next two values, as two calls of next() would give them; returns how many
    // there were (0, 1 or 2).
    Q_ALWAYS_INLINE int nextPair(QByteArrayView &first, QByteArrayView &second)
    {
        Record r;
        if (recordAt(data_.data() + pos_, data_.size() - pos_, r)) {
            const char *p = data_.data() + pos_;
            first = QByteArrayView(p + 1, r.close1 - 1);
            second = QByteArrayView(p + r.close1 + 3, r.close2 - r.close1 - 3);
            afterComma_ = r.afterComma;
            pos_ += r.length;
            return 2;
        }
        if (!next(first))
            return 0;
        return next(second) ? 2 : 1;
    }

    // Up to count records in the companion's layout, each read as nextPair would, the
    // offsets of its two values from base stored in offsets unless that is null; stops
    // before the first record laid out any other way. Returns how many were read.
    int nextRecords(int count, quint32 *offsets, const char *base);

    qsizetype offset() const { return pos_; }

    // Where the reader stands; moving back there gives the same values again.
    struct Position
    {
        qsizetype offset;
        bool afterComma;
    };
    Position position() const { return {pos_, afterComma_}; }
    void moveTo(Position position)
    {
        pos_ = position.offset;
        afterComma_ = position.afterComma;
    }

    // The value that next() returned starting at offset of data, found again from its
    // first byte alone: a value right after a double quote was quoted and runs to the
    // next one, any other runs to the next separator. Lets a table keep one offset per value.
    static QByteArrayView valueAt(QByteArrayView data, qsizetype offset);

    // A decimal count that fits a 16-bit signed integer; surrounding spaces allowed.
    static bool toCount(QByteArrayView value, qint16 &out);
    // #TRUE# or #FALSE#.
    static bool toBoolean(QByteArrayView value, bool &out);

    // The first double quote at or after from, or n.
    static qsizetype findQuote(const char *d, qsizetype from, qsizetype n)
    {
        // A whole value usually fits one 64-byte window: one look, no loop to mispredict.
        if (n - from >= 64) {
            const quint64 quotes = quoteMask(d + from);
            if (quotes)
                return from + std::countr_zero(quotes);
            from += 64;
        }
        const void *hit = std::memchr(d + from, '"', size_t(n - from));
        return hit ? static_cast<const char *>(hit) - d : n;
    }

private:
    // "first","second" and a comma or line end at p, with left bytes from p on.
    struct Record
    {
        int close1;
        int close2;
        int length;
        bool afterComma;
    };
    Q_ALWAYS_INLINE static bool recordAt(const char *p, qsizetype left, Record &r)
    {
        // Such a record usually fits 64 bytes: one look at them finds all four quotes.
        if (left < 66 || *p != '"')
            return false;
        quint64 quotes = quoteMask(p);
        quotes &= quotes - 1;
        r.close1 = std::countr_zero(quotes);
        quotes &= quotes - 1;
        const int open2 = std::countr_zero(quotes);
        quotes &= quotes - 1;
        r.close2 = std::countr_zero(quotes);
        if (r.close2 >= 64 || open2 != r.close1 + 2 || p[r.close1 + 1] != ',')
            return false;
        const qsizetype after = separatorLength(p + r.close2 + 1);
        r.afterComma = p[r.close2 + 1] == ',';
        r.length = r.close2 + 1 + int(after);
        return after > 0;
    }

    // The length of the comma or line end that p starts with, else 0; p[1] must be readable.
    static qsizetype separatorLength(const char *p)
    {
        if (*p == ',' || *p == '\n')
            return 1;
        return *p == '\r' && p[1] == '\n' ? 2 : 0;
    }
    // Bit i set when p[i] is a double quote, for i < 64.
    static quint64 quoteMask(const char *p);
    bool nextInGeneral(QByteArrayView &value);
    void consumeSeparator();

    QByteArrayView data_;
    qsizetype pos_ = 0;
    bool afterComma_ = false;
};

inline quint64 SequentialReader::quoteMask(const char *p)
{
    quint64 mask = 0;
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i quote = _mm_set1_epi8('"');
    const auto *v = reinterpret_cast<const __m128i *>(p);
    const quint64 m0 = quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(v), quote)));
    const quint64 m1 = quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(v + 1), quote)));
    const quint64 m2 = quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(v + 2), quote)));
    const quint64 m3 = quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(v + 3), quote)));
    mask = m0 | m1 << 16 | m2 << 32 | m3 << 48;
#else
    for (int i = 0; i < 64; ++i)
        mask |= quint64(p[i] == '"') << i;
#endif
    return mask;
}
