#pragma once

#include "worddata/HeadwordIndex.h"
#include "worddata/PrefixIndex.h"
#include "worddata/ValueTable.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The headwords and meanings of one word library (".qd"), 1-based. Indices outside
// 1..wordCount (0 and wordCount + 1 included) give empty text.
class WordLibrary
{
public:
    static constexpr qint16 maxWordCount = 32766;

    qint16 wordCount() const { return wordCount_; }
    QString words(int i) const;
    QString meanings(int i) const;

    // Exact, case-sensitive; the first of repeated headwords; 0 when absent.
    int find(QStringView headword) const;
    // Type-ahead: up to ten word indices whose headwords begin with typed (see PrefixIndex).
    QList<int> completions(QStringView typed) const;

    // Parses a whole file (the size bytes held by file) in one pass. On failure out is
    // untouched and problem says what is wrong and at which word reading stopped.
    static bool parse(PopulatedBuffer file, qsizetype size, WordLibrary &out, QString &problem);
    // The same from bytes elsewhere, which are copied.
    static bool parse(QByteArrayView file, WordLibrary &out, QString &problem);

    qsizetype heldBytes() const { return values_.heldBytes() + index_.heldBytes() + prefixes_.heldBytes(); }

private:
    ValueTable values_;
    HeadwordIndex index_;
    PrefixIndex prefixes_;
    qint16 wordCount_ = 0;
};
