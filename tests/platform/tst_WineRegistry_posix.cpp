#include "common/RegistryValueRow.h"
#include "common/TempProgramFolder.h"
#include "platform/Registry.h"
#include "platform/WinePrefix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTest>

namespace {

// A prefix as wine lays it out: relative and absolute drive links, one of them dangling.
void makePrefix(const TempProgramFolder &prefix)
{
    QDir(prefix.path()).mkpath("drive_c/Program Files/Graxo");
    QDir(prefix.path()).mkpath("drive_c/windows");
    QDir(prefix.path()).mkpath("dosdevices");
    QFile::link("../drive_c", prefix.file("dosdevices/c:"));
    QFile::link(prefix.file("drive_c/windows"), prefix.file("dosdevices/w:"));
    QFile::link("../missing", prefix.file("dosdevices/d:"));
}

} // namespace

class tst_WineRegistry : public QObject
{
    Q_OBJECT
private slots:
    void unixPath_data()
    {
        QTest::addColumn<QString>("windowsPath");
        QTest::addColumn<QString>("expected"); // under the prefix; "-" for none

        QTest::newRow("drive root") << "C:"
                                    << "drive_c";
        QTest::newRow("folder") << "C:\\Program Files\\Graxo"
                                << "drive_c/Program Files/Graxo";
        QTest::newRow("names in other case") << "C:\\PROGRAM FILES\\graxo"
                                             << "drive_c/Program Files/Graxo";
        QTest::newRow("forward slashes") << "C:/Program Files/Graxo/"
                                         << "drive_c/Program Files/Graxo";
        QTest::newRow("missing name kept") << "C:\\Program Files\\New"
                                           << "drive_c/Program Files/New";
        QTest::newRow("dot dot stays on the drive") << "C:\\..\\..\\windows\\."
                                                    << "drive_c/windows";
        QTest::newRow("absolute link") << "W:\\system32"
                                       << "drive_c/windows/system32";
        QTest::newRow("dangling link") << "D:\\x"
                                       << "-";
        QTest::newRow("network path") << "\\\\server\\share"
                                      << "-";
        QTest::newRow("no drive") << "Graxo"
                                  << "-";
    }
    void unixPath()
    {
        QFETCH(QString, windowsPath);
        QFETCH(QString, expected);
        TempProgramFolder prefix;
        makePrefix(prefix);
        const QString root = QFileInfo(prefix.path()).canonicalFilePath();
        const QString mapped = WinePrefix(prefix.path()).unixPath(windowsPath);
        QCOMPARE(mapped, expected == "-" ? QString() : root + '/' + expected);
    }

    void systemRegistryReadsWinePrefix()
    {
        TempProgramFolder prefix;
        makePrefix(prefix);
        prefix.write(
            "system.reg",
            "WINE REGISTRY Version 2\n"
            "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\Tesmar\\x5355\\x8bcdGraxo.exe] 1"
            "\n"
            "@=\"C:\\\\Program Files\\\\Graxo\\\\Tesmar\\x5355\\x8bcdGraxo.exe\""
            "\n");
        const QByteArray saved = qgetenv("WINEPREFIX");
        qputenv("WINEPREFIX", prefix.path().toLocal8Bit());
        const auto registry = makeSystemRegistry();
        const auto value = registry->firstValue(
            QString::fromUtf8("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Tesmar单词Graxo.exe"));
        const QString folder = registry->localFolder("C:\\Program Files\\Graxo");
        qputenv("WINEPREFIX", saved);

        QVERIFY(value);
        QCOMPARE(value->data,
                 QByteArray("C:\\Program Files\\Graxo\\Tesmar\xb5\xa5\xb4\xcaGraxo.exe") + QByteArray(1, '\0'));
        QCOMPARE(folder, QFileInfo(prefix.path()).canonicalFilePath() + "/drive_c/Program Files/Graxo");
    }

    // A prefix that real `wine reg add` filled: the reader must give what Wine's own
    // RegEnumValueA gave for each key (one "VALUE label found type hex" line per key).
    void realWinePrefix_data()
    {
        const QString expectedFile = qEnvironmentVariable("DORRIT_WINE_EXPECTED");
        if (expectedFile.isEmpty())
            QSKIP("runs from tests/win/run_win_registry_test.sh against a real Wine prefix");
        QFile file(expectedFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("found");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        const QString appPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
        const QMap<QString, QString> keys = {{"graxo", QString::fromUtf8("Tesmar单词Graxo.exe")},
                                             {"expand", "DorritExpand.exe"},
                                             {"named", "DorritNamed.exe"},
                                             {"long", "DorritLong.exe"},
                                             {"dword", "DorritDword.exe"},
                                             {"empty", "DorritEmpty.exe"},
                                             {"missing", "DorritMissing.exe"}};
        int rows = 0;
        while (!file.atEnd()) {
            const QList<QByteArray> f = file.readLine().trimmed().split(' ');
            QVERIFY(f.size() >= 4 && keys.contains(f[1]));
            QTest::newRow(f[1].constData())
                << appPaths + keys[f[1]] << (f[2] == "1") << f[3].toUInt() << QByteArray::fromHex(f.value(4));
            ++rows;
        }
        QCOMPARE(rows, keys.size());
    }
    void realWinePrefix()
    {
        QFETCH(QString, key);
        compareWithRow(makeSystemRegistry()->firstValue(key));
    }

    // The same for named values, as RegQueryValueExA gave them.
    void realWinePrefixNamed_data()
    {
        const QString expectedFile = qEnvironmentVariable("DORRIT_WINE_NAMED");
        if (expectedFile.isEmpty())
            QSKIP("runs from tests/win/run_win_registry_test.sh against a real Wine prefix");
        QFile file(expectedFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        const QString dorrit = "Software\\Dorrit\\Named";
        const QMap<QString, QStringList> keys = {
            {"msinfo_path", {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"}},
            {"msinfo_path_other_case", {"software\\microsoft\\shared tools\\msinfo", "path"}},
            {"msinfo_folder", {"SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO"}},
            {"chinese", {dorrit, "Chinese"}},
            {"expand", {dorrit, "Expand"}},
            {"dword", {dorrit, "Number"}},
            {"long", {dorrit, "Long"}},
            {"empty", {dorrit, "Empty"}},
            {"default", {dorrit, ""}},
            {"missing_name", {dorrit, "Nothing"}},
            {"missing_key", {"Software\\Dorrit\\Nothing", "PATH"}}};
        int rows = 0;
        while (!file.atEnd()) {
            const QList<QByteArray> f = file.readLine().trimmed().split(' ');
            QVERIFY(f.size() >= 4 && keys.contains(f[1]));
            QTest::newRow(f[1].constData())
                << keys[f[1]][0] << keys[f[1]][1] << (f[2] == "1") << f[3].toUInt() << QByteArray::fromHex(f.value(4));
            ++rows;
        }
        QCOMPARE(rows, keys.size());
    }
    void realWinePrefixNamed()
    {
        QFETCH(QString, key);
        QFETCH(QString, name);
        compareWithRow(makeSystemRegistry()->machineValue(key, name));
    }

    void realWinePrefixDrive()
    {
        if (qEnvironmentVariableIsEmpty("DORRIT_WINE_EXPECTED"))
            QSKIP("runs from tests/win/run_win_registry_test.sh against a real Wine prefix");
        const QString prefix = QFileInfo(qEnvironmentVariable("WINEPREFIX")).canonicalFilePath();
        QCOMPARE(makeSystemRegistry()->localFolder("c:\\PROGRAM FILES\\Graxo"),
                 prefix + "/drive_c/Program Files/Graxo");
    }
};

QTEST_GUILESS_MAIN(tst_WineRegistry)
#include "tst_WineRegistry_posix.moc"
