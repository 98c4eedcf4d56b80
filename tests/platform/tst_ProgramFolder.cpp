#include "common/TempProgramFolder.h"
#include "platform/InstalledFiles.h"
#include "platform/ProgramFolder.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

// What an installation ships, as it lies under share/ (or beside a portable executable).
void writeInstalled(const TempProgramFolder &installed)
{
    for (const char *name : {"011.jpg", "012.jpg", "013.jpg", "vorn1.jpg", "vorn2.jpg", "vorn3.jpg"})
        installed.write(name, "default picture " + QByteArray(name));
    installed.write("词库/sample.qd", "words");
    installed.write("词库/LICENSE-data.txt", "licence");
    installed.write("联想词库/sample.the", "associations");
    installed.write("联想词库/LICENSE-data.txt", "licence");
    installed.write("Tesmar单词Dorrit.chm", "help, this version");
    // As a package installs them: nobody may change them.
    QDirIterator it(installed.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        QFile::setPermissions(it.next(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

const QStringList kAllInstalled = {"011.jpg",
                                   "012.jpg",
                                   "013.jpg",
                                   "Tesmar单词Dorrit.chm",
                                   "vorn1.jpg",
                                   "vorn2.jpg",
                                   "vorn3.jpg",
                                   "联想词库/LICENSE-data.txt",
                                   "联想词库/sample.the",
                                   "词库/LICENSE-data.txt",
                                   "词库/sample.qd"};

} // namespace

class tst_ProgramFolder : public QObject
{
    Q_OBJECT
private slots:
    void choose_data()
    {
        QTest::addColumn<QString>("systemFiles"); // "folder", "file" or "none"
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("folder");         // "exe" or "user"
        QTest::addColumn<QString>("installedFiles"); // "", "exe" or "system"
        QTest::newRow("portable, writable") << "none" << true << "exe"
                                            << "";
        QTest::newRow("portable, read-only") << "none" << false << "user"
                                             << "exe";
        QTest::newRow("system layout, read-only") << "folder" << false << "user"
                                                  << "system";
        QTest::newRow("system layout that root could write") << "folder" << true << "user"
                                                             << "system";
        QTest::newRow("a file where the system's folder would be") << "file" << true << "exe"
                                                                   << "";
    }
    void choose()
    {
        QFETCH(QString, systemFiles);
        QFETCH(bool, writable);
        QFETCH(QString, folder);
        QFETCH(QString, installedFiles);
        TempProgramFolder root;
        ProgramFolder::Places places;
        places.executableFolder = root.file("bin");
        places.systemInstalledFiles = root.file("share/tesmar-dorrit");
        places.userFolder = root.file("home/.local/share/dorrit");
        QDir().mkpath(places.executableFolder);
        if (systemFiles == "folder")
            QDir().mkpath(places.systemInstalledFiles);
        else if (systemFiles == "file")
            root.write("share/tesmar-dorrit", "not a folder");
        QStringList asked;
        const auto choice = ProgramFolder::choose(places, [&](const QString &f) {
            asked << f;
            return writable;
        });
        const QHash<QString, QString> names = {{"exe", places.executableFolder},
                                               {"user", places.userFolder},
                                               {"system", places.systemInstalledFiles},
                                               {"", QString()}};
        QCOMPARE(choice.folder, names[folder]);
        QCOMPARE(choice.installedFiles, names[installedFiles]);
        QVERIFY(asked.isEmpty() || asked == QStringList{places.executableFolder});
    }

    void isWritable()
    {
        TempProgramFolder folder;
        QVERIFY(ProgramFolder::isWritable(folder.path()));
        QVERIFY(!ProgramFolder::isWritable(folder.file("missing")));
        folder.write("a file", "x");
        QVERIFY(!ProgramFolder::isWritable(folder.file("a file")));
        QCOMPARE(filesUnder(folder.path()), QStringList{"a file"});
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool writable = ProgramFolder::isWritable(folder.path());
        QFile anyway(folder.file("written anyway"));
        const bool rootWrites = anyway.open(QIODevice::WriteOnly);
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (rootWrites)
            QSKIP("Permissions do not stop this user (root); the end-to-end test runs a read-only folder as nobody");
        QVERIFY(!writable);
    }

    void newFolderGetsEverything_data()
    {
        QTest::addColumn<bool>("existsEmpty");
        QTest::newRow("missing") << false;
        QTest::newRow("empty") << true;
    }
    void newFolderGetsEverything()
    {
        QFETCH(bool, existsEmpty);
        TempProgramFolder installed;
        writeInstalled(installed);
        TempProgramFolder home;
        const QString user = home.file(".local/share/Tesmar单词Dorrit");
        if (existsEmpty)
            QDir().mkpath(user);

        QVERIFY(InstalledFiles::bringInto(installed.path(), user));

        QCOMPARE(filesUnder(user), kAllInstalled);
        for (const QString &name : kAllInstalled) {
            QFile copy(QDir(user).filePath(name));
            QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(name));
            QCOMPARE(copy.readAll(), installed.read(name));
            QVERIFY2(copy.permissions() & QFileDevice::WriteOwner, qPrintable(name));
        }
        // Nothing left beside it from the filling.
        QCOMPARE(QDir(home.file(".local/share")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Tesmar单词Dorrit"});
    }

    // A folder in use: the user's files, and what the first start made of the installed ones.
    void startedFolderKeepsTheUsersFiles_data()
    {
        QTest::addColumn<QStringList>("userFiles");
        QTest::addColumn<QByteArray>("help");
        QTest::newRow("later start") << QStringList{"Dorrit参数.ini", "Dorrit桌面/1024x768/01.jpg", "词库/mine.qd"}
                                     << QByteArray("help, this version");
        QTest::newRow("settings deleted: a second first start")
            << QStringList{"Dorrit桌面/640x480/01.jpg", "Dorrit桌面/1024x768/vorn.jpg"}
            << QByteArray("help, this version");
        QTest::newRow("help deleted") << QStringList{"Dorrit参数.ini"} << QByteArray();
        QTest::newRow("help of an older installation") << QStringList{"Dorrit参数.ini"} << QByteArray("old help");
    }
    void startedFolderKeepsTheUsersFiles()
    {
        QFETCH(QStringList, userFiles);
        QFETCH(QByteArray, help);
        TempProgramFolder installed;
        writeInstalled(installed);
        TempProgramFolder user;
        for (const QString &name : userFiles)
            user.write(name, "the user's " + name.toUtf8());
        if (!help.isEmpty()) {
            user.write("Tesmar单词Dorrit.chm", help);
            QFile old(user.file("Tesmar单词Dorrit.chm"));
            QVERIFY(old.open(QIODevice::ReadWrite));
            old.setFileTime(QDateTime::currentDateTime().addDays(-30), QFileDevice::FileModificationTime);
        }

        QVERIFY(InstalledFiles::bringInto(installed.path(), user.path()));

        QStringList expected = userFiles;
        expected << "Tesmar单词Dorrit.chm";
        expected.sort();
        QCOMPARE(filesUnder(user.path()), expected);
        for (const QString &name : userFiles)
            QCOMPARE(user.read(name), "the user's " + name.toUtf8());
        QCOMPARE(user.read("Tesmar单词Dorrit.chm"), QByteArray("help, this version"));
    }

    // The list names what the build installs, so that a file added there reaches users' folders.
    void namesAreWhatTheBuildInstalls()
    {
        QStringList shipped = QDir(QStringLiteral(DORRIT_SOURCE_DIR "/resources/programfolder"))
                                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        shipped << InstalledFiles::helpFileName;
        shipped.sort();
        QStringList names = InstalledFiles::names;
        names.sort();
        QCOMPARE(names, shipped);
    }
};

QTEST_GUILESS_MAIN(tst_ProgramFolder)
#include "tst_ProgramFolder.moc"
