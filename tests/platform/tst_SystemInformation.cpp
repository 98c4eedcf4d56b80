#include "common/FakeProgramStarter.h"
#include "common/FakeRegistry.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "platform/AnsiText.h"
#include "platform/SystemInformation.h"

#include <QDir>
#include <QTest>

// "PATH" is started as registered; else MSINFO32.EXE when it is in the folder that "MSINFO"
// names; else the desktop's tool; else the one message.
class tst_SystemInformation : public QObject
{
    Q_OBJECT
private slots:
    void StartSysInfo_data()
    {
        QTest::addColumn<QByteArray>("path"); // "PATH" as stored; null: none
        QTest::addColumn<QString>("folder");  // "MSINFO": <tools> holds the tool, <empty> does not; "": none
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("startable");
        QTest::addColumn<QStringList>("attempts");
        QTest::addColumn<bool>("message");
        const QString reg = QString::fromUtf8("C:\\工具\\msinfo32.exe"), tool = "<tools>/MSINFO32.EXE", hi = "hardinfo";
        const QByteArray path = AnsiText::encode(reg) + '\0', none, expand("%ProgramFiles%\\m.exe\0", 21);
        // clang-format off
        const std::tuple<const char *, QByteArray, QString, QString, QStringList, QStringList, bool> rows[] = {
            {"PATH started unchanged", path, "<tools>", hi, {reg}, {reg}, false},
            {"PATH without its NUL", path.chopped(1), "", "", {reg}, {reg}, false},
            {"PATH names no program", path, "<tools>", "", {tool}, {reg}, true},
            {"MSINFO folder holds the tool", none, "<tools>", "", {tool}, {tool}, false},
            {"MSINFO folder without the tool", none, "<empty>", "", {tool}, {}, true},
            {"both absent", none, "", "", {}, {}, true},
            {"both absent, desktop tool", none, "", hi, {hi}, {hi}, false},
            {"desktop tool after a PATH that fails", path, "", hi, {hi}, {reg, hi}, false},
            {"desktop tool that cannot start", none, "", hi, {}, {hi}, true},
            {"expandable PATH gives no text", expand, "<tools>", "", {tool}, {""}, true},
            {"PATH of exactly the buffer", QByteArray(1023, 'a') + '\0', "", "", {}, {QString(1023, 'a')}, true},
            {"PATH over the buffer counts as absent", QByteArray(1024, 'a') + '\0', "<tools>", "", {tool}, {tool}, false},
        };
        // clang-format on
        for (const auto &[name, path, folder, desktop, startable, attempts, message] : rows)
            QTest::newRow(name) << path << folder << desktop << startable << attempts << message;
    }
    void StartSysInfo()
    {
        QFETCH(QByteArray, path);
        QFETCH(QString, folder);
        QFETCH(QStringList, startable);
        QFETCH(QStringList, attempts);
        TempProgramFolder tools;
        tools.write("MSINFO32.EXE", "MZ");
        tools.write("empty/other.exe", "MZ");
        const auto place = [&tools](QStringList texts) {
            for (QString &text : texts)
                text = QDir::toNativeSeparators(
                    text.replace("<tools>", tools.path()).replace("<empty>", tools.file("empty")));
            return texts;
        };
        FakeRegistry registry;
        if (!path.isNull())
            registry.machineValues[{"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"}] = {
                path, path.startsWith('%') ? 2u : 1u};
        if (!folder.isEmpty())
            registry.machineValues[{"SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO"}] = {
                AnsiText::encode(place({folder})[0]) + '\0', 1};
        FakeProgramStarter starter;
        QFETCH(QString, desktop);
        starter.desktopTool = desktop;
        for (const QString &program : place(startable))
            starter.startable.insert(program);
        RecordingMessages messages;

        SystemInformation(registry, starter, messages).StartSysInfo();

        QCOMPARE(starter.attempts, place(attempts));
        QFETCH(bool, message);
        QCOMPARE(messages.shown, message ? QStringList{"此时系统信息无效"} : QStringList{});
    }
};

QTEST_GUILESS_MAIN(tst_SystemInformation)
#include "tst_SystemInformation.moc"
