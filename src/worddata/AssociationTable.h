#pragma once

#include "worddata/ValueTable.h"

#include <QByteArrayView>
#include <QString>
#include <vector>

// The associated words of every headword (".the"), stored jagged: memory follows the
// pairs actually present, never wordCount x maxAssoc. The table keeps the file's bytes,
// each group's count and where groups start; a group's values are found again when it is
// asked for, so a load writes next to nothing beyond the bytes it read. Word indices and
// slots are 1-based; anything out of range gives 0 or empty text.
class AssociationTable
{
public:
    qint16 maxAssoc() const { return maxAssoc_; }
    qint16 assocCounts(int i) const;
    QString assocWords(int i, int k) const;
    QString assocMeanings(int i, int k) const;

    // Reads maxAssoc, then one group per word of a library of wordCount words; groups
    // beyond those are not read. On failure out is untouched and problem says what is
    // wrong and at which group reading stopped.
    static bool parse(PopulatedBuffer file, qsizetype size, qint16 wordCount, AssociationTable &out, QString &problem);
    // The same from bytes elsewhere, which are copied.
    static bool parse(QByteArrayView file, qint16 wordCount, AssociationTable &out, QString &problem);

    qsizetype heldBytes() const;

private:
    // The value of pair k, part 0 (the word) or 1 (its meaning), of group i.
    QString text(int i, int k, int part) const;

    // Groups are found from every sixteenth one's start: a few hundred records to pass at
    // most, for a sixteenth of the memory that one start per group would take.
    static constexpr int groupsPerStart = 16;

    ValueTable values_;
    // groupStarts_[j] is where the reader stood before the count of group 16j + 1: the
    // offset, with the top bit set when it came after a comma.
    std::vector<quint32> groupStarts_;
    // counts_[i - 1] is the number of pairs of group i.
    std::vector<qint16> counts_;
    qint16 maxAssoc_ = 0;
    // The offsets of the values of the group asked for last. The board shows one group at
    // a time; only the thread that owns the table reads it.
    mutable int cachedGroup_ = 0;
    mutable std::vector<quint32> cachedValues_;
};
