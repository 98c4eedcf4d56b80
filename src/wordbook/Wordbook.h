#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

// The learner's own list of words to learn, 生词本: a library pair of the data folder like any
// other, so that it opens as one, and beside it a small file of the library each word came
// from. Every change is written at once, each file whole through QSaveFile, in the order added.
// Each entry's bytes are kept encoded, so that a change writes the files without encoding
// the other entries again.
class Wordbook
{
public:
    static const QString name;

    using Pair = std::pair<QString, QString>;
    struct Entry
    {
        QString word;
        QString meaning;
        QList<Pair> associations;
        // The library it was kept from; empty when that is not known.
        QString library;
    };

    enum class Change { Done, Unchanged, Failed };

    explicit Wordbook(const QString &dataFolder);

    // Reads the files, once: false when they are damaged, and problem() names the file and
    // where reading stopped. No files at all is an empty wordbook.
    bool read();
    bool damaged() const { return state_ == State::Damaged; }
    QString problem() const { return problem_; }
    // The name under which startAfresh() keeps the damaged files: the first not taken.
    QString asideName() const;
    // The damaged files renamed to asideName(), and an empty wordbook. False with problem()
    // when they cannot be renamed.
    bool startAfresh();

    qsizetype size() const { return qsizetype(entries_.size()); }
    const Entry &entry(qsizetype i) const { return entries_[size_t(i)]; }
    bool contains(const QString &word) const { return index_.contains(word); }
    // Whether the files can hold the text as it is: code page 936 and no double quote, which
    // the value syntax cannot hold.
    static bool storable(QStringView text);

    // Appended and written, unless the word is there. Associations the files cannot hold are
    // left out; a word or meaning they cannot hold is refused (Unchanged). On Failed,
    // problem() says why and the wordbook is as before.
    Change add(Entry entry);
    Change remove(const QString &word);

    QString wordFilePath() const;
    QString associationFilePath() const;
    QString sourceFilePath() const;

private:
    enum class State { Unread, Read, Damaged };
    // Where an entry's bytes lie in the three bodies.
    struct Stored
    {
        qsizetype word, group, source;
    };
    struct Bodies
    {
        QByteArray words, groups, sources;
    };

    bool damage(const QString &path, const QString &problem);
    void append(Entry entry);
    void reindex();
    // The files from the bodies; a removal writes the sources first, an addition last.
    bool write(bool removal);

    QString dataFolder_;
    State state_ = State::Unread;
    QString problem_;
    std::vector<Entry> entries_;
    // The start of each entry's bytes in the bodies, and one more for their ends.
    std::vector<Stored> starts_{Stored{0, 0, 0}};
    std::vector<int> counts_;
    Bodies bodies_;
    QHash<QString, qsizetype> index_;
};
