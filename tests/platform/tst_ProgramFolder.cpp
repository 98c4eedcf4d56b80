#include "common/TempProgramFolder.h"
#include "platform/InstalledFiles.h"
#include "platform/ProgramFolder.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QTest>

namespace {

QStringList filesUnder(const QString &folder)
{
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

class tst_ProgramFolder : public QObject
{
    Q_OBJECT
private slots:
    void choose_data()
    {
        QTest::addColumn<QString>("share"); // what stands where a system layout keeps its files
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("installedFiles");
        // clang-format off
        const std::tuple<const char *, const char *, bool, const char *, const char *> rows[] = {
            {"portable, writable", "", true, "bin", ""}, {"portable, read-only", "", false, "user", "bin"},
            {"system layout, read-only", "folder", false, "user", "share"},
            {"system layout that root could write", "folder", true, "user", "share"},
            {"a file where the system's folder would be", "file", true, "bin", ""},
        };
        // clang-format on
        for (const auto &[name, share, writable, folder, installed] : rows)
            QTest::newRow(name) << share << writable << folder << installed;
    }
    void choose()
    {
        QFETCH(QString, share);
        QFETCH(bool, writable);
        QFETCH(QString, folder);
        QFETCH(QString, installedFiles);
        TempProgramFolder root;
        QDir().mkpath(root.file("bin"));
        if (share == "folder")
            QDir().mkpath(root.file("share"));
        else if (share == "file")
            root.write("share", "not a folder");
        const auto place = [&root](const QString &name) { return name.isEmpty() ? name : root.file(name); };
        const auto choice = ProgramFolder::choose({place("bin"), place("share"), place("user")},
                                                  [&](const QString &) { return writable; });
        QCOMPARE(choice.folder, place(folder));
        QCOMPARE(choice.installedFiles, place(installedFiles));
        // The real test makes a file and leaves nothing behind.
        QVERIFY(ProgramFolder::isWritable(root.file("bin")) && !ProgramFolder::isWritable(place("user")));
        QCOMPARE(filesUnder(root.file("bin")), QStringList());
    }

    // A new folder gets every installed file, made the user's own; a folder in use keeps the
    // user's files and gets only this installation's help file.
    void bringInto_data()
    {
        QTest::addColumn<QStringList>("before"); // "-": no folder at all
        QTest::addColumn<QByteArray>("help");    // the folder's help file, a month old; null: none
        QTest::addColumn<bool>("filled");
        const QString ini = "Dorrit参数.ini";
        // clang-format off
        const std::tuple<const char *, QStringList, QByteArray, bool> rows[] = {
            {"missing", {"-"}, {}, true}, {"empty", {}, {}, true},
            {"later start", {ini, "Dorrit桌面/1024x768/01.jpg", "词库/mine.qd"}, "help, this version", false},
            {"settings deleted, pictures moved", {"Dorrit桌面/640x480/01.jpg"}, "help, this version", false},
            {"help deleted", {ini}, {}, false}, {"older help of the same size", {ini}, "help, last version", false},
        };
        // clang-format on
        for (const auto &[name, before, help, filled] : rows)
            QTest::newRow(name) << before << help << filled;
    }
    void bringInto()
    {
        QFETCH(QStringList, before);
        QFETCH(QByteArray, help);
        QFETCH(bool, filled);
        const QString helpFile = InstalledFiles::helpFileName;
        TempProgramFolder installed, home;
        QStringList shipped = {"011.jpg", "vorn1.jpg", "词库/sample.qd", "联想词库/sample.the", helpFile};
        for (const QString &name : shipped) {
            installed.write(name, name == helpFile ? "help, this version" : "installed " + name.toUtf8());
            // As a package installs them: nobody may change them.
            QFile::setPermissions(installed.file(name), QFileDevice::ReadOwner | QFileDevice::ReadOther);
        }
        const QString user = "share/Tesmar单词Dorrit/";
        if (before.removeAll("-") == 0)
            QDir().mkpath(home.file(user));
        for (const QString &name : before)
            home.write(user + name, "the user's " + name.toUtf8());
        if (!help.isNull()) {
            home.write(user + helpFile, help);
            QFile old(home.file(user + helpFile));
            QVERIFY(old.open(QIODevice::ReadWrite));
            old.setFileTime(QDateTime::currentDateTime().addDays(-30), QFileDevice::FileModificationTime);
        }

        QVERIFY(InstalledFiles::bringInto(installed.path(), QDir::cleanPath(home.file(user))));

        QStringList expected = filled ? shipped : QStringList(before) << helpFile;
        expected.sort();
        QCOMPARE(filesUnder(home.file(user)), expected);
        for (const QString &name : expected) {
            QFile file(home.file(user + name));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            QCOMPARE(file.readAll(), before.contains(name) ? "the user's " + name.toUtf8() : installed.read(name));
            QVERIFY2(file.permissions() & QFileDevice::WriteOwner, qPrintable(name));
        }
        // Nothing of the filling is left beside the folder.
        QCOMPARE(QDir(home.file("share")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Tesmar单词Dorrit"});
    }

    // Every file the build installs into a program folder must reach users' folders.
    void namesAreWhatTheBuildInstalls()
    {
        QStringList shipped =
            QDir(DORRIT_SOURCE_DIR "/resources/programfolder").entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        QStringList names = InstalledFiles::names;
        QVERIFY(names.removeAll(InstalledFiles::helpFileName) == 1);
        names.sort();
        shipped.sort();
        QCOMPARE(names, shipped);
    }
};

QTEST_GUILESS_MAIN(tst_ProgramFolder)
#include "tst_ProgramFolder.moc"
