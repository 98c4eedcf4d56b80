#include "common/TempProgramFolder.h"
#include "wordbook/Wordbook.h"
#include "wordbook/WordbookExport.h"
#include "wordlist/WordTables.h"

#include <QMap>
#include <QTest>

// The notes of a wordbook read back from its files, as a flashcard program imports them.
class tst_WordbookExport : public QObject
{
    Q_OBJECT
private slots:
    // clang-format off
    void notes_data()
    {
        QTest::addColumn<QStringList>("entry"); // word, meaning, library, then association pairs
        QTest::addColumn<QStringList>("note");
        QTest::newRow("five associations of six, the pronunciation from the tables")
            << QStringList{"abandon", "v.放弃", "cet4", "a1", "m1", "a2", "m2", "a3", "m3", "a4", "m4", "a5", "", "a6", "m6"}
            << QStringList{"abandon", "v.放弃", "/əˈbændən/", "a1 m1 / a2 m2 / a3 m3 / a4 m4 / a5", "cet4"};
        QTest::newRow("unknown to the tables, from no library: the wordbook's tag")
            << QStringList{"qzxv", "", ""} << QStringList{"qzxv", "", "", "", "生词本"};
        QTest::newRow("tabs and line ends made spaces, a leading # quoted, spaces in a tag joined")
            << QStringList{"#1", "a\tb\r\nc", " 单元 2\t甲", "x\ty", "m"}
            << QStringList{"\"#1\"", "a b  c", "", "x y m", "单元_2_甲"};
    }
    // clang-format on
    void notes()
    {
        QFETCH(QStringList, entry);
        const TempProgramFolder folder;
        Wordbook::Entry kept{entry[0], entry[1], {}, entry[2]};
        for (qsizetype k = 3; k + 1 < entry.size(); k += 2)
            kept.associations.append({entry[k], entry[k + 1]});
        QCOMPARE(Wordbook(folder.path()).add(kept), Wordbook::Change::Done);
        WordTables tables;
        QString problem;
        QVERIFY2(tables.open(DORRIT_SOURCE_DIR "/resources/wordtables/words.dwt", problem), qPrintable(problem));
        Wordbook read(folder.path());
        QVERIFY(read.read());
        const QByteArray notes = WordbookExport::notes(read, [&](const QString &w) { return tables.phonetic(w); });

        // Anki's documented header lines lead: a separator it names, plain text, a name for each
        // field of a note, the tags in the last of them; no key it does not know.
        const QStringList lines = QString::fromUtf8(notes).split('\n');
        QCOMPARE(QString::fromUtf8(notes).toUtf8(), notes);
        QMap<QString, QString> header;
        qsizetype n = 0;
        for (; lines[n].startsWith('#'); ++n)
            header.insert(lines[n].section(':', 0, 0), lines[n].section(':', 1));
        QCOMPARE(header.keys(), QStringList({"#columns", "#html", "#separator", "#tags column"}));
        QCOMPARE(header["#separator"] + header["#html"], "tabfalse");
        const QStringList columns = header["#columns"].split('\t');
        QCOMPARE(header["#tags column"].toInt(), columns.size());
        // One note a line, as many fields as columns, each as expected.
        QCOMPARE(lines.mid(n + 1), QStringList{""});
        QCOMPARE(lines[n].split('\t').size(), columns.size());
        QTEST(lines[n].split('\t'), "note");
    }
};

QTEST_GUILESS_MAIN(tst_WordbookExport)
#include "tst_WordbookExport.moc"
