#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

class Wordbook;

// The wordbook as a UTF-8 text file that flashcard programs import as it is: one note a line,
// fields separated by tabs, the word and its meaning first (all that plain imports take), then
// the pronunciation, the first associations and a tag naming the library the word came from.
// Header lines in the format of Anki's text import (from version 2.1.54) set the separator,
// plain text, the columns' names and the tags column, so that nothing needs setting by hand.
class WordbookExport
{
public:
    static constexpr int associationsPerNote = 5;
    static const QStringList headerLines;

    // phonetic gives a word's IPA, or nothing.
    static QByteArray notes(const Wordbook &wordbook, const std::function<QString(const QString &)> &phonetic);
    // The notes written whole to path; false with the reason in problem.
    static bool write(const QString &path, const QByteArray &notes, QString &problem);
    // A field as the import reads it back: no tab or line end in it, quoted when a quote or
    // a leading # would be read otherwise.
    static QString field(QString text);
    // Tags are separated by spaces: a space in a library's name joins it instead.
    static QString tag(const QString &library);
};
