#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "startup/SettingsFile.h"
#include "startup/UiCircleShape.h"
#include "startup/UiMeaningBox.h"
#include "startup/frmmain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

struct Started
{
    TempProgramFolder folder;
    RecordingSpeech speech;
    RecordingMessages messages;
    std::unique_ptr<frmmain> window;

    explicit Started(int twips = 11520, const QByteArray &settingsFile = QByteArray())
    {
        if (!settingsFile.isNull())
            folder.write(SettingsFile::fileName, settingsFile);
        frmmain::Services services;
        services.programFolder = folder.path();
        services.speech = &speech;
        services.messages = &messages;
        services.screenHeightTwips = twips;
        Settings initial;
        window = std::make_unique<frmmain>(services, initial);
    }
    template <typename T> T *find(const QString &name) const { return window->findChild<T *>(name); }
};

} // namespace

class tst_frmmain : public QObject
{
    Q_OBJECT
private slots:
    void noLibraryState()
    {
        Started s;
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Tesmar单词Dorrit"));
        QVERIFY(!s.find<QPushButton>("Command1")->isEnabled());
        QVERIFY(!s.find<QPushButton>("Command2")->isEnabled());
        QVERIFY(!s.find<QPushButton>("Command5")->isEnabled());
        QVERIFY(!s.find<QLabel>("Label3")->isEnabled());
        QCOMPARE(s.find<QLabel>("Label3")->text(), QStringLiteral("0"));
        auto *input = s.find<QLineEdit>("Text1");
        QCOMPARE(input->text(), QStringLiteral("随机选或在此输入"));
        QVERIFY(!input->isEnabled());
        QVERIFY(s.find<QPushButton>("Command3")->isHidden());
        QVERIFY(s.find<QPushButton>("Command4")->isHidden());
        QCOMPARE(s.find<QPushButton>("Command1")->toolTip(), QStringLiteral("随机选择单词"));
        QCOMPARE(s.find<QPushButton>("Command2")->toolTip(), QStringLiteral("Let's GO!"));
        QVERIFY(s.messages.shown.isEmpty() || s.messages.shown.size() == 1);
    }

    void boardAfterStartup_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<QRect>("centreCircle");
        QTest::addColumn<QRect>("centreLabel");
        QTest::addColumn<QRect>("greetingBox");
        QTest::addColumn<QPoint>("command3");
        QTest::newRow("640x480") << 7200 << QRect(241, 171, 118, 118) << QRect(240, 182, 121, 17)
                                 << QRect(243, 215, 114, 30) << QPoint(216, 214);
        QTest::newRow("800x600") << 9000 << QRect(320, 210, 160, 160) << QRect(340, 230, 121, 17)
                                 << QRect(324, 271, 152, 38) << QPoint(480, 256);
        QTest::newRow("1024x768") << 11520 << QRect(417, 279, 190, 190) << QRect(452, 294, 121, 20)
                                  << QRect(429, 352, 166, 44) << QPoint(610, 340);
    }
    void boardAfterStartup()
    {
        QFETCH(int, twips);
        QFETCH(QRect, centreCircle);
        QFETCH(QRect, centreLabel);
        QFETCH(QRect, greetingBox);
        QFETCH(QPoint, command3);
        Started s(twips);
        auto *centre = s.find<UiCircleShape>("Shape1_8");
        QCOMPARE(centre->geometry(), centreCircle);
        QCOMPARE(centre->property("BorderStyle").toInt(), 1);
        QCOMPARE(centre->property("BorderColor").value<QColor>(), QColor(255, 0, 0));
        QCOMPARE(s.find<QLabel>("Label1_8")->geometry(), centreLabel);
        QVERIFY(s.find<QLabel>("Label1_8")->font().bold());
        auto *greeting = s.find<UiMeaningBox>("Text2_8");
        QCOMPARE(greeting->text(), QStringLiteral("欢迎使用Tesmar系列！"));
        QCOMPARE(greeting->geometry(), greetingBox);
        QVERIFY(!greeting->isHidden());
        QCOMPARE(s.find<QPushButton>("Command3")->pos(), command3);
        for (int i = 0; i < 8; ++i) {
            QVERIFY(s.find<QLabel>(QStringLiteral("Label1_%1").arg(i))->isHidden());
            QVERIFY(s.find<UiMeaningBox>(QStringLiteral("Text2_%1").arg(i))->isHidden());
        }
    }

    void settingsFileCreatedAndRead()
    {
        Started fresh;
        QVERIFY(fresh.folder.exists(SettingsFile::fileName));
        QVERIFY(fresh.speech.spoken.isEmpty());

        Settings aloud;
        aloud.companionChecked = true;
        aloud.shareCompanionFolders = false;
        aloud.readAloud = true;
        aloud.desktopPicture = QStringLiteral("mine.jpg");
        Started again(11520, SettingsFile::format(aloud));
        QVERIFY(again.window->settings().readAloud);
        QCOMPARE(again.speech.spoken, QStringList{QStringLiteral("welcome")});
        // Start-up never rewrites a decided settings file.
        QCOMPARE(again.folder.read(SettingsFile::fileName), SettingsFile::format(aloud));
    }
};

QTEST_MAIN(tst_frmmain)
#include "tst_frmmain.moc"
