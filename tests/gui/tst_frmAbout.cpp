#include "common/RecordingServices.h"
#include "dialogs/frmAbout.h"
#include "dialogs/myself.h"
#include "platform/text/AnsiText.h"

#include <QApplication>
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

} // namespace

// What the end-to-end walk does not see (it opens and closes both): the texts, the drawing, the
// keys and the card's pages.
class tst_frmAbout : public QObject
{
    Q_OBJECT
private slots:
    void aboutBox()
    {
        Shown s;
        QCOMPARE(s.find<QLabel>("Label1")->text() + s.find<QPushButton>("cmdOK")->text() +
                     s.find<QPushButton>("cmdSysInfo")->text(),
                 QStringLiteral("Ver 0.1确定系统信息(&S)..."));
        // The picture drawn at its own size from the top-left corner.
        const QImage shot = s.about->grab().toImage();
        const QImage picture(QStringLiteral(":/images/about_background.jpg"));
        for (const QPoint at : {QPoint(2, 150), QPoint(200, 120)})
            QCOMPARE(shot.pixelColor(at).rgb(), picture.pixelColor(at).rgb());
        QVERIFY(QTest::qWaitForWindowActive(s.about.data()));
        // A mnemonic clicks the button after a short animation.
        QTest::keyClick(s.about.data(), Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(s.starter.attempts, QStringList{kTool});
        QVERIFY(s.messages.shown.isEmpty());
        // Enter presses OK, which destroys the dialog, later, through the event loop.
        QTest::keyClick(s.about.data(), Qt::Key_Return);
        QTRY_VERIFY(s.about.isNull());
    }

    void card()
    {
        Shown s;
        s.about->Image1_DblClick();
        QPointer<myself> card = s.card();
        QVERIFY(QTest::qWaitForWindowActive(card));
        auto *text = card->findChild<QPlainTextEdit *>("Text1");
        auto *info = card->findChild<QPushButton *>("Command2");
        auto *bye = card->findChild<QPushButton *>("Command1");
        QCOMPARE(card->windowTitle() + info->text() + bye->text(), QStringLiteral("我我的基本情况再见"));
        QVERIFY(!info->autoDefault() && !bye->autoDefault());
        // Tab goes from the text to 再见, then to 我的基本情况.
        QCOMPARE(QApplication::focusWidget(), text);
        QTest::keyClick(text, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), bye);
        QCOMPARE(text->toPlainText(), myself::greeting);
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(info, Qt::LeftButton);
            QCOMPARE(text->toPlainText(), myself::introduction);
        }
        // No cancel button: Esc leaves the card open. Opened again, it greets again.
        QTest::keyClick(card.data(), Qt::Key_Escape);
        QVERIFY(card->isVisible());
        QTest::mouseClick(bye, Qt::LeftButton);
        QTRY_VERIFY(card.isNull() && !s.about.isNull());
        s.about->Image1_DblClick();
        QCOMPARE(s.card()->findChild<QPlainTextEdit *>("Text1")->toPlainText(), myself::greeting);
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
