#pragma once

#include "wordlist/WordList.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class WordSource;

// What making a library did, for the user.
struct LibraryReport
{
    int words = 0;
    int meaningsFromList = 0;
    int meaningsFromTables = 0;
    QStringList withoutMeaning;
    QList<WordList::Skipped> skipped;
    int associationsMin = 0, associationsMedian = 0, associationsMax = 0;

    // The report as the program and the command line print it; at most listLimit words of
    // each list are named (0: all).
    QString text(const QString &name, const QString &wordFile, const QString &associationFile, int listLimit = 0) const;
};

// Turns a word list into the bytes of the two library files, exactly as the companion writes
// them: a word a line, fields quoted, CR LF, code page 936. Meanings the list lacks come from
// the word source; associations are the word's related words, the list's own first, then
// common words, each with its meaning, never the word itself, none twice.
class LibraryMaker
{
public:
    static constexpr int maxAssociations = 24;

    struct Files
    {
        QByteArray wordFile;
        QByteArray associationFile;
        LibraryReport report;
    };

    static Files make(const WordList &list, const WordSource &source);

    // The entry for a word as a list writes it ("Apples", "ice-cream", "tried"): its own key,
    // else a base form; WordSource::none when there is none.
    static quint32 lookUp(const WordSource &source, QByteArrayView word);
};
