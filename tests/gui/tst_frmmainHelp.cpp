#include "WindowFixture.h"
#include "dialogs/frmAbout.h"
#include "startup/frmmain.h"

#include <QAction>
#include <QDir>
#include <QPointer>
#include <QTest>

class tst_frmmainHelp : public QObject
{
    Q_OBJECT
private slots:
    void helpMenu()
    {
        Window w;
        frmmain &window = *w.window;
        RecordingMessages &messages = w.messages;
        RecordingHelp &help = w.help;
        const TempProgramFolder &folder = w.folder;

        window.findChild<QAction *>("mnuhelphtm")->trigger();
        QCOMPARE(help.shown, QStringList{QDir(folder.path()).filePath(QStringLiteral("Tesmar单词Dorrit.chm"))});
        QCOMPARE(help.owners, QList<quintptr>{quintptr(window.winId())});

        window.findChild<QAction *>("mnuabout")->trigger();
        QPointer<frmAbout> about = window.findChild<frmAbout *>();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowModality(), Qt::ApplicationModal);
        about->StartSysInfo();
        QCOMPARE(messages.shown, QStringList{QStringLiteral("此时系统信息无效")});
        about->cmdOK_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(about.isNull());
    }
};

QTEST_MAIN(tst_frmmainHelp)
#include "tst_frmmainHelp.moc"
