#include "common/TempProgramFolder.h"
#include "platform/files/InstalledFiles.h"
#include "platform/files/ProgramFolder.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QTest>

namespace {

// Every file under a folder with its bytes, marked when its owner may not change it.
QMap<QString, QByteArray> contents(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        const QByteArray mark = file.permissions() & QFileDevice::WriteOwner ? "" : "read-only ";
        files[QDir(folder).relativeFilePath(file.fileName())] =
            file.open(QIODevice::ReadOnly) ? mark + file.readAll() : "?";
    }
    return files;
}

} // namespace

class tst_ProgramFolder : public QObject
{
    Q_OBJECT
private slots:
    void choose_data()
    {
        QTest::addColumn<QString>("share"); // the file made where a system layout keeps its files
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("installedFiles");
        // clang-format off
        const std::tuple<const char *, const char *, bool, const char *, const char *> rows[] = {
            {"portable, writable", "", true, "bin", ""}, {"portable, read-only", "", false, "user", "bin"},
            {"system layout, read-only", "share/011.jpg", false, "user", "share"},
            {"system layout that root could write", "share/011.jpg", true, "user", "share"},
            {"a file where the system's folder would be", "share", true, "bin", ""},
        };
        // clang-format on
        for (const auto &[name, share, writable, folder, installed] : rows)
            QTest::newRow(name) << share << writable << folder << installed;
    }
    void choose()
    {
        QFETCH(QString, share);
        QFETCH(bool, writable);
        TempProgramFolder root;
        QDir().mkpath(root.file("bin"));
        if (!share.isEmpty())
            root.write(share, "");
        const auto place = [&root](const QString &name) { return name.isEmpty() ? name : root.file(name); };
        const auto choice = ProgramFolder::choose({place("bin"), place("share"), place("user")},
                                                  [&](const QString &) { return writable; });
        QFETCH(QString, folder);
        QFETCH(QString, installedFiles);
        QCOMPARE(choice.folder, place(folder));
        QCOMPARE(choice.installedFiles, place(installedFiles));
    }

    // A new folder gets every file the build installs into a program folder, made the user's
    // own; a folder in use keeps the user's files and gets only this installation's help file.
    void bringInto_data()
    {
        QTest::addColumn<QStringList>("before"); // "-": no folder at all
        QTest::addColumn<QByteArray>("help");    // the folder's help file, a month old; null: none
        QTest::addColumn<bool>("filled");
        // clang-format off
        const std::tuple<const char *, QStringList, QByteArray, bool> rows[] = {
            {"missing", {"-"}, {}, true}, {"empty", {}, {}, true},
            {"later start, older help of the same size", {"Dorrit参数.ini", "Dorrit桌面/1024x768/01.jpg", "词库/mine.qd"},
             "help, last version", false},
            {"settings and help deleted, pictures moved", {"Dorrit桌面/640x480/01.jpg"}, {}, false},
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
        auto shipped = contents(DORRIT_SOURCE_DIR "/resources/programfolder");
        shipped[helpFile] = "help, this version";
        // As a package installs them: nobody may change them.
        for (const auto &[name, bytes] : shipped.asKeyValueRange()) {
            installed.write(name, bytes);
            QFile::setPermissions(installed.file(name), QFileDevice::ReadOwner | QFileDevice::ReadOther);
        }
        const QString user = home.file("share/Tesmar单词Dorrit");
        if (before.removeAll("-") == 0)
            QDir().mkpath(user);
        auto expected = filled ? shipped : QMap<QString, QByteArray>(); // a new folder holds nothing of the user's
        for (const QString &name : before)
            home.write("share/Tesmar单词Dorrit/" + name, expected[name] = "the user's " + name.toUtf8());
        if (!help.isNull()) {
            home.write("share/Tesmar单词Dorrit/" + helpFile, help);
            QFile old(QDir(user).filePath(helpFile));
            QVERIFY(old.open(QIODevice::ReadWrite) &&
                    old.setFileTime(QDateTime::currentDateTime().addDays(-30), QFileDevice::FileModificationTime));
        }

        QVERIFY(InstalledFiles::bringInto(installed.path(), user));

        expected[helpFile] = "help, this version";
        QCOMPARE(contents(user), expected);
        // Nothing of the filling is left beside the folder.
        QCOMPARE(QDir(home.file("share")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Tesmar单词Dorrit"});
    }
};

QTEST_GUILESS_MAIN(tst_ProgramFolder)
#include "tst_ProgramFolder.moc"
