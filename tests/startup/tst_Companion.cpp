#include "common/FakeEnvironment.h"
#include "common/FakeRegistry.h"
#include "common/TempProgramFolder.h"
#include "platform/AnsiText.h"
#include "platform/MessageSink.h"
#include "startup/Companion.h"

#include <QTest>

namespace {

class RecordingMessages final : public MessageSink
{
public:
    QStringList shown;
    void showMessage(const QString &text) override { shown.append(text); }
};

// Registry string data as RegEnumValueA gives it: ANSI bytes and a terminating NUL.
RegistryValue registered(const QString &path, quint32 type = 1)
{
    return RegistryValue{AnsiText::encode(path) + QByteArray(1, '\0'), type};
}

enum class Message { None, Found, NotInstalled };

const QString kFound = QString::fromUtf8(
    "找到‘Tesmar单词Graxo’，‘Tesmar单词Dorrit’将与‘Tesmar单词Graxo’共享目录，感谢您对Tesmar系列软件的支持！");
const QString kNotInstalled =
    QString::fromUtf8("没有安装‘Tesmar单词Graxo’，请把<词库><联想词库>分别放入子目录\\词库\\联想词库中。");

} // namespace

Q_DECLARE_METATYPE(Message)
Q_DECLARE_METATYPE(RegistryValue)
Q_DECLARE_METATYPE(std::optional<RegistryValue>)

class tst_Companion : public QObject
{
    Q_OBJECT
private slots:
    // The start-up walk (the session's test) covers the plain first and later starts.
    void run_data()
    {
        QTest::addColumn<std::optional<RegistryValue>>("value");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("share");
        QTest::addColumn<QString>("companionFolder");
        QTest::addColumn<Message>("message");
        QTest::addColumn<bool>("shareAfter");
        QTest::addColumn<bool>("programDataFolder");

        const std::optional<RegistryValue> none;
        const auto graxo = std::optional(registered("C:\\Program Files\\Graxo\\Tesmar单词Graxo.exe"));
        const QString graxoFolder = "C:\\Program Files\\Graxo";

        QTest::newRow("first start, empty registration")
            << std::optional(registered("")) << false << true << QString() << Message::NotInstalled << false << true;
        QTest::newRow("second start, sharing")
            << graxo << true << true << graxoFolder << Message::None << true << false;
        QTest::newRow("sharing, companion removed")
            << none << true << true << QString() << Message::None << true << true;
        QTest::newRow("environment reference expanded")
            << std::optional(registered("%GraxoHome%\\bin\\Tesmar单词Graxo.exe", 2)) << false << true << "D:\\单词\\bin"
            << Message::Found << true << false;
        QTest::newRow("path without backslash kept whole")
            << std::optional(registered("Graxo.exe")) << true << true << "Graxo.exe" << Message::None << true << false;
        QTest::newRow("file in a drive root")
            << std::optional(registered("C:\\Graxo.exe")) << true << true << "C:" << Message::None << true << false;
        QTest::newRow("data without its NUL") << std::optional(RegistryValue{"E:\\G\\g.exe", 3}) << true << true
                                              << "E:\\G" << Message::None << true << false;
    }
    void run()
    {
        QFETCH(std::optional<RegistryValue>, value);
        QFETCH(bool, checked);
        QFETCH(bool, share);
        QFETCH(QString, companionFolder);
        QFETCH(Message, message);
        QFETCH(bool, shareAfter);
        QFETCH(bool, programDataFolder);

        TempProgramFolder program;
        FakeRegistry registry;
        if (value)
            registry.machineKeys.insert(Companion::registryKey, *value);
        FakeEnvironment environment;
        environment.variables.insert("GRAXOHOME", "D:\\单词");
        RecordingMessages messages;
        QList<Settings> written;
        Settings settings;
        settings.companionChecked = checked;
        settings.shareCompanionFolders = share;

        const CompanionResult result =
            Companion::run(settings, program.path(), registry, environment, messages, [&written](const Settings &s) {
                written.append(s);
                return true;
            });

        QCOMPARE(result.companionFolder, companionFolder);
        QCOMPARE(result.dataFolder, programDataFolder ? program.path() : companionFolder);
        QCOMPARE(settings.shareCompanionFolders, shareAfter);
        QVERIFY(settings.companionChecked);
        const QStringList expectedMessages = message == Message::Found          ? QStringList{kFound}
                                             : message == Message::NotInstalled ? QStringList{kNotInstalled}
                                                                                : QStringList{};
        QCOMPARE(messages.shown, expectedMessages);
        QCOMPARE(written.size(), checked ? 0 : 1);
        if (!written.isEmpty()) {
            QVERIFY(written.first().companionChecked);
            QCOMPARE(written.first().shareCompanionFolders, shareAfter);
        }
        const bool foldersMade = message == Message::NotInstalled;
        QCOMPARE(program.exists("词库"), foldersMade);
        QCOMPARE(program.exists("联想词库"), foldersMade);
    }

    void unreachableFolderCountsAsNotInstalled()
    {
        TempProgramFolder program;
        FakeRegistry registry;
        registry.machineKeys.insert(Companion::registryKey, registered("Q:\\Graxo\\g.exe"));
        QStringList asked;
        registry.mapFolder = [&asked](const QString &folder) {
            asked.append(folder);
            return QString();
        };
        FakeEnvironment environment;
        RecordingMessages messages;
        Settings settings;
        const CompanionResult result = Companion::run(settings, program.path(), registry, environment, messages, {});
        QCOMPARE(asked, QStringList{"Q:\\Graxo"});
        QCOMPARE(result.dataFolder, program.path());
        QCOMPARE(messages.shown, QStringList{kNotInstalled});
    }

    void failedExpansionLeavesFolderEmpty()
    {
        FakeRegistry registry;
        registry.machineKeys.insert(Companion::registryKey, registered("C:\\G\\g.exe"));
        FakeEnvironment environment;
        environment.failing = true;
        QCOMPARE(Companion::lookup(registry, environment), QString());
    }
};

QTEST_GUILESS_MAIN(tst_Companion)
#include "tst_Companion.moc"
