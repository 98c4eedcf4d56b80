#include "worddata/SequentialReader.h"

#include <cstring>

namespace {
bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}
} // namespace

void SequentialReader::consumeSeparator()
{
    const qsizetype n = data_.size();
    afterComma_ = false;
    if (pos_ >= n)
        return;
    const char c = data_[pos_];
    if (c == ',') {
        ++pos_;
        afterComma_ = true;
    } else if (c == '\r') {
        ++pos_;
        if (pos_ < n && data_[pos_] == '\n')
            ++pos_;
    } else if (c == '\n') {
        ++pos_;
    }
}

bool SequentialReader::nextInGeneral(QByteArrayView &value)
{
    const qsizetype n = data_.size();
    const char *d = data_.data();
    for (;;) {
        while (pos_ < n && d[pos_] == ' ')
            ++pos_;
        if (pos_ >= n)
            return false;
        // Blank lines between values carry no value; after a comma a line end closes an empty one.
        if (isLineEnd(d[pos_]) && !afterComma_) {
            consumeSeparator();
            continue;
        }
        break;
    }

    if (d[pos_] == '"') {
        const qsizetype start = pos_ + 1;
        const qsizetype end = findQuote(d, start, n);
        value = data_.sliced(start, end - start);
        pos_ = end < n ? end + 1 : n;
        // Anything between the closing quote and the separator is not part of the value.
        while (pos_ < n && d[pos_] != ',' && !isLineEnd(d[pos_]))
            ++pos_;
    } else {
        const qsizetype start = pos_;
        while (pos_ < n && d[pos_] != ',' && !isLineEnd(d[pos_]))
            ++pos_;
        value = data_.sliced(start, pos_ - start);
    }
    consumeSeparator();
    return true;
}

int SequentialReader::nextRecords(int count, quint32 *offsets, const char *base)
{
    const char *d = data_.data();
    const qsizetype n = data_.size();
    qsizetype pos = pos_;
    int read = 0;
    Record r;
    for (; read < count && recordAt(d + pos, n - pos, r); ++read) {
        if (offsets) {
            const quint32 start = quint32(d + pos - base);
            offsets[2 * read] = start + 1;
            offsets[2 * read + 1] = start + quint32(r.close1) + 3;
        }
        afterComma_ = r.afterComma;
        pos += r.length;
    }
    pos_ = pos;
    return read;
}

QByteArrayView SequentialReader::valueAt(QByteArrayView data, qsizetype offset)
{
    const qsizetype n = data.size();
    if (offset < 0 || offset > n)
        return {};
    const char *d = data.data();
    qsizetype end = offset;
    if (offset > 0 && d[offset - 1] == '"') {
        end = findQuote(d, offset, n);
    } else {
        while (end < n && d[end] != ',' && !isLineEnd(d[end]))
            ++end;
    }
    return data.sliced(offset, end - offset);
}

bool SequentialReader::toCount(QByteArrayView value, qint16 &out)
{
    value = value.trimmed();
    if (value.isEmpty())
        return false;
    qsizetype i = 0;
    bool negative = false;
    if (value[0] == '-' || value[0] == '+') {
        negative = value[0] == '-';
        ++i;
    }
    if (i >= value.size())
        return false;
    qint32 magnitude = 0;
    for (; i < value.size(); ++i) {
        const char c = value[i];
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 32768)
            return false;
    }
    const qint32 result = negative ? -magnitude : magnitude;
    if (result > 32767)
        return false;
    out = qint16(result);
    return true;
}

bool SequentialReader::toBoolean(QByteArrayView value, bool &out)
{
    value = value.trimmed();
    if (value.compare("#TRUE#", Qt::CaseInsensitive) == 0) {
        out = true;
        return true;
    }
    if (value.compare("#FALSE#", Qt::CaseInsensitive) == 0) {
        out = false;
        return true;
    }
    return false;
}
