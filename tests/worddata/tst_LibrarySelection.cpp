#include "worddata/LibrarySelection.h"
#include "common/LibraryFixtures.h"
#include "common/TempProgramFolder.h"

#include <QDir>
#include <QTest>

using namespace LibraryFixtures;

namespace {

class FakeDialog : public LibraryFileDialog
{
public:
    std::optional<QString> getOpenFileName(const QString &title, const QString &filter,
                                           const QString &startFolder) override
    {
        shown << title << filter << startFolder;
        return answer;
    }
    std::optional<QString> answer;
    QStringList shown;
};

} // namespace

class tst_LibrarySelection : public QObject
{
    Q_OBJECT

private slots:
    void fenli_data();
    void fenli();
    void choose_data();
    void choose();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
};

void tst_LibrarySelection::fenli_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("drive and folders") << "C:\\a\\b\\name"
                                       << "name";
    QTest::newRow("no separator") << "name"
                                  << "name";
    QTest::newRow("trailing separator") << "C:\\a\\"
                                        << "";
    QTest::newRow("slashes") << "/home/u/词库/cet4"
                             << "cet4";
    QTest::newRow("mixed, last one counts") << "C:/a\\b/c"
                                            << "c";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_LibrarySelection::fenli()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QString ffile = path;
    QString bfile = "stale";
    LibrarySelection::fenli(ffile, bfile);
    QCOMPARE(bfile, name);
    QCOMPARE(ffile, path);
    LibrarySelection::fenli(ffile, ffile);
    QCOMPARE(ffile, name);
}

void tst_LibrarySelection::choose_data()
{
    QTest::addColumn<QString>("picked"); // relative to the data folder
    QTest::addColumn<QString>("loaded");
    QTest::newRow("file in the library folder") << "词库/cet4.qd"
                                                << "cet4";
    QTest::newRow("same name elsewhere loads the library folder's") << "elsewhere/cet4.qd"
                                                                    << "cet4";
    QTest::newRow("typed without extension") << "词库/abcdef"
                                             << "abc";
    QTest::newRow("reopening the open library") << "词库/old.qd"
                                                << "old";
}

void tst_LibrarySelection::choose()
{
    QFETCH(QString, picked);
    QFETCH(QString, loaded);
    TempProgramFolder data;
    writeLibrary(data.path(), "old", wordFile({{"old", "o"}}), associationFile({{}}));
    writeLibrary(data.path(), "cet4", wordFile({{"cet4", "t"}}), associationFile({{}}));
    writeLibrary(data.path(), "abc", wordFile({{"abc", "t"}}), associationFile({{}}));
    data.write("elsewhere/cet4.qd", wordFile({{"impostor", "i"}}));

    OpenLibrary library;
    FakeDialog dialog;
    FakeLibraryHost host;
    dialog.answer = data.file("词库/old.qd");
    LibrarySelection::mnuciku_Click(library, data.path(), dialog, host);
    QCOMPARE(library.libraryName, QStringLiteral("old"));

    dialog.answer = data.file(picked);
    dialog.shown.clear();
    host.calls.clear();
    LibrarySelection::mnuciku_Click(library, data.path(), dialog, host);
    QCOMPARE(dialog.shown, QStringList({QStringLiteral("选择词库"), QStringLiteral("Tesmar单词Graxo词库(*.qd)"),
                                        QDir::toNativeSeparators(data.file("词库"))}));
    QCOMPARE(host.calls, QStringList({"reset", "opened:" + loaded}));
    QCOMPARE(library.libraryName, loaded);
    QCOMPARE(library.previousLibraryName, QStringLiteral("old"));
    QCOMPARE(library.wordLibrary().words(1), loaded);
}

void tst_LibrarySelection::cancelChangesNothing_data()
{
    QTest::addColumn<bool>("libraryFolderThere");
    QTest::newRow("cancel in the dialog") << true;
    QTest::newRow("no library folder, no dialog") << false;
}

void tst_LibrarySelection::cancelChangesNothing()
{
    QFETCH(bool, libraryFolderThere);
    TempProgramFolder data;
    if (libraryFolderThere)
        QDir(data.path()).mkpath("词库");
    OpenLibrary library;
    FakeDialog dialog;
    FakeLibraryHost host;
    LibrarySelection::mnuciku_Click(library, data.path(), dialog, host);
    QCOMPARE(dialog.shown.size(), libraryFolderThere ? 3 : 0);
    QVERIFY(host.calls.isEmpty());
    QCOMPARE(library.libraryName, QString());
    QVERIFY(!library.isOpen());
}

QTEST_GUILESS_MAIN(tst_LibrarySelection)
#include "tst_LibrarySelection.moc"
