#include "common/LibraryFixtures.h"
#include "common/TempProgramFolder.h"
#include "platform/text/AnsiText.h"
#include "worddata/OpenLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace LibraryFixtures;

namespace {

// Stand for a word file one byte longer than a load may address (made sparse), and for an
// association file that is there but hidden.
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

class tst_OpenLibrary : public QObject
{
    Q_OBJECT
private slots:
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

QTEST_GUILESS_MAIN(tst_OpenLibrary)
#include "tst_OpenLibrary.moc"
