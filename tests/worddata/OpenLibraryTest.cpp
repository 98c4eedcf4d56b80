#include "worddata/OpenLibrary.h"
#include "common/LibraryFixtures.h"
#include "common/TempProgramFolder.h"
#include "common/TestMain.h"

#include <QDir>
#include <QTest>

using namespace LibraryFixtures;

class OpenLibraryTest : public QObject
{
    Q_OBJECT

private slots:
    void loadsByNameFromDataFolder();
    void associationMissing_data();
    void associationMissing();
    void failedLoadKeepsPrevious_data();
    void failedLoadKeepsPrevious();
    void failedFirstLoadLeavesNoLibrary();
    void secondLoadReplacesEverything();
};

namespace {

const QByteArray oldWords = wordFile({{"old", QStringLiteral("旧")}, {"older", "x"}});
const QByteArray oldAssoc = associationFile({{{"aged", QStringLiteral("老的")}}, {}});

// Loads "old" into library under the name "old", as a successful earlier choice would.
void openOld(const QString &dataFolder, OpenLibrary &library)
{
    writeLibrary(dataFolder, "old", oldWords, oldAssoc);
    FakeLibraryHost host;
    library.libraryName = "old";
    QCOMPARE(library.openwordfile(dataFolder, host), OpenLibrary::LoadResult::Loaded);
}

void verifyOldLibrary(const OpenLibrary &library)
{
    QCOMPARE(library.libraryName, QStringLiteral("old"));
    QVERIFY(library.isOpen());
    QCOMPARE(library.wordLibrary().wordCount(), 2);
    QCOMPARE(library.wordLibrary().meanings(1), QStringLiteral("旧"));
    QCOMPARE(library.wordLibrary().find(QStringLiteral("older")), 2);
    QCOMPARE(library.associations().assocMeanings(1, 1), QStringLiteral("老的"));
}

} // namespace

void OpenLibraryTest::loadsByNameFromDataFolder()
{
    TempProgramFolder data;
    writeLibrary(data.path(), "cet4", wordFile({{"tanker", QStringLiteral("n.油船")}}),
                 associationFile({{{"ship", QStringLiteral("n.船")}}}));
    OpenLibrary library;
    library.libraryName = "cet4";
    FakeLibraryHost host;
    QCOMPARE(library.openwordfile(data.path(), host), OpenLibrary::LoadResult::Loaded);
    QCOMPARE(host.calls, QStringList({"reset", "opened:cet4"}));
    QCOMPARE(library.wordLibrary().words(1), QStringLiteral("tanker"));
    QCOMPARE(library.associations().assocWords(1, 1), QStringLiteral("ship"));
    QCOMPARE(OpenLibrary::wordFilePath(data.path(), "cet4"),
             QDir::toNativeSeparators(data.path() + QStringLiteral("/词库/cet4.qd")));
}

void OpenLibraryTest::associationMissing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("hiddenFileThere");
    QTest::newRow("no file") << "cet6" << false;
    QTest::newRow("hidden file") << ".cet6" << true;
}

void OpenLibraryTest::associationMissing()
{
    QFETCH(QString, name);
    QFETCH(bool, hiddenFileThere);
    TempProgramFolder data;
    OpenLibrary library;
    openOld(data.path(), library);
    writeLibrary(data.path(), name, wordFile({}), hiddenFileThere ? QByteArray("0\r\n") : QByteArray());

    library.previousLibraryName = "old";
    library.libraryName = name;
    FakeLibraryHost host;
    QCOMPARE(library.openwordfile(data.path(), host), OpenLibrary::LoadResult::AssociationMissing);
    QCOMPARE(host.calls,
             QStringList({QStringLiteral("message:《") + name +
                          QStringLiteral("》的联想词库不存在，请用Tesmar单词Graxo的联想词库生成工具生成。")}));
    verifyOldLibrary(library);
}

void OpenLibraryTest::failedLoadKeepsPrevious_data()
{
    QTest::addColumn<QByteArray>("words");
    QTest::addColumn<QByteArray>("associations");
    QTest::addColumn<QString>("faultyFile");
    QTest::addColumn<QString>("named");

    const QByteArray three = wordFile({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    const QByteArray threeGroups = associationFile({{}, {}, {}});
    QTest::newRow("word file missing") << QByteArray() << threeGroups << "词库" << QStringLiteral("不存在");
    QTest::newRow("word file ends early") << three.chopped(8) << threeGroups << "词库" << QStringLiteral("第 3 个单词");
    QTest::newRow("word count 32767") << QByteArray("32767\r\n") << threeGroups << "词库" << QStringLiteral("32767");
    QTest::newRow("negative word count") << QByteArray("-3\r\n") << threeGroups << "词库" << QStringLiteral("-3");
    QTest::newRow("count beyond 16 bits")
        << QByteArray("70000\r\n") << threeGroups << "词库" << QStringLiteral("70000");
    QTest::newRow("negative maxAssoc") << three << QByteArray("-1\r\n0\r\n0\r\n0\r\n") << "联想词库"
                                       << QStringLiteral("上限");
    QTest::newRow("group above maxAssoc")
        << three << QByteArray("1\r\n0\r\n2\r\n") << "联想词库" << QStringLiteral("第 2 组");
    QTest::newRow("fewer groups than words")
        << three << associationFile({{}, {}}) << "联想词库" << QStringLiteral("第 3 组");
}

void OpenLibraryTest::failedLoadKeepsPrevious()
{
    QFETCH(QByteArray, words);
    QFETCH(QByteArray, associations);
    QFETCH(QString, faultyFile);
    QFETCH(QString, named);
    TempProgramFolder data;
    OpenLibrary library;
    openOld(data.path(), library);
    writeLibrary(data.path(), "bad", words, associations);

    library.previousLibraryName = "old";
    library.libraryName = "bad";
    FakeLibraryHost host;
    QCOMPARE(library.openwordfile(data.path(), host), OpenLibrary::LoadResult::Failed);
    QCOMPARE(host.calls.size(), 3);
    QCOMPARE(host.calls.mid(0, 2), QStringList({"reset", "opened:old"}));
    const QString message = host.calls[2];
    const QString path = faultyFile == "词库" ? OpenLibrary::wordFilePath(data.path(), "bad")
                                              : OpenLibrary::associationFilePath(data.path(), "bad");
    QVERIFY2(message.startsWith("message:") && message.contains(path) && message.contains(named) &&
                 message.contains(QStringLiteral("《old》")),
             qPrintable(message));
    verifyOldLibrary(library);
}

void OpenLibraryTest::failedFirstLoadLeavesNoLibrary()
{
    TempProgramFolder data;
    writeLibrary(data.path(), "bad", QByteArray("1\r\n\"a\""), associationFile({{}}));
    OpenLibrary library;
    library.libraryName = "bad";
    FakeLibraryHost host;
    QCOMPARE(library.openwordfile(data.path(), host), OpenLibrary::LoadResult::Failed);
    QCOMPARE(host.calls.mid(0, 2), QStringList({"reset", "none"}));
    QCOMPARE(library.libraryName, QString());
    QVERIFY(!library.isOpen());
    QCOMPARE(library.wordLibrary().wordCount(), 0);
}

void OpenLibraryTest::secondLoadReplacesEverything()
{
    TempProgramFolder data;
    OpenLibrary library;
    openOld(data.path(), library);
    writeLibrary(data.path(), "new", wordFile({{"fresh", "n"}}), associationFile({{}}));
    library.previousLibraryName = "old";
    library.libraryName = "new";
    FakeLibraryHost host;
    QCOMPARE(library.openwordfile(data.path(), host), OpenLibrary::LoadResult::Loaded);
    QCOMPARE(host.calls, QStringList({"reset", "opened:new"}));
    QCOMPARE(library.wordLibrary().wordCount(), 1);
    QCOMPARE(library.wordLibrary().find(QStringLiteral("old")), 0);
    QCOMPARE(library.associations().assocCounts(1), 0);
    QCOMPARE(library.associations().assocWords(1, 1), QString());
}

DORRIT_TEST_CLASS(OpenLibraryTest)
#include "OpenLibraryTest.moc"
