#include "common/LibraryFixtures.h"
#include "common/TempProgramFolder.h"
#include "platform/AnsiText.h"
#include "worddata/OpenLibrary.h"
#include "wordlist/LibraryFromList.h"
#include "wordlist/WordTables.h"

#include <QSet>
#include <QTest>

using namespace LibraryFixtures;

class tst_LibraryFromList : public QObject
{
    Q_OBJECT

    WordTables tables_;

    // Makes the library and reads it back with the program's own loader.
    LibraryFromList::Outcome make(const TempProgramFolder &data, const QByteArray &list, const QString &name,
                                  OpenLibrary &library)
    {
        data.write(QStringLiteral("list.txt"), list);
        const LibraryFromList::Request request{
            .listPath = data.file(QStringLiteral("list.txt")), .name = name, .dataFolder = data.path()};
        const LibraryFromList::Outcome outcome = LibraryFromList::make(request, tables_);
        FakeLibraryHost host;
        library.libraryName = name;
        if (outcome.status == LibraryFromList::Status::Made)
            library.openwordfile(data.path(), host);
        return outcome;
    }

private slots:
    void initTestCase()
    {
        QString problem;
        QVERIFY2(tables_.open(QStringLiteral(DORRIT_SOURCE_DIR "/resources/wordtables/words.dwt"), problem),
                 qPrintable(problem));
    }

    void lists_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("name");
        // "word=meaning|..." as loaded ("~": some meaning from the dictionary), or "!" and part
        // of the message when nothing may be written.
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("report"); // part of the report

        const auto distinctWords = [](int n) {
            QByteArray list;
            for (int i = 0; i < n; ++i)
                list += "w" + QByteArray::number(i) + '\n';
            return list;
        };
        const auto row = [](const char *tag, const QByteArray &list, const QString &expected,
                            const QString &report = QString(), const QString &name = QStringLiteral("单元1")) {
            QTest::newRow(tag) << list << name << expected << report;
        };
        row("plain", "abandon\nhappy\n", "abandon=~|happy=~", QStringLiteral("写入 2 个单词"));
        row("tab", "abandon\tv.放弃\textra\n", "abandon=v.放弃", QStringLiteral("词表自带 1 个"));
        row("comma", "abandon,v.放弃；舍弃\n", "abandon=v.放弃；舍弃");
        row("semicolon before a comma", "abandon; v.放弃,舍弃 \n", "abandon=v.放弃,舍弃");
        row("quoted fields", "\"hello, world\",\"say \"\"hi\"\"\"\n", "hello, world=say hi");
        row("empty meaning field", "happy,\n", "happy=~");
        row("UTF-8 with BOM, CR LF",
            "\xEF\xBB\xBF"
            "apple\r\n苹果树,n.果树\r\n",
            "apple=~|苹果树=n.果树");
        row("code page 936", AnsiText::encode(u"香蕉,n.香蕉\r\nbanana\r\n"), "香蕉=n.香蕉|banana=~");
        row("duplicates, case kept", "Apple\napple\nApple\tn.别的\n", "Apple=~|apple=~");
        row("comments and blank lines", "# unit 1\n\n   \nworld\n  # world\n", "world=~");
        row("phrases and forms", "ice cream\nto abandon\nApples\nstopped\n",
            "ice cream=~|to abandon=~|Apples=~|stopped=~");
        row("not in the dictionary", "qzxv\nhappy\n", "qzxv=|happy=~",
            QStringLiteral("没有找到释义（释义留空）：qzxv"));
        row("outside code page 936", "smile\nsmile 😀,笑\nhappy\n", "smile=~|happy=~",
            QStringLiteral("第 2 行“smile 😀”"));
        row("line of 1,000 bytes", QByteArray(1000, 'a') + "\r\n", QString(1000, u'a') + u'=');
        row("32,766 words", distinctWords(32766), QString(), QStringLiteral("写入 32766 个单词"));
        row("a word with a quote", "say \"hi\"\nhappy\n", "happy=~",
            QStringLiteral("第 1 行“say \"hi\"”：单词含有双引号"));

        row("empty", "", QStringLiteral("!没有单词"));
        row("only text it cannot write", "😀\n", QStringLiteral("!1 个单词写不进词库"));
        row("binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), QStringLiteral("!不是文本文件"));
        row("UTF-16", QByteArray::fromHex("fffe61006200"), QStringLiteral("!UTF-16"));
        row("neither UTF-8 nor 936", "ab\xFF\xFF\n", QStringLiteral("!既不是 UTF-8 也不是 GBK"));
        row("line over 1,000 bytes", "ok\n" + QByteArray(1001, 'a'), QStringLiteral("!第 2 行有 1001 字节"));
        row("32,767 words", distinctWords(32767), QStringLiteral("!32767 个不同的单词"));
        row("name with a separator", "ok\n", QStringLiteral("!不能用作词库名"), QString(), QStringLiteral("a/b"));
        row("data folder cannot be written", "happy\n", QStringLiteral("!无法建立文件夹"));
        row("device name", "ok\n", QStringLiteral("!设备名"), QString(), QStringLiteral("Con"));
    }
    void lists()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QFETCH(QString, report);
        TempProgramFolder data;
        if (QTest::currentDataTag() == QLatin1String("data folder cannot be written"))
            data.write(QStringLiteral("词库"), "a file where the folder belongs");
        OpenLibrary library;
        const LibraryFromList::Outcome outcome = make(data, list, name, library);
        QVERIFY2(outcome.text.contains(expected.startsWith(u'!') ? expected.mid(1) : report), qPrintable(outcome.text));
        if (expected.startsWith(u'!')) {
            QCOMPARE(outcome.status, LibraryFromList::Status::Failed);
            QVERIFY(!data.exists(QStringLiteral("词库/") + name + ".qd") && !data.exists(QStringLiteral("联想词库")));
            return;
        }
        QCOMPARE(outcome.status, LibraryFromList::Status::Made);
        QVERIFY(library.isOpen());
        const WordLibrary &words = library.wordLibrary();
        const AssociationTable &assoc = library.associations();
        std::vector<Pair> records;
        std::vector<std::vector<Pair>> groups;
        const QStringList given = expected.split(u'|', Qt::SkipEmptyParts);
        QStringList loaded;
        for (int i = 1; i <= words.wordCount(); ++i) {
            records.push_back({words.words(i), words.meanings(i)});
            const bool fromDictionary = given.value(i - 1).endsWith(u'~') && !words.meanings(i).isEmpty();
            loaded << words.words(i) + u'=' + (fromDictionary ? QStringLiteral("~") : words.meanings(i));
            groups.emplace_back();
            for (int k = 1; k <= assoc.assocCounts(i); ++k)
                groups.back().push_back({assoc.assocWords(i, k), assoc.assocMeanings(i, k)});
        }
        if (!given.isEmpty())
            QCOMPARE(loaded, given);
        // Byte for byte what the companion writes for the same records and groups.
        QCOMPARE(data.read(QStringLiteral("词库/") + name + QStringLiteral(".qd")), wordFile(records));
        QCOMPARE(data.read(QStringLiteral("联想词库/") + name + QStringLiteral(".the")), associationFile(groups));
    }

    // A list of common words: the sample library's headwords, each made into a library entry.
    void sampleHeadwords()
    {
        OpenLibrary sample;
        FakeLibraryHost host;
        sample.libraryName = QStringLiteral("sample");
        QCOMPARE(sample.openwordfile(QStringLiteral(DORRIT_SOURCE_DIR "/resources/programfolder"), host),
                 OpenLibrary::LoadResult::Loaded);
        QByteArray list;
        for (int i = 1; i <= sample.wordLibrary().wordCount(); ++i)
            list += sample.wordLibrary().words(i).toUtf8() + '\n';
        TempProgramFolder data;
        OpenLibrary made;
        QCOMPARE(make(data, list, QStringLiteral("common"), made).status, LibraryFromList::Status::Made);
        const WordLibrary &words = made.wordLibrary();
        const AssociationTable &assoc = made.associations();
        int withMeaning = 0, withAssociation = 0;
        for (int i = 1; i <= words.wordCount(); ++i) {
            withMeaning += !words.meanings(i).isEmpty();
            withAssociation += assoc.assocCounts(i) > 0;
            QVERIFY(assoc.assocCounts(i) <= LibraryMaker::maxAssociations);
            QSet<QString> seen;
            bool listWords = true;
            for (int k = 1; k <= assoc.assocCounts(i); ++k) {
                const QString w = assoc.assocWords(i, k);
                // Never the word itself, none twice, each with its meaning.
                QVERIFY2(w.compare(words.words(i), Qt::CaseInsensitive) && !seen.contains(w.toLower()) &&
                             !assoc.assocMeanings(i, k).isEmpty(),
                         qPrintable(words.words(i) + u' ' + w));
                seen << w.toLower();
                const int own = words.find(w);
                QVERIFY2(own == 0 || listWords,
                         qPrintable(words.words(i) + QStringLiteral(": list words first: ") + w));
                listWords = own != 0;
                if (own)
                    QCOMPARE(assoc.assocMeanings(i, k), words.meanings(own));
            }
        }
        const double meaningShare = double(withMeaning) / words.wordCount();
        const double associationShare = double(withAssociation) / words.wordCount();
        qInfo("%d headwords: %.1f %% with a meaning, %.1f %% with an association", int(words.wordCount()),
              100 * meaningShare, 100 * associationShare);
        QVERIFY(meaningShare >= 0.95);
        QVERIFY(associationShare >= 0.90);
    }
};

QTEST_GUILESS_MAIN(tst_LibraryFromList)
#include "tst_LibraryFromList.moc"
