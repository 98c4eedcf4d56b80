#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// A user's word list read into code page 936 bytes, as a library will hold them: one word or
// phrase a line, optionally its meaning in a second field after a tab, a comma or a semicolon;
// UTF-8 (with or without BOM) or code page 936; blank lines and lines starting with '#' left
// out; each word once, first seen first, case as written.
class WordList
{
public:
    static constexpr qsizetype maxLineBytes = 1000;
    static constexpr int maxWords = 32766;

    struct Entry
    {
        int line = 0;
        // Slices of text(): the word, and the meaning the list gives (empty when none).
        qsizetype wordAt = 0, wordLength = 0;
        qsizetype meaningAt = 0, meaningLength = 0;
    };
    struct Skipped
    {
        int line = 0;
        QString word;
        QString reason;
    };

    // The list, or nothing with the reason in problem.
    static std::optional<WordList> read(QByteArrayView bytes, QString &problem);

    const QList<Entry> &entries() const { return entries_; }
    const QList<Skipped> &skipped() const { return skipped_; }
    QByteArrayView word(const Entry &e) const { return QByteArrayView(text_).sliced(e.wordAt, e.wordLength); }
    QByteArrayView meaning(const Entry &e) const { return QByteArrayView(text_).sliced(e.meaningAt, e.meaningLength); }

private:
    // A line whose text code page 936 cannot hold: its word is named and left out.
    void skipUnencodable(int line, QStringView lineText);

    QByteArray text_;
    QList<Entry> entries_;
    QList<Skipped> skipped_;
};
