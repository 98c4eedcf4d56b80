#include "common/TempProgramFolder.h"
#include "platform/ChmViewer.h"
#include "platform/ChmViewerBrowser.h"

#include <QAction>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

class tst_ChmViewer : public QObject
{
    Q_OBJECT
private slots:
    // The built help file walked as a reader does; a file that cannot be shown gets the message
    // that names it, and the next sound file shows again.
    void walk_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // of the file opened first; null: no file
        QTest::addColumn<QString>("message");
        QFile help(DORRIT_HELP_FILE);
        QVERIFY(help.open(QIODevice::ReadOnly));
        // clang-format off
        QTest::newRow("missing") << QByteArray() << "找不到帮助文件“%1”。请确认它和程序放在同一个文件夹里。";
        QTest::newRow("not a help file") << QByteArray("ITSF") << "帮助文件“%1”已损坏或不是帮助文件，无法显示。请重新安装程序。";
        QTest::newRow("no topic reads") << help.read(4800) << "帮助文件“%1”中没有可以显示的主题。";
        // clang-format on
    }
    void walk()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        TempProgramFolder folder;
        if (!bytes.isNull())
            folder.write("Tesmar单词Dorrit.chm", bytes);
        ChmViewer viewer;
        ChmViewerBrowser *browser = viewer.browser();
        auto *tree = viewer.findChild<QTreeWidget *>("contents");
        auto *index = viewer.findChild<QListWidget *>("index");
        auto *sidebar = viewer.findChild<QTabWidget *>("sidebar");
        const auto act = [&viewer](const char *name) { viewer.findChild<QAction *>(name)->trigger(); };
        const auto shown = [&] { return browser->source().toString() + ' ' + tree->currentItem()->text(0); };
        viewer.openFile(DORRIT_HELP_FILE);
        viewer.openFile(folder.file("Tesmar单词Dorrit.chm"));
        QCOMPARE(browser->toPlainText(), "无法显示帮助\n" + message.arg(folder.file("Tesmar单词Dorrit.chm")));
        QVERIFY(tree->topLevelItemCount() == 0 && !sidebar->isEnabled());
        QVERIFY(!viewer.findChild<QAction *>("back")->isEnabled());

        viewer.openFile(DORRIT_HELP_FILE);
        QCOMPARE(viewer.windowTitle(), "Tesmar单词Dorrit 帮助");
        QVERIFY(sidebar->isEnabled());
        QCOMPARE(shown(), "chm:/index.htm 欢迎使用 Tesmar单词Dorrit");
        QCOMPARE(tree->topLevelItem(0)->childCount(), 5);
        emit browser->anchorClicked(QUrl("library.htm")); // relative, as the page has it
        QCOMPARE(shown(), "chm:/library.htm 打开词库");
        emit browser->anchorClicked(QUrl("board.htm#turn"));
        act("back");
        QCOMPARE(shown(), "chm:/library.htm 打开词库");
        act("forward");
        QCOMPARE(shown(), "chm:/board.htm#turn 浏览单词盘");
        act("home");
        QCOMPARE(browser->source(), QUrl("chm:/index.htm"));
        emit tree->itemClicked(tree->topLevelItem(1)->child(2), 0);
        QVERIFY(browser->toPlainText().contains("此时系统信息无效"));

        // Keywords in pinyin order (ciku, houtui, suiji, xitong), not by character code.
        QStringList keywords;
        for (int row = 0; row < index->count(); ++row)
            keywords << index->item(row)->text();
        QCOMPARE(keywords.filter(QRegularExpression("^(词库|后退|随机|系统信息)$")).join(' '),
                 "词库 后退 随机 系统信息");
        emit index->itemActivated(index->item(keywords.indexOf("联想词")));
        QCOMPARE(browser->source(), QUrl("chm:/board.htm#turn"));
    }
};

QTEST_MAIN(tst_ChmViewer)
#include "tst_ChmViewer_posix.moc"
