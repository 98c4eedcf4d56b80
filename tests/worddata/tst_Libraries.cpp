#include "common/LibraryFixtures.h"
#include "common/TempProgramFolder.h"
#include "platform/text/AnsiText.h"
#include "worddata/AssociationTable.h"
#include "worddata/OpenLibrary.h"
#include "worddata/WordLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <random>

using namespace LibraryFixtures;
using Strings = QStringList;

namespace {

const QString tanker = QStringLiteral("n.油船；空中加油飞机");

// A word file of these headwords, in code page 936 or converted to UTF-8.
QByteArray headwordFile(const Strings &headwords, bool utf8 = false)
{
    QString text = QString::number(headwords.size()) + QStringLiteral("\r\n");
    for (const QString &w : headwords)
        text += '"' + w + QStringLiteral("\",\"n.\"\r\n");
    return utf8 ? text.toUtf8() : AnsiText::encode(text);
}

WordLibrary parsed(const QByteArray &file)
{
    WordLibrary lib;
    QString problem;
    if (!WordLibrary::parse(file, lib, problem))
        qWarning("%s", qPrintable(problem));
    return lib;
}

Strings offered(const WordLibrary &lib, const QString &typed)
{
    Strings out;
    for (const int i : lib.completions(typed)) {
        out << lib.words(i);
        // Each offer is the occurrence that a look-up of it finds.
        if (lib.find(lib.words(i)) != i)
            out << QStringLiteral("(not the first %1)").arg(i);
    }
    return out;
}

// Markers: a word file one byte past what a load may address (sparse); a hidden association file.
const QByteArray kOversized = "<oversized>";
const QByteArray kHidden = "<hidden>";
const QString kNoAssociations = QStringLiteral("》的联想词库不存在，请用Tesmar单词Graxo的联想词库生成工具生成。");

// Words "w1".."wN", word i with i % 40 associations "wi.k": at 3000 words an association
// file large enough to be held in mapped memory rather than on the heap.
void writeBig(const QString &dataFolder, int count)
{
    std::vector<Pair> words;
    std::vector<std::vector<Pair>> groups(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) {
        words.emplace_back(QStringLiteral("w%1").arg(i), QStringLiteral("释义%1").arg(i));
        for (int k = 1; k <= i % 40; ++k)
            groups[size_t(i - 1)].emplace_back(QStringLiteral("w%1.%2").arg(i).arg(k), QStringLiteral("释义"));
    }
    writeLibrary(dataFolder, "big", wordFile(words), associationFile(groups, 39));
}

} // namespace

// The two tables as read from a file's bytes, look-up and type-ahead over them, and the loads
// that fail or outlive their files.
class tst_Libraries : public QObject
{
    Q_OBJECT
private slots:
    void wordFileValues_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Strings>("values"); // headword, meaning, headword, ...
        const QByteArray utf8 = wordFile({{"tanker", "x"}}).replace("x", tanker.toUtf8());
        QTest::newRow("quoted meaning with commas")
            << AnsiText::encode(QStringLiteral("1\r\n\"a\",\"n.甲,乙, 丙\"\r\n")) << Strings{"a", "n.甲,乙, 丙"};
        QTest::newRow("unquoted, leading spaces dropped")
            << QByteArray("2\r\n  apple,   red fruit \r\nb,c\r\n") << Strings{"apple", "red fruit ", "b", "c"};
        QTest::newRow("empty value after a comma, text after a quote")
            << QByteArray("3\r\na,\r\n\"b\",\r\n \"c\"junk,\"d\"") << Strings{"a", "", "b", "", "c", "d"};
        QTest::newRow("unclosed quote runs to the end") << QByteArray("1\r\nx,\"a,b\r\nc") << Strings{"x", "a,b\r\nc"};
        QTest::newRow("code page 936") << wordFile({{"tanker", tanker}}) << Strings{"tanker", tanker};
        QTest::newRow("UTF-8 with BOM") << "\xEF\xBB\xBF" + utf8 << Strings{"tanker", tanker};
        QTest::newRow("UTF-8 without BOM") << utf8 << Strings{"tanker", tanker};
        // 头 in code page 936 is CD B7, which is also a valid two-byte UTF-8 sequence.
        QTest::newRow("code page 936 passing for UTF-8") << wordFile({{"head", "n.头"}}) << Strings{"head", "n.头"};
        QTest::newRow("rest after the last record ignored")
            << QByteArray("1\r\n\"a\",\"b\"\r\n\"c\",\"d\"\r\n5\r\n") << Strings{"a", "b"};
        QTest::newRow("count 0") << QByteArray("0\r\n") << Strings{};
        // Closing quotes at every place around the reader's 64-byte look, in several layouts.
        QByteArray records = "154\r\n";
        Strings values;
        for (int a = 0; a <= 70; a += 7) {
            for (int b = 55; b <= 68; ++b) {
                records += '"' + QByteArray(a, 'w') + "\",\"" + QByteArray(b, 'm') + "\"\r\n";
                values << QString(a, u'w') << QString(b, u'm');
            }
        }
        QTest::newRow("records of every length") << records << values;
        QTest::newRow("records, bare LF, blank lines") << QByteArray(records).replace("\r\n", "\n\r\n\n") << values;
        QTest::newRow("records, commas only") << QByteArray(records).replace("\r\n", ",") << values;
        QTest::newRow("records, spaces before quotes, text after")
            << QByteArray(records).replace(",\"", ", \"").replace("\",", "\"x\"y,") << values;
    }
    void wordFileValues()
    {
        QFETCH(QByteArray, file);
        QFETCH(Strings, values);
        const WordLibrary lib = parsed(file);
        Strings got;
        for (int i = 1; i <= lib.wordCount(); ++i)
            got << lib.words(i) << lib.meanings(i);
        QCOMPARE(got, values);
    }

    void associations_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("wordCount");
        QTest::addColumn<Strings>("groups"); // per word, its pairs joined by '|'
        const std::vector<Pair> two{{"x", tanker}, {"y", "z"}};
        QTest::newRow("group count equal to maxAssoc")
            << associationFile({two, {}}, 2) << 2 << Strings{"x|" + tanker + "|y|z", ""};
        QTest::newRow("more groups than words") << associationFile({{{"p", "q"}}, two}) << 1 << Strings{"p|q"};
        QTest::newRow("no words, only maxAssoc") << QByteArray("0\r\n") << 0 << Strings{};
        QTest::newRow("capacity far above every group")
            << QByteArray("32767\r\n1\r\n\"a\",\"b\"\r\n0\r\n0\r\n") << 3 << Strings{"a|b", "", ""};
        // Records around the reader's 64-byte look; groups found again from every 16th's start.
        std::vector<std::vector<Pair>> lengths(29);
        Strings groups;
        for (int a = 0; a < 29; ++a) {
            Strings pairs;
            for (int b = 25 + a % 2; b <= 38; b += 2) {
                lengths[size_t(a)].emplace_back(QString(a, u'w'), QString(b, u'm'));
                pairs << QString(a, u'w') << QString(b, u'm');
            }
            groups << pairs.join('|');
        }
        QTest::newRow("29 groups of records of every length") << associationFile(lengths) << 29 << groups;
    }
    void associations()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, wordCount);
        QFETCH(Strings, groups);
        AssociationTable table;
        QString problem;
        QVERIFY2(AssociationTable::parse(file, qint16(wordCount), table, problem), qPrintable(problem));
        Strings got;
        // From the last group back, so that none is found by reading on from the one before;
        // groups 0 and wordCount + 1 and the slots around each group are empty.
        for (int i = wordCount + 1; i >= 0; --i) {
            Strings pairs;
            for (int k = 1; k <= table.assocCounts(i); ++k)
                pairs << table.assocWords(i, k) << table.assocMeanings(i, k);
            got.prepend(pairs.join('|') + table.assocWords(i, 0) + table.assocMeanings(i, table.assocCounts(i) + 1));
        }
        QCOMPARE(got, Strings{""} + groups + Strings{""});
        // Memory follows the pairs present, never wordCount x maxAssoc.
        QVERIFY2(table.heldBytes() < file.size() + 1024, qPrintable(QString::number(table.heldBytes())));
    }

    // Look-up is exact. Type-ahead offers those beginning exactly so, then those differing in
    // ASCII case, each in library order, repeats once, ten at most (checked by the scan below).
    void lookUpAndOffers_data()
    {
        QTest::addColumn<Strings>("library");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("found");
        QTest::addColumn<Strings>("offers");
        // 丄 is 81 41 and 乤 is 81 61 in code page 936: their second bytes look like 'A' and 'a'.
        const Strings words{"run", "Run", "run",  "café", "中国", "china", "中文",
                            "a?",  "ab",  "乤一", "丄二", "ａｂ", "Ａｂ"};
        QTest::newRow("empty text") << words << "" << 0 << Strings{};
        QTest::newRow("prefix is not a match") << words << "ru" << 0 << Strings{"run", "Run"};
        QTest::newRow("case-sensitive, repeats once") << words << "Run" << 2 << Strings{"Run", "run"};
        QTest::newRow("accented") << words << "café" << 4 << Strings{"café"};
        QTest::newRow("Chinese") << words << "中文" << 7 << Strings{"中文"};
        QTest::newRow("Chinese start") << words << "中" << 0 << Strings{"中国", "中文"};
        QTest::newRow("second byte is not a letter") << words << "丄" << 0 << Strings{"丄二"};
        QTest::newRow("only ASCII letters fold") << words << "ａ" << 0 << Strings{"ａｂ"};
        // The code page cannot hold the emoji; its '?' stand-in must not match "a?".
        QTest::newRow("character outside the code page") << words << "a😀" << 0 << Strings{};
        QTest::newRow("empty library") << Strings{} << "a" << 0 << Strings{};
        Strings largest;
        for (int i = 1; i <= WordLibrary::maxWordCount; ++i)
            largest << QString::number(i);
        QTest::newRow("largest library, last word") << largest << "32766" << 32766 << Strings{"32766"};
    }
    void lookUpAndOffers()
    {
        QFETCH(Strings, library);
        QFETCH(QString, typed);
        QFETCH(int, found);
        QFETCH(Strings, offers);
        // Text beyond ASCII is matched alike in a code page 936 and in a UTF-8 library.
        for (bool utf8 : {false, true}) {
            const WordLibrary lib = parsed(headwordFile(library, utf8));
            QCOMPARE(lib.wordCount(), library.size());
            QCOMPARE(lib.find(typed), found);
            QCOMPARE(offered(lib, typed), offers);
        }
    }

    // Short words over a few letters in both cases share long starts, repeat and overflow the ten
    // offers; checked against a plain scan, in random and in alphabetical order.
    void offersAgreeWithAScan()
    {
        std::mt19937 rng(17);
        const QString letters = QStringLiteral("abAB!-");
        Strings headwords;
        for (int i = 0; i < 3000; ++i) {
            headwords << QString();
            for (int k = 1 + int(rng() % 9); k > 0; --k)
                headwords.last() += letters[int(rng() % unsigned(letters.size()))];
        }
        for (bool alphabetical : {false, true}) {
            if (alphabetical)
                headwords.sort(Qt::CaseInsensitive);
            const WordLibrary lib = parsed(headwordFile(headwords));
            Strings unique = headwords;
            unique.removeDuplicates();
            for (int sample = 0; sample < 400; ++sample) {
                const QString &word = headwords[int(rng() % unsigned(headwords.size()))];
                QString typed = word.first(1 + qsizetype(rng() % unsigned(word.size())));
                if (sample % 3 == 0)
                    typed = typed.toUpper();
                Strings exact, other;
                for (const QString &w : unique) {
                    if (w.startsWith(typed))
                        exact << w;
                    else if (w.startsWith(typed, Qt::CaseInsensitive))
                        other << w;
                }
                QCOMPARE(offered(lib, typed), (exact + other).mid(0, 10));
            }
        }
    }

    // A load that cannot finish leaves the library that was open, or none. Without its
    // association file (a hidden one counts as missing) it is not even begun.
    void failedLoad_data()
    {
        QTest::addColumn<QByteArray>("words");
        QTest::addColumn<QByteArray>("associations");
        QTest::addColumn<bool>("wordFileAtFault");
        QTest::addColumn<QString>("named"); // in the message, after the file's path
        const QByteArray three = wordFile({{"a", "1"}, {"b", "2"}, {"c", "3"}});
        const QByteArray groups = associationFile({{}, {}, {}});
        QTest::newRow("association file missing") << three << QByteArray() << false << "";
        QTest::newRow("association file hidden") << three << kHidden << false << "";
        QTest::newRow("word file missing") << QByteArray() << groups << true << "不存在";
        QTest::newRow("word file empty") << QByteArray("") << groups << true << "单词数";
        QTest::newRow("word count 32767") << QByteArray("32767\r\n") << groups << true << "“32767”";
        QTest::newRow("negative word count") << QByteArray("-3\r\n") << groups << true << "“-3”";
        QTest::newRow("count beyond 32 bits") << QByteArray("4294967297\r\n") << groups << true << "“4294967297”";
        QTest::newRow("ends before a headword")
            << QByteArray("3\r\n\"a\",\"1\"\r\n\"b\",\"2\"\r\n") << groups << true << "第 3 个单词的词条";
        QTest::newRow("ends before a meaning")
            << QByteArray("2\r\n\"a\",\"b\"\r\n\"c\"") << groups << true << "第 2 个单词的释义";
        QTest::newRow("word file too large") << kOversized << groups << true << "太大";
        QTest::newRow("association file empty") << three << QByteArray("") << false << "联想词数上限";
        QTest::newRow("negative maxAssoc") << three << QByteArray("-1\r\n0\r\n0\r\n0\r\n") << false << "“-1”";
        QTest::newRow("group above maxAssoc")
            << three << QByteArray("1\r\n0\r\n2\r\na,b\r\nc,d\r\n0\r\n") << false << "第 2 组的联想词数“2”";
        QTest::newRow("fewer groups than words") << three << associationFile({{}, {}}) << false << "第 3 组";
        QTest::newRow("pair cut short") << three << associationFile({{{"x", "y"}, {"z", "w"}}}).chopped(6) << false
                                        << "第 1 组的第 2 个联想词的释义";
    }
    void failedLoad()
    {
        QFETCH(QByteArray, words);
        QFETCH(QByteArray, associations);
        QFETCH(bool, wordFileAtFault);
        QFETCH(QString, named);
        const QString name = associations == kHidden ? ".bad" : "bad";
        for (bool oldOpen : {true, false}) {
            TempProgramFolder data;
            OpenLibrary library;
            if (oldOpen) {
                writeLibrary(data.path(), "old", wordFile({{"old", "旧"}, {"older", "x"}}),
                             associationFile({{{"aged", "老的"}}, {}}));
                library.libraryName = "old";
                FakeLibraryHost host;
                QCOMPARE(library.openwordfile(data.path(), host), OpenLibrary::LoadResult::Loaded);
            }
            writeLibrary(data.path(), name, words == kOversized ? "" : words,
                         associations == kHidden ? "0\r\n" : associations);
            const QString path = QDir::toNativeSeparators(data.path() + (wordFileAtFault ? "/词库/" : "/联想词库/") +
                                                          name + (wordFileAtFault ? ".qd" : ".the"));
            if (words == kOversized)
                QVERIFY(QFile(path).resize(qint64(ValueTable::maxFileSize) + 1));
            library.previousLibraryName = library.libraryName;
            library.libraryName = name;
            FakeLibraryHost host;
            const OpenLibrary::LoadResult result = library.openwordfile(data.path(), host);
            if (associations.isNull() || associations == kHidden) {
                QCOMPARE(result, OpenLibrary::LoadResult::AssociationMissing);
                QCOMPARE(host.calls, QStringList{"message:《" + name + kNoAssociations});
            } else {
                QCOMPARE(result, OpenLibrary::LoadResult::Failed);
                // The window is put right before the message: back to "old", or to no library.
                QCOMPARE(host.calls.size(), 3);
                QCOMPARE(host.calls.first(2), (QStringList{"reset", oldOpen ? "opened:old" : "none"}));
                const QString message = host.calls[2];
                QVERIFY2(message.startsWith("message:《bad》无法打开：\n" + path + '\n') && message.contains(named) &&
                             message.endsWith(QStringLiteral("仍使用原来的词库《old》。")) == oldOpen,
                         qPrintable(message));
            }
            // What the load leaves: "old" as it was, or no library at all.
            QCOMPARE(library.isOpen(), oldOpen);
            QCOMPARE(library.libraryName, oldOpen ? QStringLiteral("old") : QString());
            QCOMPARE(library.wordLibrary().wordCount(), oldOpen ? 2 : 0);
            QCOMPARE(library.wordLibrary().find(QStringLiteral("older")), oldOpen ? 2 : 0);
            QCOMPARE(library.associations().assocMeanings(1, 1), oldOpen ? QStringLiteral("老的") : QString());
        }
    }

    // The companion may rewrite or empty the files of the open library: the tables stay as
    // loaded until a load of the new files replaces all of them.
    void openLibraryOutlivesItsFiles()
    {
        TempProgramFolder data;
        OpenLibrary library;
        FakeLibraryHost host;
        library.libraryName = "big";
        for (const int count : {3000, 10}) {
            writeBig(data.path(), count);
            QVERIFY(count < 3000 || QFileInfo(OpenLibrary::associationFilePath(data.path(), "big")).size() > 1 << 20);
            QCOMPARE(library.openwordfile(data.path(), host), OpenLibrary::LoadResult::Loaded);
            writeLibrary(data.path(), "big", "", "");
            QCOMPARE(library.wordLibrary().wordCount(), count);
            for (int i = 1; i <= count; i += i < count - 10 ? 97 : 1) {
                QCOMPARE(library.wordLibrary().meanings(i), QStringLiteral("释义%1").arg(i));
                QCOMPARE(library.associations().assocCounts(i), i % 40);
                for (int k = 1; k <= i % 40; ++k)
                    QCOMPARE(library.associations().assocWords(i, k), QStringLiteral("w%1.%2").arg(i).arg(k));
            }
            QVERIFY(library.wordLibrary().words(count + 1).isEmpty() &&
                    library.associations().assocCounts(count + 1) == 0);
            library.previousLibraryName = "big";
        }
    }
};

QTEST_GUILESS_MAIN(tst_Libraries)
#include "tst_Libraries.moc"
