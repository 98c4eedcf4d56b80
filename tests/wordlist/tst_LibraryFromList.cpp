#include "common/LibraryFixtures.h"
#include "common/TempProgramFolder.h"
#include "platform/text/AnsiText.h"
#include "worddata/OpenLibrary.h"
#include "wordlist/LibraryFromList.h"
#include "wordlist/WordTables.h"

#include <QSet>
#include <QTest>

#include <cstring>

using namespace LibraryFixtures;
using Status = LibraryFromList::Status;

namespace {

// A small word table: key, usual spelling, meaning, pronunciation, related entries, common; sorted by key.
using Row = std::tuple<const char *, const char *, const char *, const char *, std::vector<quint32>, bool>;
const std::vector<Row> rows = {{"apple", "apple", "n.苹果", "ˈæpəl", {2, 3, 1}, true},
                               {"ice cream", "ice cream", "n.冰激凌", "", {}, false},
                               {"monday", "Monday", "n.星期一", "ˈmʌndi", {}, true},
                               {"try", "try", "v.试", "traɪ", {0}, true}};
// Other forms of the entries' words: key, entry, pronunciation; sorted by key.
const std::vector<std::tuple<const char *, quint32, const char *>> forms = {{"apples", 0, "ˈæpəlz"},
                                                                            {"tried", 3, "traɪd"}};

// The layout of tools/lib/wordtables.mjs: header, entries of 24 bytes, forms of 12, relations, text.
QByteArray table()
{
    QByteArray entries, formTable, relations, text;
    const auto u32 = [](QByteArray &to, quint32 v) { to.append(reinterpret_cast<const char *>(&v), 4); };
    for (const auto &[key, entry, phonetic] : forms) {
        u32(formTable, quint32(text.size())), u32(formTable, entry);
        formTable += char(strlen(key)) + QByteArray(1, char(strlen(phonetic))) + QByteArray(2, 0);
        text += QByteArray(key) + phonetic;
    }
    for (const auto &[key, display, meaning, phonetic, related, common] : rows) {
        u32(entries, quint32(text.size())), text += QByteArray(key) + phonetic;
        for (const char *t : {display, meaning})
            u32(entries, quint32(text.size())), text += t;
        u32(entries, quint32(relations.size() / 4));
        for (quint32 to : related)
            u32(relations, to);
        for (size_t byte : {strlen(key), strlen(meaning), related.size(), size_t(common), strlen(phonetic)})
            entries += char(byte);
        entries += QByteArray(3, 0);
    }
    QByteArray header("DWTABLE2");
    for (qsizetype n :
         {qsizetype(rows.size()), relations.size() / 4, qsizetype(forms.size()), text.size(), qsizetype(0)})
        u32(header, quint32(n));
    return header + entries + formTable + relations + text;
}
const QByteArray small = table();

} // namespace

class tst_LibraryFromList : public QObject
{
    Q_OBJECT

    WordTables tables_;
    QByteArray headwords_; // the sample library's, a list of common words

private slots:
    void initTestCase()
    {
        QString problem;
        QVERIFY(tables_.open(QStringLiteral(DORRIT_SOURCE_DIR "/resources/wordtables/words.dwt"), problem));
        OpenLibrary sample;
        FakeLibraryHost host;
        sample.libraryName = QStringLiteral("sample");
        QCOMPARE(sample.openwordfile(QStringLiteral(DORRIT_SOURCE_DIR "/resources/programfolder"), host),
                 OpenLibrary::LoadResult::Loaded);
        for (int i = 1; i <= sample.wordLibrary().wordCount(); ++i)
            headwords_ += sample.wordLibrary().words(i).toUtf8() + '\n';
    }

    // Each list made into a library in a fresh data folder and read back with the program's own loader.
    void lists_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<Status>("status");
        // "word=meaning|..." as loaded, "~" for some meaning from the dictionary; empty: not compared;
        // "*": a list of common words, >= 95 % with a meaning and >= 90 % with an association.
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("text"); // part of the report or of the message
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("occupied"); // a file in the data folder before
        QByteArray most;                       // as many words as a library holds
        for (int i = 0; i < 32766; ++i)
            most += "w" + QByteArray::number(i) + '\n';
        const auto row = [](const char *tag, const QByteArray &list, const QString &expected, const QString &text,
                            Status status = Status::Made, const QString &name = "单元1", const QString &occupied = {}) {
            QTest::newRow(tag) << list << status << expected << text << name << occupied;
        };
        const QString forms = "abandon\nApples\ntries\ntried\nstopped\nbigger\nlarger\nboxes\nknives\nwolves\nhappily\n"
                              "ice-cream\nice  cream\nto abandon\nwent\nchildren\nmice\n";
        row("plain, phrases and forms", forms.toUtf8(), QString(forms).replace(u'\n', "=~|"), {});
        row("tab, comma, semicolon, quoted, empty",
            "abandon\tv.放弃\textra\nsmile,n.微笑；笑\nwhy; 为何,怎么 \n\"a, b\",\"say \"\"hi\"\"\"\nhappy,\n",
            "abandon=v.放弃|smile=n.微笑；笑|why=为何,怎么|a, b=say hi|happy=~", "词表自带 4 个，词典查到 1 个");
        row("UTF-8 with BOM, CR LF", "\uFEFFapple\r\n苹果树,n.果树\r\n", "apple=~|苹果树=n.果树", {});
        row("code page 936", AnsiText::encode(u"香蕉,n.香蕉\r\nbanana\r\n"), "香蕉=n.香蕉|banana=~", {});
        row("duplicates, comments, a quote", "# unit 1\nApple\n\n  \napple\n # apple\nApple\tn.别的\nsay \"hi\"\n",
            "Apple=~|apple=~", "第 8 行“say \"hi\"”：单词含有双引号");
        row("outside code page 936, not in the dictionary", "smile\nsmile 😀,笑\nqzxv\n",
            "smile=~|qzxv=", "：qzxv\n1 个单词没有写入：第 2 行“smile 😀”");
        row("line of 1,000 bytes", QByteArray(1000, 'a') + "\r\n", QString(1000, u'a') + u'=', {});
        row("common words", headwords_, "*", "词库文件");
        row("32,766 words", most, {}, "写入 32766 个单词");
        row("empty", "", {}, "没有单词", Status::Failed);
        row("binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), {}, "不是文本文件", Status::Failed);
        row("neither UTF-8 nor 936", "ab\xFF\xFF\n", {}, "既不是 UTF-8 也不是 GBK", Status::Failed);
        row("line over 1,000 bytes", "ok\n" + QByteArray(1001, 'a'), {}, "第 2 行有 1001 字节", Status::Failed);
        row("32,767 words", most + "one more\n", {}, "32767 个不同的单词", Status::Failed);
        row("name with a separator", "ok\n", {}, "不能用作词库名", Status::Failed, "a/b");
        row("device name", "ok\n", {}, "设备名", Status::Failed, "Con");
        row("data folder cannot be written", "ok\n", {}, "无法建立文件夹", Status::Failed, "单元1", "词库");
        row("existing library", "ok\n", {}, "已经存在", Status::Exists, "单元1", "词库/单元1.qd");
    }
    void lists()
    {
        QFETCH(QByteArray, list);
        QFETCH(Status, status);
        QFETCH(QString, expected);
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(QString, occupied);
        TempProgramFolder data;
        if (!occupied.isEmpty())
            data.write(occupied, "old");
        data.write(QStringLiteral("list.txt"), list);
        const LibraryFromList::Outcome outcome = LibraryFromList::make(
            {.listPath = data.file(QStringLiteral("list.txt")), .name = name, .dataFolder = data.path()}, tables_);
        QVERIFY2(outcome.text.contains(text), qPrintable(outcome.text));
        QCOMPARE(outcome.status, status);
        const QString wordPath = QStringLiteral("词库/") + name + ".qd";
        // Nothing written when refused, nothing there before touched.
        QCOMPARE(data.exists(QStringLiteral("联想词库")), status == Status::Made);
        QVERIFY(status == Status::Made || data.read(wordPath) == (occupied == wordPath ? "old" : ""));
        if (status != Status::Made)
            return;
        OpenLibrary library;
        FakeLibraryHost host;
        library.libraryName = name;
        QCOMPARE(library.openwordfile(data.path(), host), OpenLibrary::LoadResult::Loaded);
        const WordLibrary &words = library.wordLibrary();
        const AssociationTable &assoc = library.associations();
        const int n = words.wordCount();
        const QStringList given = expected.split(u'|', Qt::SkipEmptyParts);
        QStringList loaded;
        std::vector<Pair> records;
        std::vector<std::vector<Pair>> groups(n);
        int withMeaning = 0, withAssociation = 0;
        for (int i = 1; i <= n; ++i) {
            const bool fromDictionary = given.value(i - 1).endsWith(u'~') && !words.meanings(i).isEmpty();
            loaded << words.words(i) + u'=' + (fromDictionary ? QStringLiteral("~") : words.meanings(i));
            records.push_back({words.words(i), words.meanings(i)});
            withMeaning += !words.meanings(i).isEmpty();
            withAssociation += assoc.assocCounts(i) > 0;
            QVERIFY(assoc.assocCounts(i) <= LibraryMaker::maxAssociations);
            QSet<QString> seen{words.words(i).toLower()};
            for (int k = 1, listWords = 1; k <= assoc.assocCounts(i); ++k) {
                const QString w = assoc.assocWords(i, k), meaning = assoc.assocMeanings(i, k);
                const int own = words.find(w);
                seen << w.toLower();
                // Never the word itself, none twice, each with its meaning, the list's words first.
                QVERIFY2(seen.size() == k + 1 && !meaning.isEmpty() && (listWords || !own) &&
                             (!own || meaning == words.meanings(own)),
                         qPrintable(words.words(i) + u' ' + w));
                listWords = own;
                groups[i - 1].push_back({w, meaning});
            }
        }
        if (!given.isEmpty() && expected != u'*')
            QCOMPARE(loaded, given);
        // Byte for byte what the companion writes for the same records and groups.
        QCOMPARE(data.read(wordPath), wordFile(records));
        QCOMPARE(data.read(QStringLiteral("联想词库/") + name + ".the"), associationFile(groups));
        QVERIFY(expected != u'*' || (withMeaning >= 0.95 * n && withAssociation >= 0.90 * n));
    }

    // The shipped tables: a form finds its base ("" none) and has its own pronunciation.
    void forms_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("ipa");
        for (const auto &[word, base, ipa] : {std::tuple{"went", "go", "wɛnt"},
                                              {"children", "child", "ˈtʃɪldrən"},
                                              {"tried", "try", "traɪd"},
                                              {"Computer", "computer", "kəmˈpjutɚ"},
                                              {"understand", "understand", "ˌʌndɚˈstænd"},
                                              {"qzxv", "", ""}})
            QTest::newRow(word) << QString(word) << QString(base) << QString(ipa);
    }
    void forms()
    {
        QFETCH(QString, word);
        const quint32 found = LibraryMaker::lookUp(tables_, word.toUtf8());
        QTEST(found == WordSource::none ? QString() : QString(tables_.spelling(found).toByteArray()), "base");
        QTEST(tables_.phonetic(word), "ipa");
    }

    // The small table read from its file and made into a library; a damaged one is refused and leaves no entry.
    void smallTable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const auto patched = [](qsizetype at, const char *byte) { return QByteArray(small).replace(at, 1, byte); };
        QTest::newRow("intact") << small;
        QTest::newRow("not a word table") << patched(0, "X");
        QTest::newRow("cut short") << small.chopped(1);
        QTest::newRow("bytes beyond") << small + 'x';
        // Entries of 24 bytes after a header of 28, then two forms of 12, then the relations.
        QTest::newRow("relation to no entry") << patched(28 + 4 * 24 + 2 * 12, "\4"); // apple's first
        QTest::newRow("text a byte past the end") << patched(28 + 3 * 24 + 17, "\6"); // try's meaning, 5 bytes
        QTest::newRow("relations past the end") << patched(28 + 3 * 24 + 18, "\2");   // try's count, 1
        QTest::newRow("pronunciation past the end") << patched(28 + 3 * 24 + 20, "\xff");
        QTest::newRow("form of no entry") << patched(28 + 4 * 24 + 4, "\4"); // apples'
    }
    void smallTable()
    {
        QFETCH(QByteArray, bytes);
        WordTables tables;
        QString problem;
        QVERIFY(tables.load(small, problem));
        const bool intact = bytes == small;
        TempProgramFolder folder;
        folder.write(QStringLiteral("words.dwt"), bytes);
        QCOMPARE(tables.open(folder.file(QStringLiteral("words.dwt")), problem), intact);
        QCOMPARE(problem.contains(QStringLiteral("损坏")), !intact);
        QCOMPARE(tables.size(), intact ? quint32(rows.size()) : 0);
        if (!intact)
            return;
        QCOMPARE(tables.phonetic(QStringLiteral("Apples")), QStringLiteral("ˈæpəlz"));
        QCOMPARE(tables.phonetic(QStringLiteral("to try")), QStringLiteral("traɪ"));
        // apple's ring: try of the list first, then Monday as the table spells it; ice cream is not common.
        const LibraryMaker::Files files = LibraryMaker::make(*WordList::read("apple\ntry\n", problem), tables);
        QCOMPARE(files.wordFile, QByteArray("2\r\n\"apple\",\"n.苹果\"\r\n\"try\",\"v.试\"\r\n"));
        QCOMPARE(files.associationFile,
                 QByteArray("2\r\n2\r\n\"try\",\"v.试\"\r\n\"Monday\",\"n.星期一\"\r\n1\r\n\"apple\",\"n.苹果\"\r\n"));
    }
};

QTEST_GUILESS_MAIN(tst_LibraryFromList)
#include "tst_LibraryFromList.moc"
