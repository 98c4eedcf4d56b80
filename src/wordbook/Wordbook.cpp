#include "wordbook/Wordbook.h"

#include "platform/text/AnsiText.h"
#include "worddata/AssociationTable.h"
#include "worddata/OpenLibrary.h"
#include "worddata/SequentialWriter.h"
#include "worddata/WordLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>

const QString Wordbook::name = QStringLiteral("生词本");

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Beside the word file: a file of the word file's syntax, each word with its library.
QString sourcePath(const QString &dataFolder, const QString &name)
{
    const QString words = OpenLibrary::wordFilePath(dataFolder, name);
    return words.left(words.size() - 3) + QStringLiteral(".from");
}

bool readFile(const QString &path, QByteArray &bytes, QString &problem)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("文件不存在或无法打开。");
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        problem = QStringLiteral("读取文件出错：%1").arg(file.errorString());
        return false;
    }
    return true;
}

QByteArray countLine(qsizetype n)
{
    SequentialWriter w;
    w.writeNumber(double(n));
    w.endRecord();
    return w.bytes();
}

// The one word of words that sources lacks, the others in the same order; 0 unless exactly so.
int removedWord(const WordLibrary &words, const WordLibrary &sources)
{
    const int n = words.wordCount();
    if (n < 1 || sources.wordCount() != n - 1)
        return 0;
    int gone = n;
    for (int i = 1; i < n && gone == n; ++i) {
        if (words.words(i) != sources.words(i))
            gone = i;
    }
    for (int i = gone + 1; i <= n; ++i) {
        if (words.words(i) != sources.words(i - 1))
            return 0;
    }
    return gone;
}

} // namespace

Wordbook::Wordbook(const QString &dataFolder)
    : dataFolder_(dataFolder)
{}

QString Wordbook::wordFilePath() const
{
    return OpenLibrary::wordFilePath(dataFolder_, name);
}

QString Wordbook::associationFilePath() const
{
    return OpenLibrary::associationFilePath(dataFolder_, name);
}

QString Wordbook::sourceFilePath() const
{
    return sourcePath(dataFolder_, name);
}

bool Wordbook::storable(QStringView text)
{
    const std::optional<QString> back = AnsiText::decodeStrictly(AnsiText::encode(text));
    return !text.contains(u'"') && back && *back == text;
}

bool Wordbook::damage(const QString &path, const QString &problem)
{
    state_ = State::Damaged;
    // As the library loader tells it.
    problem_ = QStringLiteral("《%1》无法打开：\n%2\n%3").arg(name, native(path), problem);
    return false;
}

bool Wordbook::read()
{
    if (state_ != State::Unread)
        return state_ == State::Read;
    const QString wordPath = wordFilePath(), groupPath = associationFilePath();
    if (!QFileInfo(wordPath).isFile() && !QFileInfo(groupPath).isFile()) {
        state_ = State::Read;
        return true;
    }
    QByteArray wordBytes, groupBytes, sourceBytes;
    QString problem, ignored;
    WordLibrary words, sources;
    AssociationTable groups;
    if (!readFile(wordPath, wordBytes, problem) || !WordLibrary::parse(wordBytes, words, problem))
        return damage(wordPath, problem);
    if (!readFile(groupPath, groupBytes, problem))
        return damage(groupPath, problem);
    // Without that file, or with a damaged one, the words come from the wordbook itself.
    if (!readFile(sourceFilePath(), sourceBytes, ignored) || !WordLibrary::parse(sourceBytes, sources, ignored))
        sources = WordLibrary();
    int dropped = 0;
    if (!AssociationTable::parse(groupBytes, words.wordCount(), groups, problem)) {
        // A removal stopped between its writes: the sources and the groups are without the word already.
        dropped = removedWord(words, sources);
        if (dropped == 0 || !AssociationTable::parse(groupBytes, qint16(words.wordCount() - 1), groups, ignored))
            return damage(groupPath, problem);
    }
    QHash<QString, QString> from;
    for (int i = sources.wordCount(); i >= 1; --i)
        from.insert(sources.words(i), sources.meanings(i));
    for (int i = 1, g = 1; i <= words.wordCount(); ++i) {
        if (i == dropped)
            continue;
        Entry e{words.words(i), words.meanings(i), {}, from.value(words.words(i))};
        for (int k = 1; k <= groups.assocCounts(g); ++k)
            e.associations.append({groups.assocWords(g, k), groups.assocMeanings(g, k)});
        append(std::move(e));
        ++g;
    }
    state_ = State::Read;
    if (dropped)
        write(true);
    return true;
}

QString Wordbook::asideName() const
{
    for (int n = 1;; ++n) {
        const QString aside = QStringLiteral("%1（损坏%2）").arg(name).arg(n);
        if (!QFileInfo::exists(OpenLibrary::wordFilePath(dataFolder_, aside)) &&
            !QFileInfo::exists(OpenLibrary::associationFilePath(dataFolder_, aside)) &&
            !QFileInfo::exists(sourcePath(dataFolder_, aside)))
            return aside;
    }
}

bool Wordbook::startAfresh()
{
    const QString aside = asideName();
    const std::array<std::pair<QString, QString>, 3> moves = {
        std::pair{wordFilePath(), OpenLibrary::wordFilePath(dataFolder_, aside)},
        std::pair{associationFilePath(), OpenLibrary::associationFilePath(dataFolder_, aside)},
        std::pair{sourceFilePath(), sourcePath(dataFolder_, aside)}};
    for (const auto &[from, to] : moves) {
        // QFile::rename never replaces a file that is there.
        if (QFileInfo::exists(from) && !QFile::rename(from, to)) {
            problem_ = QStringLiteral("无法把“%1”改名为“%2”。").arg(native(from), native(to));
            return false;
        }
    }
    *this = Wordbook(dataFolder_);
    state_ = State::Read;
    return true;
}

void Wordbook::append(Entry entry)
{
    SequentialWriter word, group, source;
    word.writeText(entry.word);
    word.writeText(entry.meaning);
    word.endRecord();
    group.writeNumber(double(entry.associations.size()));
    group.endRecord();
    for (const auto &[w, m] : entry.associations) {
        group.writeText(w);
        group.writeText(m);
        group.endRecord();
    }
    source.writeText(entry.word);
    source.writeText(entry.library);
    source.endRecord();
    bodies_.words += word.bytes();
    bodies_.groups += group.bytes();
    bodies_.sources += source.bytes();
    starts_.push_back({bodies_.words.size(), bodies_.groups.size(), bodies_.sources.size()});
    counts_.push_back(int(entry.associations.size()));
    // A word a hand-edited file holds twice is found at its first place, as the loader finds it.
    if (!index_.contains(entry.word))
        index_.insert(entry.word, size());
    entries_.push_back(std::move(entry));
}

void Wordbook::reindex()
{
    index_.clear();
    for (qsizetype i = 0; i < size(); ++i) {
        if (!index_.contains(entries_[size_t(i)].word))
            index_.insert(entries_[size_t(i)].word, i);
    }
}

Wordbook::Change Wordbook::add(Entry entry)
{
    if (!read() || contains(entry.word) || !storable(entry.word) || !storable(entry.meaning))
        return Change::Unchanged;
    if (size() >= WordLibrary::maxWordCount) {
        problem_ = QStringLiteral("《%1》已经有 %2 个单词，不能再多了。").arg(name).arg(size());
        return Change::Failed;
    }
    if (!storable(entry.library))
        entry.library.clear();
    entry.associations.removeIf([](const Pair &p) { return !storable(p.first) || !storable(p.second); });
    const QString word = entry.word;
    append(std::move(entry));
    if (write(false))
        return Change::Done;
    // As before: the bytes of the others were never touched.
    starts_.pop_back();
    bodies_.words.truncate(starts_.back().word);
    bodies_.groups.truncate(starts_.back().group);
    bodies_.sources.truncate(starts_.back().source);
    counts_.pop_back();
    entries_.pop_back();
    index_.remove(word);
    return Change::Failed;
}

Wordbook::Change Wordbook::remove(const QString &word)
{
    if (!read() || !contains(word))
        return Change::Unchanged;
    const Wordbook before = *this;
    const size_t i = size_t(index_.value(word));
    const Stored from = starts_[i], to = starts_[i + 1];
    bodies_.words.remove(from.word, to.word - from.word);
    bodies_.groups.remove(from.group, to.group - from.group);
    bodies_.sources.remove(from.source, to.source - from.source);
    for (size_t k = i + 1; k < starts_.size(); ++k) {
        starts_[k].word -= to.word - from.word;
        starts_[k].group -= to.group - from.group;
        starts_[k].source -= to.source - from.source;
    }
    starts_.erase(starts_.begin() + qsizetype(i) + 1);
    counts_.erase(counts_.begin() + qsizetype(i));
    entries_.erase(entries_.begin() + qsizetype(i));
    reindex();
    if (write(true))
        return Change::Done;
    const QString problem = problem_;
    *this = before;
    problem_ = problem;
    return Change::Failed;
}

bool Wordbook::write(bool removal)
{
    for (const QString &path : {wordFilePath(), associationFilePath()}) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
            problem_ = QStringLiteral("无法建立文件夹“%1”。").arg(native(folder));
            return false;
        }
    }
    struct File
    {
        QString path;
        QByteArray header;
        const QByteArray *body;
        // Without it the words keep no library, which is no loss of a word.
        bool optional;
    };
    const int maxAssoc = counts_.empty() ? 0 : *std::max_element(counts_.begin(), counts_.end());
    const File words{wordFilePath(), countLine(size()), &bodies_.words, false};
    const File groups{associationFilePath(), countLine(maxAssoc), &bodies_.groups, false};
    const File sources{sourceFilePath(), countLine(size()), &bodies_.sources, true};
    // The loader reads no group past the word count: with the groups written first, a stop
    // between the writes leaves a pair that reads as before or as after an addition. A
    // removal's stop leaves one group fewer, which read() completes from the sources.
    const std::array<const File *, 3> order =
        removal ? std::array{&sources, &groups, &words} : std::array{&groups, &words, &sources};
    for (const File *file : order) {
        QSaveFile out(file->path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file->header) != file->header.size() ||
            out.write(*file->body) != file->body->size() || !out.commit()) {
            if (file->optional)
                continue;
            problem_ = QStringLiteral("无法写入“%1”：%2").arg(native(file->path), out.errorString());
            return false;
        }
    }
    return true;
}
