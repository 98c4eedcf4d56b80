#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "platform/text/AnsiText.h"
#include "startup/Companion.h"

#include <QTest>

namespace {

// Registry string data as RegEnumValueA gives it: ANSI bytes and a terminating NUL.
RegistryValue registered(const QString &path, quint32 type = 1)
{
    return RegistryValue{AnsiText::encode(path) + QByteArray(1, '\0'), type};
}

const QStringList kFound = {QString::fromUtf8(
    "找到‘Tesmar单词Graxo’，‘Tesmar单词Dorrit’将与‘Tesmar单词Graxo’共享目录，感谢您对Tesmar系列软件的支持！")};
const QStringList kNotInstalled = {
    QString::fromUtf8("没有安装‘Tesmar单词Graxo’，请把<词库><联想词库>分别放入子目录\\词库\\联想词库中。")};

} // namespace

Q_DECLARE_METATYPE(std::optional<RegistryValue>)

class tst_Companion : public QObject
{
    Q_OBJECT
private slots:
    // The start-up walk (the session's test) covers the plain first and later starts and the
    // settings written. Every row starts from the default of sharing.
    // clang-format off
    void run_data()
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
    void run()
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
};

QTEST_GUILESS_MAIN(tst_Companion)
#include "tst_Companion.moc"
