#include "common/FakeProgramStarter.h"
#include "common/FakeRegistry.h"
#include "common/TempProgramFolder.h"
#include "platform/AnsiText.h"
#include "platform/MessageSink.h"
#include "platform/SystemInformation.h"

#include <QDir>
#include <QTest>

namespace {

class RecordingMessages final : public MessageSink
{
public:
    QStringList shown;
    void showMessage(const QString &text) override { shown.append(text); }
};

const QString kMessage = QString::fromUtf8("此时系统信息无效");
const QString kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QString kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";
// Stands for the test's own tools folder in the tables.
const QString kTools = "<tools>";

RegistryValue sz(const QString &text)
{
    return RegistryValue{AnsiText::encode(text) + QByteArray(1, '\0'), 1};
}

} // namespace

Q_DECLARE_METATYPE(RegistryValue)
Q_DECLARE_METATYPE(std::optional<RegistryValue>)

class tst_SystemInformation : public QObject
{
    Q_OBJECT
private slots:
    void GetKeyValue_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("text");

        QTest::newRow("string with its NUL") << QByteArray("C:\\a.exe", 9) << 1u << true << "C:\\a.exe";
        QTest::newRow("string without a NUL keeps all") << QByteArray("C:\\a.exe") << 1u << true << "C:\\a.exe";
        QTest::newRow("code page 936") << QByteArray("\xb5\xa5\xb4\xca\0", 5) << 1u << true
                                       << QString::fromUtf8("单词");
        QTest::newRow("dword") << QByteArray("\x2a\0\0\0", 4) << 4u << true << "42";
        QTest::newRow("dword using all four bytes") << QByteArray("\x78\x56\x34\x12", 4) << 4u << true << "305419896";
        // Found, but the text stays as it was before the call.
        QTest::newRow("expandable string") << QByteArray("%SystemRoot%\0", 13) << 2u << true << "before";
        QTest::newRow("exactly the buffer")
            << QByteArray(1023, 'a') + QByteArray(1, '\0') << 1u << true << QString(1023, 'a');
        QTest::newRow("one byte over the buffer") << QByteArray(1024, 'a') + QByteArray(1, '\0') << 1u << false << "";
    }
    void GetKeyValue()
    {
        QFETCH(QByteArray, data);
        QFETCH(quint32, type);
        QFETCH(bool, found);
        QFETCH(QString, text);
        FakeRegistry registry;
        registry.machineValues[{kMsinfo, "PATH"}] = RegistryValue{data, type};
        FakeProgramStarter starter;
        RecordingMessages messages;
        const SystemInformation info(registry, starter, messages);
        QString value = "before";
        QCOMPARE(info.GetKeyValue(SystemInformation::HKEY_LOCAL_MACHINE_ROOT, kMsinfo.toLower(), "path", value), found);
        QCOMPARE(value, text);
    }

    void GetKeyValueNotFound_data()
    {
        QTest::addColumn<quint32>("root");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::newRow("missing value") << SystemInformation::HKEY_LOCAL_MACHINE_ROOT << kMsinfo << "Other";
        QTest::newRow("missing key") << SystemInformation::HKEY_LOCAL_MACHINE_ROOT << kLocation << "PATH";
        QTest::newRow("another root") << 0x80000001u << kMsinfo << "PATH";
    }
    void GetKeyValueNotFound()
    {
        QFETCH(quint32, root);
        QFETCH(QString, key);
        QFETCH(QString, name);
        FakeRegistry registry;
        registry.machineValues[{kMsinfo, "PATH"}] = sz("x");
        FakeProgramStarter starter;
        RecordingMessages messages;
        QString value = "before";
        QVERIFY(!SystemInformation(registry, starter, messages).GetKeyValue(root, key, name, value));
        QCOMPARE(value, QString());
    }

    void StartSysInfo_data()
    {
        QTest::addColumn<std::optional<RegistryValue>>("pathValue");
        QTest::addColumn<std::optional<RegistryValue>>("folderValue");
        QTest::addColumn<bool>("toolInFolder");
        QTest::addColumn<QString>("desktopTool");
        QTest::addColumn<QStringList>("startable");
        QTest::addColumn<QStringList>("attempts");
        QTest::addColumn<bool>("message");

        const std::optional<RegistryValue> none;
        const QString registered = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
        const auto path = std::optional(sz(registered));
        const auto folder = std::optional(sz(kTools));
        const QString tool = kTools + "/MSINFO32.EXE";
        const QString hardinfo = "/usr/bin/hardinfo";

        QTest::newRow("PATH started unchanged")
            << path << folder << true << hardinfo << QStringList{registered} << QStringList{registered} << false;
        QTest::newRow("PATH names no program")
            << path << folder << true << "" << QStringList{tool} << QStringList{registered} << true;
        QTest::newRow("MSINFO folder holds the tool")
            << none << folder << true << "" << QStringList{tool} << QStringList{tool} << false;
        QTest::newRow("MSINFO folder without the tool")
            << none << folder << false << "" << QStringList{tool} << QStringList{} << true;
        QTest::newRow("both absent") << none << none << false << "" << QStringList{} << QStringList{} << true;
        QTest::newRow("both absent, desktop tool")
            << none << none << false << hardinfo << QStringList{hardinfo} << QStringList{hardinfo} << false;
        QTest::newRow("desktop tool after a PATH that fails")
            << path << none << false << hardinfo << QStringList{hardinfo} << QStringList{registered, hardinfo} << false;
        QTest::newRow("desktop tool that cannot start")
            << none << none << false << hardinfo << QStringList{} << QStringList{hardinfo} << true;
        QTest::newRow("expandable PATH gives no text")
            << std::optional(RegistryValue{"%ProgramFiles%\\msinfo32.exe" + QByteArray(1, '\0'), 2}) << folder << true
            << "" << QStringList{tool} << QStringList{""} << true;
        QTest::newRow("PATH over the buffer counts as absent")
            << std::optional(sz(QString(1100, 'a'))) << folder << true << "" << QStringList{tool} << QStringList{tool}
            << false;
    }
    void StartSysInfo()
    {
        QFETCH(std::optional<RegistryValue>, pathValue);
        QFETCH(std::optional<RegistryValue>, folderValue);
        QFETCH(bool, toolInFolder);
        QFETCH(QString, desktopTool);
        QFETCH(QStringList, startable);
        QFETCH(QStringList, attempts);
        QFETCH(bool, message);

        TempProgramFolder tools;
        if (toolInFolder)
            tools.write("MSINFO32.EXE", "MZ");
        const auto place = [&tools](QString text) {
            return QDir::toNativeSeparators(text.replace(kTools, tools.path()));
        };
        FakeRegistry registry;
        if (pathValue)
            registry.machineValues[{kMsinfo, "PATH"}] = *pathValue;
        if (folderValue)
            registry.machineValues[{kLocation, "MSINFO"}] = sz(place(AnsiText::decode(folderValue->data.chopped(1))));
        FakeProgramStarter starter;
        starter.desktopTool = desktopTool;
        for (const QString &program : startable)
            starter.startable.insert(place(program));
        RecordingMessages messages;

        SystemInformation(registry, starter, messages).StartSysInfo();

        QStringList expectedAttempts;
        for (const QString &program : attempts)
            expectedAttempts.append(place(program));
        QCOMPARE(starter.attempts, expectedAttempts);
        QCOMPARE(messages.shown, message ? QStringList{kMessage} : QStringList{});
    }
};

QTEST_GUILESS_MAIN(tst_SystemInformation)
#include "tst_SystemInformation.moc"
