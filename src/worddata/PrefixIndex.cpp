#include "worddata/PrefixIndex.h"

#include "worddata/ValueTable.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

QByteArrayView headword(const ValueTable &values, int i)
{
    return values.bytes(2 * qsizetype(i) - 2);
}

// ASCII upper case to lower, one byte at a time along a text.
class Folder
{
public:
    explicit Folder(bool gbk)
        : gbk_(gbk)
    {}

    uchar operator()(uchar c)
    {
        if (trail_) {
            trail_ = false;
            return c;
        }
        if (gbk_ && c >= 0x81 && c <= 0xFE) {
            trail_ = true;
            return c;
        }
        return c >= 'A' && c <= 'Z' ? uchar(c + ('a' - 'A')) : c;
    }

private:
    bool gbk_;
    bool trail_ = false;
};

uchar byteAt(QByteArrayView text, qsizetype i)
{
    return uchar(text[i]);
}

// Compares the folded text with folded, which is already folded, over folded's length:
// a text that ends first sorts before.
int compareStart(QByteArrayView text, QByteArrayView folded, bool gbk)
{
    Folder fold(gbk);
    const qsizetype n = std::min(text.size(), folded.size());
    for (qsizetype i = 0; i < n; ++i) {
        const uchar a = fold(byteAt(text, i));
        const uchar b = byteAt(folded, i);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return text.size() < folded.size() ? -1 : 0;
}

int compareFolded(QByteArrayView a, QByteArrayView b, bool gbk)
{
    Folder foldA(gbk), foldB(gbk);
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const uchar x = foldA(byteAt(a, i));
        const uchar y = foldB(byteAt(b, i));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// The best (lowest) word indices offered so far, ascending.
class Lowest
{
public:
    bool full() const { return count_ == PrefixIndex::maxCompletions; }
    int worst() const { return words_[size_t(count_ - 1)]; }
    void offer(int word)
    {
        if (full()) {
            if (word > worst())
                return;
            --count_;
        }
        int i = count_++;
        for (; i > 0 && words_[size_t(i - 1)] > word; --i)
            words_[size_t(i)] = words_[size_t(i - 1)];
        words_[size_t(i)] = word;
    }
    void appendTo(QList<int> &out) const
    {
        for (int i = 0; i < count_ && out.size() < PrefixIndex::maxCompletions; ++i)
            out.append(words_[size_t(i)]);
    }

private:
    std::array<int, PrefixIndex::maxCompletions> words_{};
    int count_ = 0;
};

// Sort key: the first six folded bytes, big-endian, above the word index in the low
// 16 bits; headwords that tie on it are ordered again by all their bytes.
constexpr int keyBytes = 6;
constexpr quint64 indexBits = 0xFFFF;
constexpr quint64 highBits = 0x8080808080808080ull;

struct Start
{
    quint64 key = 0;
    quint8 firstUpper = 0;
};

// Upper-case ASCII letters of eight ASCII bytes, as the top bit of each byte.
quint64 upperLetters(quint64 chunk)
{
    constexpr quint64 ones = 0x0101010101010101ull;
    return (chunk + ones * (0x80 - 'A')) & ~(chunk + ones * (0x80 - 'Z' - 1)) & highBits;
}

// Up to eight bytes of w from k on, zero beyond its end. Reads a whole word when the
// file goes on that far, which all but its last value do.
quint64 chunkAt(QByteArrayView w, qsizetype k, const char *fileEnd)
{
    const qsizetype left = w.size() - k;
    quint64 chunk = 0;
    if (fileEnd - (w.data() + k) >= 8) {
        std::memcpy(&chunk, w.data() + k, 8);
        chunk = qFromLittleEndian(chunk);
        if (left < 8)
            chunk &= (quint64(1) << (8 * left)) - 1;
    } else {
        std::memcpy(&chunk, w.data() + k, size_t(std::min<qsizetype>(8, left)));
        chunk = qFromLittleEndian(chunk);
    }
    return chunk;
}

// The key and the first position that folding changes, eight bytes at a time while
// the text is ASCII, as headwords nearly always are.
Start foldStart(QByteArrayView w, bool gbk, const char *fileEnd, quint8 none)
{
    Start s;
    s.firstUpper = none;
    const qsizetype n = std::min<qsizetype>(w.size(), none);
    qsizetype k = 0;
    for (; k < n; k += 8) {
        const quint64 chunk = chunkAt(w.first(n), k, fileEnd);
        if (chunk & highBits)
            break;
        const quint64 upper = upperLetters(chunk);
        if (k == 0)
            s.key = qToBigEndian(chunk | (upper >> 2)) & ~indexBits;
        if (upper) {
            s.firstUpper = quint8(k + qCountTrailingZeroBits(upper) / 8);
            return s;
        }
    }
    // Non-ASCII from byte k on; what came before it folded to itself.
    Folder fold(gbk);
    for (qsizetype i = k; i < n; ++i) {
        const uchar raw = byteAt(w, i);
        const uchar folded = fold(raw);
        if (i < keyBytes)
            s.key |= quint64(folded) << (8 * (7 - i));
        if (folded != raw && s.firstUpper == none)
            s.firstUpper = quint8(i);
        if (i >= keyBytes && s.firstUpper != none)
            break;
    }
    return s;
}

// Stable least-significant-digit radix sort on the key, twelve bits a pass; the index
// bits below it are in order already. The digits are counted as the keys are made.
class KeySort
{
public:
    static constexpr int bits = 12;
    static constexpr int passes = 8 * keyBytes / bits;
    static constexpr size_t buckets = size_t(1) << bits;

    void count(quint64 key)
    {
        for (int d = 0; d < passes; ++d)
            ++counts_[size_t(d) * buckets + digit(key, d)];
    }

    void sort(std::vector<quint64> &keys)
    {
        std::vector<quint64> spare(keys.size());
        for (int d = 0; d < passes; ++d) {
            quint32 *count = counts_.data() + size_t(d) * buckets;
            // A digit that every key shares orders nothing.
            if (count[digit(keys.front(), d)] == keys.size())
                continue;
            quint32 at = 0;
            for (size_t b = 0; b < buckets; ++b) {
                const quint32 here = count[b];
                count[b] = at;
                at += here;
            }
            for (const quint64 k : keys)
                spare[count[digit(k, d)]++] = k;
            keys.swap(spare);
        }
    }

private:
    static size_t digit(quint64 key, int d) { return size_t(key >> (16 + bits * d)) & (buckets - 1); }

    std::vector<quint32> counts_ = std::vector<quint32>(passes * buckets, 0);
};

} // namespace

void PrefixIndex::build(const ValueTable &values, int wordCount, bool gbk)
{
    Q_ASSERT(wordCount <= int(indexBits));
    gbk_ = gbk;
    sorted_.clear();
    firstUpper_.clear();
    leading_.clear();
    if (wordCount <= 0) {
        sorted_.shrink_to_fit();
        firstUpper_.shrink_to_fit();
        leading_.shrink_to_fit();
        return;
    }

    const char *fileEnd = values.file().data() + values.file().size();
    std::vector<quint64> keys(static_cast<size_t>(wordCount));
    firstUpper_.assign(size_t(wordCount) + 1, noneBefore);
    leading_.assign(256, Leading{});
    KeySort sorter;
    // Word lists are often alphabetical already.
    bool inOrder = true;
    for (int i = 1; i <= wordCount; ++i) {
        const QByteArrayView w = headword(values, i);
        const Start s = foldStart(w, gbk, fileEnd, noneBefore);
        firstUpper_[size_t(i)] = s.firstUpper;
        keys[size_t(i - 1)] = s.key | quint64(i);
        sorter.count(s.key);
        inOrder = inOrder && (i == 1 || keys[size_t(i - 1)] > keys[size_t(i - 2)]);
        if (!w.isEmpty()) {
            Leading &l = leading_[byteAt(w, 0)];
            if (l.count < maxCompletions)
                l.words[l.count++] = quint16(i);
        }
    }
    if (!inOrder)
        sorter.sort(keys);

    // Headwords that tie on the key: order them by all their bytes (index order kept
    // for equal ones), and drop exact repeats of an earlier headword.
    sorted_.resize(keys.size());
    std::vector<quint16> repeats;
    std::vector<std::pair<QByteArrayView, quint16>> tie;
    for (size_t run = 0; run < keys.size();) {
        size_t end = run + 1;
        while (end < keys.size() && (keys[end] & ~indexBits) == (keys[run] & ~indexBits))
            ++end;
        if (end - run == 1) {
            sorted_[run] = quint16(keys[run]);
            run = end;
            continue;
        }
        tie.clear();
        for (size_t k = run; k < end; ++k)
            tie.emplace_back(headword(values, int(keys[k] & indexBits)), quint16(keys[k]));
        std::stable_sort(tie.begin(), tie.end(),
                         [gbk](const auto &a, const auto &b) { return compareFolded(a.first, b.first, gbk) < 0; });
        for (size_t k = 0; k < tie.size(); ++k) {
            sorted_[run + k] = tie[k].second;
            // Equal folded headwords are adjacent and in index order.
            for (size_t back = k; back > 0 && compareFolded(tie[back - 1].first, tie[k].first, gbk) == 0;) {
                --back;
                if (tie[back].first == tie[k].first) {
                    repeats.push_back(tie[k].second);
                    break;
                }
            }
        }
        run = end;
    }
    if (repeats.empty())
        return;

    std::vector<bool> repeat(size_t(wordCount) + 1, false);
    for (const quint16 w : repeats)
        repeat[w] = true;
    sorted_.erase(std::remove_if(sorted_.begin(), sorted_.end(), [&](quint16 w) { return repeat[w]; }), sorted_.end());
    sorted_.shrink_to_fit();
    leading_.assign(256, Leading{});
    for (int i = 1; i <= wordCount; ++i) {
        const QByteArrayView w = headword(values, i);
        if (w.isEmpty() || repeat[size_t(i)])
            continue;
        Leading &l = leading_[byteAt(w, 0)];
        if (l.count < maxCompletions)
            l.words[l.count++] = quint16(i);
    }
}

QList<int> PrefixIndex::completeOneByte(uchar first) const
{
    QList<int> out;
    out.reserve(maxCompletions);
    const Leading &exact = leading_[first];
    for (int k = 0; k < exact.count; ++k)
        out.append(exact.words[size_t(k)]);
    uchar other = first;
    if (first >= 'a' && first <= 'z')
        other = uchar(first - ('a' - 'A'));
    else if (first >= 'A' && first <= 'Z')
        other = uchar(first + ('a' - 'A'));
    if (other != first) {
        const Leading &rest = leading_[other];
        for (int k = 0; k < rest.count && out.size() < maxCompletions; ++k)
            out.append(rest.words[size_t(k)]);
    }
    return out;
}

bool PrefixIndex::beginsExactly(const ValueTable &values, int word, QByteArrayView prefix, bool prefixHasUpper) const
{
    // Equal when folded: only a byte that folding changes can make them differ.
    const quint8 upper = firstUpper_[size_t(word)];
    const bool foldedAlike = upper < noneBefore ? upper >= prefix.size() : prefix.size() <= noneBefore;
    if (foldedAlike)
        return !prefixHasUpper;
    return headword(values, word).startsWith(prefix);
}

QList<int> PrefixIndex::complete(const ValueTable &values, QByteArrayView prefix) const
{
    if (prefix.isEmpty() || sorted_.empty())
        return {};
    if (prefix.size() == 1)
        return completeOneByte(byteAt(prefix, 0));

    QByteArray folded(prefix.size(), Qt::Uninitialized);
    Folder fold(gbk_);
    for (qsizetype i = 0; i < prefix.size(); ++i)
        folded[i] = char(fold(byteAt(prefix, i)));
    const bool prefixHasUpper = folded != prefix;

    const auto lo = std::partition_point(
        sorted_.begin(), sorted_.end(), [&](quint16 w) { return compareStart(headword(values, w), folded, gbk_) < 0; });
    const auto hi = std::partition_point(
        lo, sorted_.end(), [&](quint16 w) { return compareStart(headword(values, w), folded, gbk_) == 0; });

    Lowest exact, other;
    for (auto it = lo; it != hi; ++it) {
        const int w = *it;
        if (exact.full() && w > exact.worst())
            continue;
        if (beginsExactly(values, w, prefix, prefixHasUpper))
            exact.offer(w);
        else
            other.offer(w);
    }
    QList<int> out;
    out.reserve(maxCompletions);
    exact.appendTo(out);
    other.appendTo(out);
    return out;
}

qsizetype PrefixIndex::heldBytes() const
{
    return qsizetype(sorted_.capacity() * sizeof(quint16) + firstUpper_.capacity() +
                     leading_.capacity() * sizeof(Leading));
}
