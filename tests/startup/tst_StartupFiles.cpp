#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "platform/text/AnsiText.h"
#include "startup/BackgroundPictures.h"
#include "startup/Companion.h"
#include "startup/SettingsFile.h"

#include <QDir>
#include <QTest>

namespace {

// In code page 936, as the program writes it.
const QByteArray kNewFile = AnsiText::encode(QString::fromUtf8("\"版本\",0.1\r\n"
                                                               "\"是否已检测Tesmar单词Graxo\",#FALSE#\r\n"
                                                               "\"是否与Tesmar单词Graxo共享目录\",#TRUE#\r\n"
                                                               "\"是否朗读\",#FALSE#\r\n"
                                                               "\"桌面\",\"01.jpg\"\r\n"
                                                               "\"桌面是否随机\",#TRUE#\r\n"));

// Registry string data as RegEnumValueA gives it: ANSI bytes and a terminating NUL.
RegistryValue registered(const QString &path, quint32 type = 1)
{
    return RegistryValue{AnsiText::encode(path) + QByteArray(1, '\0'), type};
}

const QStringList kFound = {QString::fromUtf8(
    "找到‘Tesmar单词Graxo’，‘Tesmar单词Dorrit’将与‘Tesmar单词Graxo’共享目录，感谢您对Tesmar系列软件的支持！")};
const QStringList kNotInstalled = {
    QString::fromUtf8("没有安装‘Tesmar单词Graxo’，请把<词库><联想词库>分别放入子目录\\词库\\联想词库中。")};

const QStringList kSources = {"011.jpg", "vorn1.jpg", "012.jpg", "vorn2.jpg", "013.jpg", "vorn3.jpg"};

// Files (a trailing slash makes a folder) under a folder.
void make(const QString &folder, const QStringList &paths)
{
    for (const QString &path : paths) {
        if (path.endsWith(u'/'))
            QDir().mkpath(QDir(folder).filePath(path));
        else
            writeFile(QDir(folder).filePath(path), path.toUtf8());
    }
}

} // namespace

// What a start reads and sets up before the window; the start-up walk is the session's test.
class tst_StartupFiles : public QObject
{
    Q_OBJECT
private slots:
    // A new file names the first picture, whatever the defaults hold. A quote in a name would
    // end the value early and shift every later record. Where a file stands in the folder's
    // place, nothing is written or read, even with root's rights, and the settings stay.
    void writing()
    {
        TempProgramFolder folder;
        SettingsFile file(folder.path());
        Settings s{0.1f, false, true, false, QStringLiteral("ignored.jpg"), true};
        QVERIFY(file.createIfMissing(s));
        QCOMPARE(folder.read(SettingsFile::fileName), kNewFile);
        s = Settings{0.1f, true, false, true, QStringLiteral("春\"天.jpg"), false};
        QVERIFY(file.writeAll(s));
        Settings back;
        QVERIFY(file.read(back));
        s.desktopPicture = QStringLiteral("春天.jpg");
        QCOMPARE(SettingsFile::format(back), SettingsFile::format(s));

        folder.write(QStringLiteral("blocked"), "x");
        const SettingsFile blocked(folder.file(QStringLiteral("blocked")));
        QVERIFY(!blocked.createIfMissing(s) && !blocked.read(back) && !blocked.writeAll(s));
        QCOMPARE(SettingsFile::format(back), SettingsFile::format(s));
    }

    void readsByPosition_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected"); // formatted
        const auto settings = [](bool checked, bool share, bool aloud, const char *picture, bool random) {
            return SettingsFile::format(Settings{0.1f, checked, share, aloud, picture, random});
        };
        const QByteArray defaults = SettingsFile::format(Settings());
        QTest::newRow("new file") << kNewFile << settings(false, true, false, "01.jpg", true);
        QTest::newRow("keys and version not read") << QByteArray("\"a\",\"nine\"\r\n\"b\",#TRUE#\r\n\"c\",#FALSE#\r\n"
                                                                 "\"d\",#TRUE#\r\n\"e\",\"x.bmp\"\r\n\"f\",#FALSE#\r\n")
                                                   << settings(true, false, true, "x.bmp", false);
        QTest::newRow("LF only and spaces") << QByteArray("\"v\", 2.5\n\"b\", #TRUE#\n\"c\",#FALSE#\n\"d\",#TRUE#\n"
                                                          "\"e\", q.jpg\n\"f\",#FALSE#\n")
                                            << settings(true, false, true, "q.jpg", false);
        QTest::newRow("three records") << QByteArray("\"v\",0.1\r\n\"b\",#TRUE#\r\n\"c\",#FALSE#\r\n")
                                       << settings(true, false, false, "", true);
        QTest::newRow("wrong type keeps default") << QByteArray("\"v\",0.1\r\n\"b\",yes\r\n\"c\",1\r\n\"d\",#TRUE#\r\n"
                                                                "\"e\",\"p.jpg\"\r\n\"f\",-1\r\n")
                                                  << settings(false, true, true, "p.jpg", true);
        QTest::newRow("empty") << QByteArray() << defaults;
        QTest::newRow("binary noise") << QByteArray("\x00\xff\"\x01,,\r\r\n\n\"", 11) << defaults;
    }
    void readsByPosition()
    {
        QFETCH(QByteArray, bytes);
        Settings s; // the start-up defaults
        SettingsFile::parse(bytes, s);
        QTEST(SettingsFile::format(s), "expected");
    }

    // The companion looked for; every row starts from the default of sharing.
    // clang-format off
    void companion_data()
    {
        QTest::addColumn<std::optional<RegistryValue>>("value");
        QTest::addColumn<QString>("trouble"); // "unreachable" folder, "no expansion" at all
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("companionFolder");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("shareAfter");
        QTest::addColumn<bool>("programDataFolder");

        const std::optional<RegistryValue> none;
        const auto graxo = std::optional(registered("C:\\Program Files\\Graxo\\Tesmar单词Graxo.exe"));
        const QString graxoFolder = "C:\\Program Files\\Graxo";
        const auto plain = std::optional(registered("Q:\\Graxo\\g.exe"));

        QTest::newRow("first start, empty registration")
            << std::optional(registered("")) << "" << false << QString() << kNotInstalled << false << true;
        QTest::newRow("second start, sharing") << graxo << "" << true << graxoFolder << QStringList() << true << false;
        QTest::newRow("sharing, companion removed") << none << "" << true << QString() << QStringList() << true << true;
        QTest::newRow("environment reference expanded")
            << std::optional(registered("%GraxoHome%\\bin\\Tesmar单词Graxo.exe", 2)) << "" << false << "D:\\单词\\bin"
            << kFound << true << false;
        QTest::newRow("path without backslash, data without its NUL: kept whole")
            << std::optional(RegistryValue{"Graxo.exe", 3}) << "" << true << "Graxo.exe" << QStringList() << true << false;
        QTest::newRow("file in a drive root")
            << std::optional(registered("C:\\Graxo.exe")) << "" << true << "C:" << QStringList() << true << false;
        QTest::newRow("folder out of reach counts as not installed")
            << plain << "unreachable" << false << QString() << kNotInstalled << false << true;
        QTest::newRow("failed expansion: no folder") << plain << "no expansion" << true << QString() << QStringList()
                                                     << true << true;
    }
    // clang-format on
    void companion()
    {
        QFETCH(std::optional<RegistryValue>, value);
        QFETCH(QString, trouble);
        QFETCH(bool, checked);
        TempProgramFolder program;
        FakeRegistry registry;
        if (value)
            registry.machineKeys.insert(Companion::registryKey, *value);
        if (trouble == "unreachable")
            registry.mapFolder = [](const QString &) { return QString(); };
        FakeEnvironment environment;
        environment.variables.insert("GRAXOHOME", "D:\\单词");
        environment.failing = trouble == "no expansion";
        RecordingMessages shown;
        int written = 0;
        Settings settings;
        settings.companionChecked = checked;

        const CompanionResult result = Companion::run(settings, program.path(), registry, environment, shown,
                                                      [&written](const Settings &) { return ++written; });

        QTEST(result.companionFolder, "companionFolder");
        QFETCH(bool, programDataFolder);
        QCOMPARE(result.dataFolder, programDataFolder ? program.path() : result.companionFolder);
        QTEST(settings.shareCompanionFolders, "shareAfter");
        QVERIFY(settings.companionChecked);
        QTEST(shown.shown, "messages");
        // The decision is written once; the library folders are made where the user is told to put them.
        QCOMPARE(written, checked ? 0 : 1);
        QCOMPARE(program.exists("词库") && program.exists("联想词库"), shown.shown == kNotInstalled);
    }

    void seedPictures_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("obstacles"); // in the way of a copy
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("all six sources") << kSources << QStringList() << QStringList();
        QTest::newRow("row with one source missing")
            << QStringList{"011.jpg", "vorn1.jpg", "012.jpg", "013.jpg", "vorn3.jpg"} << QStringList()
            << QStringList{"012.jpg"};
        QTest::newRow("copy fails: a folder where the copy goes")
            << kSources << QStringList{"Dorrit桌面/640x480/01.jpg/"} << QStringList{"011.jpg"};
        QTest::newRow("folder cannot be made: a file in its place")
            << kSources << QStringList{"Dorrit桌面"} << kSources;
    }
    void seedPictures()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, kept);
        TempProgramFolder folder;
        make(folder.path(), present);
        QFETCH(QStringList, obstacles);
        make(folder.path(), obstacles);

        BackgroundPictures::seed(folder.path());

        for (const QString &name : kSources) {
            const QString target = BackgroundPictures::folder(folder.path(), kSources.indexOf(name) / 2 + 1) +
                                   (name.startsWith("vorn") ? "/vorn.jpg" : "/01.jpg");
            // Every picture is somewhere, never lost, never in two places.
            const bool copied = QFileInfo(target).isFile();
            QCOMPARE(folder.exists(name), present.contains(name) && kept.contains(name));
            QCOMPARE(copied, present.contains(name) && !kept.contains(name));
            if (copied)
                QCOMPARE(folder.read(QDir(folder.path()).relativeFilePath(target)), name.toUtf8());
        }
    }

    void pictureAtStart_data()
    {
        QTest::addColumn<QStringList>("files"); // a trailing slash makes a folder
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("random");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("expected"); // #k: the k-th jpg in the order the file system lists them
        QTest::newRow("one jpg") << QStringList{"only.jpg", "notes.txt"} << "01.jpg" << true << 0.0 << "only.jpg";
        QTest::newRow("no jpg: the stored bitmap")
            << QStringList{"mine.bmp"} << "mine.bmp" << true << 0.5 << "mine.bmp";
        QTest::newRow("upper-case extension counts")
            << QStringList{"PHOTO.JPG"} << "01.jpg" << true << 0.5 << "PHOTO.JPG";
        QTest::newRow("hidden and folder names are no pictures")
            << QStringList{".hidden.jpg", "album.jpg/", "seen.jpg"} << "01.jpg" << true << 0.99 << "seen.jpg";
        QTest::newRow("random off: the stored picture")
            << QStringList{"a.jpg", "b.jpg", "c.bmp"} << "c.bmp" << false << 0.0 << "c.bmp";
        QTest::newRow("random off, stored gone: a random pick")
            << QStringList{"a.jpg"} << "gone.jpg" << false << 0.7 << "a.jpg";
        QTest::newRow("random off, stored outside the folder")
            << QStringList{"a.jpg", "../outside.jpg"} << "../outside.jpg" << false << 0.0 << "a.jpg";
        QTest::newRow("random on ignores the stored picture")
            << QStringList{"a.jpg", "c.bmp"} << "c.bmp" << true << 0.0 << "a.jpg";
        // Int(r * count) + 1 on the names as listed; a generator that strays to 1.0 still picks the last.
        const QStringList four = {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.txt"};
        QTest::newRow("four, r 0.375") << four << "" << true << 0.375 << "#1";
        QTest::newRow("four, r 1.0") << four << "" << true << 1.0 << "#3";
    }
    void pictureAtStart()
    {
        QFETCH(QString, stored);
        QFETCH(bool, random);
        QFETCH(double, r);
        QFETCH(QString, expected);
        TempProgramFolder program;
        const QString folder = BackgroundPictures::folder(program.path(), 3);
        QFETCH(QStringList, files);
        make(folder, files);
        if (expected.startsWith(u'#'))
            expected = QDir(folder).entryList({"*.jpg"}, QDir::Files, QDir::Unsorted).value(expected.mid(1).toInt());
        QCOMPARE(BackgroundPictures::chooseAtStart(folder, stored, random, [r] { return r; }), expected);
    }
};

QTEST_GUILESS_MAIN(tst_StartupFiles)
#include "tst_StartupFiles.moc"
