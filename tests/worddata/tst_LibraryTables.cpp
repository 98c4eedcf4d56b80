#include "common/LibraryFixtures.h"
#include "platform/AnsiText.h"
#include "worddata/AssociationTable.h"
#include "worddata/WordLibrary.h"

#include <QTest>

using namespace LibraryFixtures;

class tst_LibraryTables : public QObject
{
    Q_OBJECT

private slots:
    void wordFileLoads_data();
    void wordFileLoads();
    void wordFileFails_data();
    void wordFileFails();
    void associationGroups_data();
    void associationGroups();
    void largestWordCountLoads();
    void hugeCapacityStaysSmall();
    void lookUp_data();
    void lookUp();
};

namespace {

const QString tanker = QStringLiteral("n.油船；空中加油飞机");

QByteArray gbk(const char16_t *text)
{
    return AnsiText::encode(QString::fromUtf16(text));
}

QStringList allValues(const WordLibrary &lib)
{
    QStringList out;
    for (int i = 1; i <= lib.wordCount(); ++i)
        out << lib.words(i) << lib.meanings(i);
    return out;
}

} // namespace

void tst_LibraryTables::wordFileLoads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("values");

    const QStringList tankerPair{QStringLiteral("tanker"), tanker};
    QTest::newRow("quoted meaning with commas")
        << gbk(u"1\r\n\"a\",\"n.甲,乙, 丙\"\r\n") << QStringList{"a", QStringLiteral("n.甲,乙, 丙")};
    QTest::newRow("unquoted, leading spaces dropped")
        << QByteArray("2\r\n  apple,   red fruit \r\nb,c\r\n") << QStringList{"apple", "red fruit ", "b", "c"};
    QTest::newRow("bare LF line ends") << QByteArray("2\n\"a\",\"b\"\n\"c\",\"d\"\n")
                                       << QStringList{"a", "b", "c", "d"};
    QTest::newRow("layout free, blank lines")
        << QByteArray("2,\"a\"\r\n\r\n\"b\"\r\n\"c\",\"d\"") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("empty unquoted value before a line end")
        << QByteArray("2\r\na,\r\n \"b\"junk,\"c\"") << QStringList{"a", "", "b", "c"};
    QTest::newRow("unclosed quote runs to the end") << QByteArray("1\r\nx,\"a,b\r\nc") << QStringList{"x", "a,b\r\nc"};
    QTest::newRow("empty quoted values") << QByteArray("1\r\n\"\",\"\"\r\n") << QStringList{"", ""};
    QTest::newRow("code page 936") << wordFile({{"tanker", tanker}}) << tankerPair;
    QTest::newRow("UTF-8 with BOM") << "\xEF\xBB\xBF" + wordFile({{"tanker", "x"}}).replace("x", tanker.toUtf8())
                                    << tankerPair;
    QTest::newRow("UTF-8 without BOM") << wordFile({{"tanker", "x"}}).replace("x", tanker.toUtf8()) << tankerPair;
    // 头 in code page 936 is CD B7, which is also a valid two-byte UTF-8 sequence.
    QTest::newRow("short code page 936 that passes for UTF-8")
        << wordFile({{"head", QStringLiteral("n.头")}}) << QStringList{"head", QStringLiteral("n.头")};
    QTest::newRow("rest after last record ignored")
        << QByteArray("1\r\n\"a\",\"b\"\r\n\"c\",\"d\"\r\n5\r\n") << QStringList{"a", "b"};
    QTest::newRow("count 0") << QByteArray("0\r\n") << QStringList{};
}

void tst_LibraryTables::wordFileLoads()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, values);
    WordLibrary lib;
    QString problem;
    QVERIFY2(WordLibrary::parse(file, lib, problem), qPrintable(problem));
    QCOMPARE(allValues(lib), values);
    QCOMPARE(lib.words(0), QString());
    QCOMPARE(lib.words(lib.wordCount() + 1), QString());
    QCOMPARE(lib.meanings(lib.wordCount() + 1), QString());
}

void tst_LibraryTables::wordFileFails_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("named");

    QTest::newRow("empty file") << QByteArray("") << QStringLiteral("单词数");
    QTest::newRow("count 32767") << QByteArray("32767\r\n") << QStringLiteral("“32767”");
    QTest::newRow("negative count") << QByteArray("-1\r\n") << QStringLiteral("“-1”");
    QTest::newRow("count beyond 16 bits") << QByteArray("40000\r\n") << QStringLiteral("“40000”");
    QTest::newRow("count not a number") << QByteArray("\"ab\"\r\n") << QStringLiteral("“ab”");
    QTest::newRow("ends before a headword")
        << wordFile({{"a", "b"}, {"c", "d"}}).replace("2\r\n", "3\r\n") << QStringLiteral("第 3 个单词的词条");
    QTest::newRow("ends before a meaning")
        << QByteArray("2\r\n\"a\",\"b\"\r\n\"c\"") << QStringLiteral("第 2 个单词的释义");
}

void tst_LibraryTables::wordFileFails()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, named);
    WordLibrary lib;
    QString problem;
    QVERIFY(WordLibrary::parse(wordFile({{"kept", "x"}}), lib, problem));
    QVERIFY(!WordLibrary::parse(file, lib, problem));
    QVERIFY2(problem.contains(named), qPrintable(problem));
    QCOMPARE(allValues(lib), QStringList({"kept", "x"}));
}

void tst_LibraryTables::associationGroups_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("wordCount");
    QTest::addColumn<QStringList>("groups"); // per word: its pairs joined by '|', or the problem
    QTest::addColumn<bool>("loads");

    const std::vector<Pair> two{{"x", tanker}, {"y", "z"}};
    QTest::newRow("group count equal to maxAssoc")
        << associationFile({two, {}}, 2) << 2 << QStringList{"x|" + tanker + "|y|z", ""} << true;
    QTest::newRow("more groups than words") << associationFile({{{"p", "q"}}, two}) << 1 << QStringList{"p|q"} << true;
    QTest::newRow("no words, only maxAssoc") << QByteArray("0\r\n") << 0 << QStringList{} << true;
    QTest::newRow("group count above maxAssoc")
        << associationFile({{}, two}, 1) << 2 << QStringList{QStringLiteral("第 2 组")} << false;
    QTest::newRow("negative group count")
        << QByteArray("3\r\n0\r\n-1\r\n") << 2 << QStringList{QStringLiteral("第 2 组")} << false;
    QTest::newRow("negative maxAssoc") << QByteArray("-2\r\n0\r\n") << 1 << QStringList{QStringLiteral("上限")}
                                       << false;
    QTest::newRow("fewer groups than words")
        << associationFile({two}) << 3 << QStringList{QStringLiteral("第 2 组")} << false;
    QTest::newRow("pair cut short") << associationFile({two}).chopped(6) << 1
                                    << QStringList{QStringLiteral("第 1 组的第 2 个联想词的释义")} << false;
}

void tst_LibraryTables::associationGroups()
{
    QFETCH(QByteArray, file);
    QFETCH(int, wordCount);
    QFETCH(QStringList, groups);
    QFETCH(bool, loads);

    AssociationTable table;
    QString problem;
    QCOMPARE(AssociationTable::parse(file, qint16(wordCount), table, problem), loads);
    if (!loads) {
        QVERIFY2(problem.contains(groups.first()), qPrintable(problem));
        QCOMPARE(table.assocCounts(1), 0);
        return;
    }
    QStringList got;
    for (int i = 1; i <= wordCount; ++i) {
        QStringList pairs;
        for (int k = 1; k <= table.assocCounts(i); ++k)
            pairs << table.assocWords(i, k) << table.assocMeanings(i, k);
        got << pairs.join('|');
        QCOMPARE(table.assocWords(i, table.assocCounts(i) + 1), QString());
        QCOMPARE(table.assocWords(i, 0), QString());
    }
    QCOMPARE(got, groups);
    QCOMPARE(table.assocCounts(0), 0);
    QCOMPARE(table.assocCounts(wordCount + 1), 0);
}

void tst_LibraryTables::largestWordCountLoads()
{
    std::vector<Pair> records;
    for (int i = 1; i <= WordLibrary::maxWordCount; ++i)
        records.push_back({QString::number(i), QStringLiteral("m")});
    WordLibrary lib;
    QString problem;
    QVERIFY2(WordLibrary::parse(wordFile(records), lib, problem), qPrintable(problem));
    QCOMPARE(lib.wordCount(), 32766);
    QCOMPARE(lib.words(32766), QStringLiteral("32766"));
    QCOMPARE(lib.find(QStringLiteral("32766")), 32766);
}

void tst_LibraryTables::hugeCapacityStaysSmall()
{
    AssociationTable table;
    QString problem;
    QVERIFY(AssociationTable::parse("32767\r\n1\r\n\"a\",\"b\"\r\n0\r\n0\r\n", 3, table, problem));
    QCOMPARE(table.maxAssoc(), 32767);
    QVERIFY2(table.heldBytes() < 1024, qPrintable(QString::number(table.heldBytes())));
}

void tst_LibraryTables::lookUp_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("headword");
    QTest::addColumn<int>("index");

    const QByteArray words = wordFile({{"run", "1"},
                                       {"Run", "2"},
                                       {"run", "3"},
                                       {QStringLiteral("café"), "4"},
                                       {QStringLiteral("中文"), "5"},
                                       {"a?", "6"}});
    QTest::newRow("repeated headword gives the first") << words << "run" << 1;
    QTest::newRow("case-sensitive") << words << "Run" << 2;
    QTest::newRow("absent") << words << "walk" << 0;
    QTest::newRow("empty text") << words << "" << 0;
    QTest::newRow("prefix is not a match") << words << "ru" << 0;
    QTest::newRow("accented, code page 936") << words << QStringLiteral("café") << 4;
    QTest::newRow("Chinese, code page 936") << words << QStringLiteral("中文") << 5;
    QTest::newRow("Chinese, UTF-8") << QString(QStringLiteral("2\r\n\"x\",\"\"\r\n\"中文\",\"\"\r\n")).toUtf8()
                                    << QStringLiteral("中文") << 2;
    // The code page cannot hold the emoji; its '?' stand-in must not match "a?".
    QTest::newRow("character outside the code page") << words << QStringLiteral("a😀") << 0;
}

void tst_LibraryTables::lookUp()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, headword);
    QFETCH(int, index);
    WordLibrary lib;
    QString problem;
    QVERIFY2(WordLibrary::parse(file, lib, problem), qPrintable(problem));
    QCOMPARE(lib.find(headword), index);
}

QTEST_GUILESS_MAIN(tst_LibraryTables)
#include "tst_LibraryTables.moc"
