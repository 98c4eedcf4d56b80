#include "common/FakeProgramStarter.h"
#include "common/FakeRegistry.h"
#include "common/RecordingServices.h"
#include "dialogs/frmAbout.h"
#include "dialogs/myself.h"
#include "platform/AnsiText.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

const QString kTool = "C:\\Tools\\msinfo32.exe";

// An About box as the menu shows it: created with new, shown, and active.
struct Shown
{
    FakeRegistry registry;
    FakeProgramStarter starter;
    RecordingMessages messages;
    QPointer<frmAbout> about;

    Shown()
    {
        registry.machineValues[{"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"}] =
            RegistryValue{AnsiText::encode(kTool) + QByteArray(1, '\0'), 1};
        starter.startable.insert(kTool);
        about = new frmAbout(registry, starter, messages);
        about->show();
        about->activateWindow();
    }
    ~Shown() { delete about.data(); }
    template <typename T> T *find(const QString &name) const { return about->findChild<T *>(name); }
    myself *card() const { return about->findChild<myself *>(); }
};

// Closing destroys a dialog later, through the event loop.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

class tst_frmAbout : public QObject
{
    Q_OBJECT
private slots:
    void controls()
    {
        Shown s;
        QCOMPARE(s.about->windowTitle(), QStringLiteral("关于 Tesmar单词Dorrit"));
        QCOMPARE(s.find<QLabel>("Label1")->text(), QStringLiteral("Ver 0.1"));
        QVERIFY(s.find<QPushButton>("cmdOK")->isDefault());
        QCOMPARE(s.find<QPushButton>("cmdOK")->text(), QStringLiteral("确定"));
        QCOMPARE(s.find<QPushButton>("cmdSysInfo")->text(), QStringLiteral("系统信息(&S)..."));
    }

    void background()
    {
        Shown s;
        const QImage shot = s.about->grab().toImage();
        const QImage picture(QStringLiteral(":/images/about_background.jpg"));
        QCOMPARE(picture.size(), QSize(675, 310));
        // Drawn at its own size from the top-left corner: a corner away from the controls
        // shows the picture's own pixel there.
        QCOMPARE(shot.pixelColor(2, 150).rgb(), picture.pixelColor(2, 150).rgb());
        QCOMPARE(shot.pixelColor(200, 120).rgb(), picture.pixelColor(200, 120).rgb());
    }

    void keysClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void keysClose()
    {
        QFETCH(int, key);
        Shown s;
        QTest::keyClick(s.about.data(), Qt::Key(key));
        settle();
        QVERIFY(s.about.isNull());
    }

    void altSStartsSystemInformation()
    {
        Shown s;
        QVERIFY(QTest::qWaitForWindowActive(s.about.data()));
        QTest::keyClick(s.about.data(), Qt::Key_S, Qt::AltModifier);
        // A mnemonic clicks the button after a short animation.
        QTRY_COMPARE(s.starter.attempts, QStringList{kTool});
        QVERIFY(s.messages.shown.isEmpty());
        QVERIFY(!s.about.isNull());
    }

    void card()
    {
        Shown s;
        // A double-click on the picture, not a click, opens the hidden card, modal.
        QTest::mouseClick(s.find<QLabel>("Image1"), Qt::LeftButton);
        QVERIFY(!s.card());
        QTest::mouseDClick(s.find<QLabel>("Image1"), Qt::LeftButton);
        QPointer<myself> card = s.card();
        QVERIFY(card && card->isVisible());
        QCOMPARE(card->windowModality(), Qt::ApplicationModal);
        QCOMPARE(card->windowTitle(), QStringLiteral("我"));
        auto *text = card->findChild<QPlainTextEdit *>("Text1");
        auto *info = card->findChild<QPushButton *>("Command2");
        auto *bye = card->findChild<QPushButton *>("Command1");
        QCOMPARE(info->text(), QStringLiteral("我的基本情况"));
        QCOMPARE(bye->text(), QStringLiteral("再见"));
        for (QPushButton *button : {info, bye})
            QVERIFY(!button->isDefault() && !button->autoDefault());

        QCOMPARE(text->toPlainText(), myself::greeting);
        QTest::mouseClick(info, Qt::LeftButton);
        QCOMPARE(text->toPlainText(), myself::introduction);
        QTest::mouseClick(info, Qt::LeftButton);
        QCOMPARE(text->toPlainText(), myself::introduction);

        // No cancel button: Esc leaves the card open.
        QTest::keyClick(card.data(), Qt::Key_Escape);
        settle();
        QVERIFY(!card.isNull() && card->isVisible());

        QTest::mouseClick(bye, Qt::LeftButton);
        settle();
        QVERIFY(card.isNull());
        QVERIFY(!s.about.isNull());

        // Opened again, it greets again.
        s.about->Image1_DblClick();
        QCOMPARE(s.card()->findChild<QPlainTextEdit *>("Text1")->toPlainText(), myself::greeting);
    }

    void cardTabOrder()
    {
        Shown s;
        s.about->Image1_DblClick();
        myself *card = s.card();
        QVERIFY(QTest::qWaitForWindowActive(card));
        auto *text = card->findChild<QPlainTextEdit *>("Text1");
        QCOMPARE(QApplication::focusWidget(), text);
        QTest::keyClick(text, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), card->findChild<QPushButton *>("Command1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), card->findChild<QPushButton *>("Command2"));
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
