#include "worddata/OpenLibrary.h"
#include "common/LibraryFixtures.h"
#include "common/TempProgramFolder.h"
#include "platform/AnsiText.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

using namespace LibraryFixtures;

class tst_OpenLibrary : public QObject
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
    void openLibraryOutlivesItsFiles_data();
    void openLibraryOutlivesItsFiles();
    void filesRewrittenDuringLoads();
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

// A library large enough that its association file is held in mapped memory rather than
// on the heap: words "<tag>1".."<tag>N", word i with i % 40 associations "<tag>i.k".
struct BigLibrary
{
    QByteArray words;
    QByteArray associations;
    int wordCount = 0;

    BigLibrary(const char *tag, int count)
        : wordCount(count)
    {
        const QByteArray meaning = AnsiText::encode(QStringLiteral("释义"));
        words = QByteArray::number(count) + "\r\n";
        associations = "39\r\n";
        for (int i = 1; i <= count; ++i) {
            const QByteArray word = tag + QByteArray::number(i);
            words += '"' + word + "\",\"" + meaning + QByteArray::number(i) + "\"\r\n";
            associations += QByteArray::number(i % 40) + "\r\n";
            for (int k = 1; k <= i % 40; ++k)
                associations += '"' + word + '.' + QByteArray::number(k) + "\",\"" + meaning + "\"\r\n";
        }
    }

    // Empty when the library shows these words and associations (every 97th word and the
    // last, in full), else the first difference.
    QString differenceFrom(const OpenLibrary &library, const char *tag) const
    {
        const WordLibrary &w = library.wordLibrary();
        const AssociationTable &a = library.associations();
        if (w.wordCount() != wordCount)
            return QStringLiteral("wordCount %1").arg(w.wordCount());
        for (int i = 1; i <= wordCount; i = i + 97 > wordCount && i != wordCount ? wordCount : i + 97) {
            const QString word = QLatin1String(tag) + QString::number(i);
            if (w.words(i) != word || w.meanings(i) != QStringLiteral("释义%1").arg(i) || a.assocCounts(i) != i % 40)
                return QStringLiteral("word %1").arg(i);
            for (int k = 1; k <= i % 40; ++k) {
                if (a.assocWords(i, k) != word + '.' + QString::number(k) ||
                    a.assocMeanings(i, k) != QStringLiteral("释义"))
                    return QStringLiteral("association %1, %2").arg(i).arg(k);
            }
        }
        return {};
    }
};

void overwrite(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

void tst_OpenLibrary::loadsByNameFromDataFolder()
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

void tst_OpenLibrary::associationMissing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("hiddenFileThere");
    QTest::newRow("no file") << "cet6" << false;
    QTest::newRow("hidden file") << ".cet6" << true;
}

void tst_OpenLibrary::associationMissing()
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

void tst_OpenLibrary::failedLoadKeepsPrevious_data()
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

void tst_OpenLibrary::failedLoadKeepsPrevious()
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

void tst_OpenLibrary::failedFirstLoadLeavesNoLibrary()
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

void tst_OpenLibrary::secondLoadReplacesEverything()
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

// The companion may rewrite or shorten the files of the open library; what the window
// shows must stay the library as it was loaded.
void tst_OpenLibrary::openLibraryOutlivesItsFiles_data()
{
    QTest::addColumn<QByteArray>("words");
    QTest::addColumn<QByteArray>("associations");
    const BigLibrary same("w", 3000);
    const BigLibrary other("z", 10);
    QTest::newRow("both emptied") << QByteArray("") << QByteArray("");
    QTest::newRow("rewritten, shorter") << other.words << other.associations;
    QTest::newRow("association file cut in half")
        << same.words << same.associations.first(same.associations.size() / 2);
}

void tst_OpenLibrary::openLibraryOutlivesItsFiles()
{
    QFETCH(QByteArray, words);
    QFETCH(QByteArray, associations);
    TempProgramFolder data;
    const BigLibrary big("w", 3000);
    QVERIFY(big.associations.size() > 1 << 20);
    writeLibrary(data.path(), "big", big.words, big.associations);
    OpenLibrary library;
    library.libraryName = "big";
    FakeLibraryHost host;
    QCOMPARE(library.openwordfile(data.path(), host), OpenLibrary::LoadResult::Loaded);

    overwrite(OpenLibrary::wordFilePath(data.path(), "big"), words);
    overwrite(OpenLibrary::associationFilePath(data.path(), "big"), associations);
    QCOMPARE(big.differenceFrom(library, "w"), QString());
}

// Loads while another program keeps rewriting both files: each load either gives one of
// the two libraries or fails with a message; none crashes.
void tst_OpenLibrary::filesRewrittenDuringLoads()
{
    TempProgramFolder data;
    const BigLibrary first("a", 3000);
    const BigLibrary second("b", 2000);
    writeLibrary(data.path(), "busy", first.words, first.associations);
    const QString wordPath = OpenLibrary::wordFilePath(data.path(), "busy");
    const QString associationPath = OpenLibrary::associationFilePath(data.path(), "busy");

    std::atomic<bool> stop = false;
    std::thread companion([&] {
        for (int round = 0; !stop; ++round) {
            const BigLibrary &next = round % 2 ? first : second;
            QFile w(wordPath);
            QFile a(associationPath);
            if (w.open(QIODevice::WriteOnly | QIODevice::Truncate))
                w.write(next.words);
            if (a.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                a.write(next.associations.first(next.associations.size() / 2));
                a.flush();
                a.write(next.associations.sliced(next.associations.size() / 2));
            }
            // Room for some loads to find whole files.
            std::this_thread::sleep_for(std::chrono::milliseconds(3 * (round % 3)));
        }
    });
    int loaded = 0;
    for (int attempt = 0; attempt < 30; ++attempt) {
        OpenLibrary library;
        library.libraryName = "busy";
        FakeLibraryHost host;
        const OpenLibrary::LoadResult result = library.openwordfile(data.path(), host);
        if (result == OpenLibrary::LoadResult::Loaded) {
            ++loaded;
            const int count = library.wordLibrary().wordCount();
            QVERIFY2(count == 3000 || count == 2000, qPrintable(QString::number(count)));
            // Every value is reached, as the board would over time.
            for (int i = 1; i <= count; ++i) {
                const int pairs = library.associations().assocCounts(i);
                QVERIFY(!library.wordLibrary().words(i).isEmpty());
                QVERIFY(library.associations().assocWords(i, pairs).isEmpty() == (pairs == 0));
            }
        } else {
            QCOMPARE(result, OpenLibrary::LoadResult::Failed);
            QVERIFY2(host.calls.last().startsWith("message:《busy》无法打开"), qPrintable(host.calls.last()));
        }
    }
    stop = true;
    companion.join();

    writeLibrary(data.path(), "busy", first.words, first.associations);
    OpenLibrary library;
    library.libraryName = "busy";
    FakeLibraryHost host;
    QCOMPARE(library.openwordfile(data.path(), host), OpenLibrary::LoadResult::Loaded);
    QCOMPARE(first.differenceFrom(library, "a"), QString());
    qDebug("%d of 30 loads during the rewrites succeeded", loaded);
}

QTEST_GUILESS_MAIN(tst_OpenLibrary)
#include "tst_OpenLibrary.moc"
