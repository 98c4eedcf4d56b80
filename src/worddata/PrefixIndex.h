#pragma once

#include <QByteArrayView>
#include <QList>
#include <array>
#include <vector>

class ValueTable;

// Headwords by how they begin, for type-ahead; built once per load beside the exact
// index. It holds word indices only: the text stays in the value table.
//
// Matching is on the file's bytes with ASCII letters folded to lower case; other
// characters (Chinese, full-width letters) match only as written. In a GBK file the
// second byte of a two-byte character is never folded, though it may look like a letter.
class PrefixIndex
{
public:
    static constexpr int maxCompletions = 10;

    // Headword i (1-based) is value 2i - 2 of values; word indices are kept in 16 bits.
    void build(const ValueTable &values, int wordCount, bool gbk);

    // Word indices of the headwords that begin with prefix, at most maxCompletions: first
    // those that begin with exactly these bytes, then those that differ only in the case
    // of ASCII letters, each group in library order. A repeated headword is offered once,
    // at its first index, which is the one a look-up finds. Nothing for an empty prefix.
    QList<int> complete(const ValueTable &values, QByteArrayView prefix) const;

    qsizetype heldBytes() const;

private:
    // The first up to maxCompletions headwords, in library order, that begin with each byte.
    struct Leading
    {
        std::array<quint16, maxCompletions> words;
        quint8 count = 0;
    };

    QList<int> completeOneByte(uchar first) const;
    bool beginsExactly(const ValueTable &values, int word, QByteArrayView prefix, bool prefixHasUpper) const;

    bool gbk_ = false;
    // Every headword but repeats, ordered by its folded bytes, then by index.
    std::vector<quint16> sorted_;
    // Per word index: the position of the first byte that folding changes, capped at
    // noneBefore; whether a word begins with the typed case usually needs no look at its text.
    std::vector<quint8> firstUpper_;
    static constexpr quint8 noneBefore = 255;
    std::vector<Leading> leading_;
};
