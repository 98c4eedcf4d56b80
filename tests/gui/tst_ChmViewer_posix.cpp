#include "common/TempProgramFolder.h"
#include "platform/ChmViewer.h"
#include "platform/ChmViewerBrowser.h"

#include <QAction>
#include <QListWidget>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QTreeWidget>

namespace {

const QString kHelpFile = QString::fromUtf8(DORRIT_HELP_FILE);

QStringList topLevelContents(const ChmViewer &viewer)
{
    QStringList names;
    auto *tree = viewer.findChild<QTreeWidget *>("contents");
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        names.append(tree->topLevelItem(i)->text(0));
    return names;
}

} // namespace

class tst_ChmViewer : public QObject
{
    Q_OBJECT
private slots:
    void defaultTopicWithContents()
    {
        ChmViewer viewer;
        viewer.openFile(kHelpFile);
        QVERIFY(viewer.hasFile());
        QCOMPARE(viewer.windowTitle(), QStringLiteral("Tesmar单词Dorrit 帮助"));
        ChmViewerBrowser *browser = viewer.browser();
        QCOMPARE(browser->source(), QUrl("chm:/index.htm"));
        QCOMPARE(browser->document()->metaInformation(QTextDocument::DocumentTitle),
                 QStringLiteral("欢迎使用 Tesmar单词Dorrit"));
        QVERIFY(browser->toPlainText().startsWith(QStringLiteral("欢迎使用 Tesmar单词Dorrit")));
        QCOMPARE(topLevelContents(viewer), (QStringList{QStringLiteral("欢迎使用 Tesmar单词Dorrit"), "参考"}));
        QCOMPARE(viewer.findChild<QTreeWidget *>("contents")->currentItem()->text(0),
                 QStringLiteral("欢迎使用 Tesmar单词Dorrit"));
        QVERIFY(viewer.findChild<QListWidget *>("index")->count() > 10);
    }

    void pictureFromInsideTheFile()
    {
        ChmViewer viewer;
        viewer.openFile(kHelpFile);
        const QVariant data =
            viewer.browser()->document()->resource(QTextDocument::ImageResource, QUrl("images/board.png"));
        QCOMPARE(qvariant_cast<QPixmap>(data).size(), QSize(460, 340));
    }

    void linksBackAndForward()
    {
        ChmViewer viewer;
        viewer.openFile(kHelpFile);
        ChmViewerBrowser *browser = viewer.browser();
        auto *back = viewer.findChild<QAction *>("back");
        auto *forward = viewer.findChild<QAction *>("forward");
        QVERIFY(!back->isEnabled());

        // A relative link of the page, as the browser resolves it when clicked.
        emit browser->anchorClicked(QUrl("library.htm"));
        QCOMPARE(browser->source(), QUrl("chm:/library.htm"));
        QVERIFY(browser->toPlainText().startsWith(QStringLiteral("打开词库")));
        QCOMPARE(viewer.findChild<QTreeWidget *>("contents")->currentItem()->text(0), QStringLiteral("打开词库"));
        QVERIFY(back->isEnabled());

        emit browser->anchorClicked(QUrl("board.htm#turn"));
        QCOMPARE(browser->source(), QUrl("chm:/board.htm#turn"));

        back->trigger();
        QCOMPARE(browser->source(), QUrl("chm:/library.htm"));
        QVERIFY(forward->isEnabled());
        forward->trigger();
        QCOMPARE(browser->source(), QUrl("chm:/board.htm#turn"));
        viewer.findChild<QAction *>("home")->trigger();
        QCOMPARE(browser->source(), QUrl("chm:/index.htm"));
    }

    void contentsAndIndexOpenTopics()
    {
        ChmViewer viewer;
        viewer.openFile(kHelpFile);
        auto *tree = viewer.findChild<QTreeWidget *>("contents");
        QTreeWidgetItem *reference = tree->topLevelItem(1);
        emit tree->itemClicked(reference->child(2), 0);
        QCOMPARE(viewer.browser()->source(), QUrl("chm:/messages.htm"));
        QVERIFY(viewer.browser()->toPlainText().contains(QStringLiteral("此时系统信息无效")));

        auto *index = viewer.findChild<QListWidget *>("index");
        // Keywords in pinyin order (ciku, houtui, suiji, xitong), not by character code.
        QStringList keywords;
        for (int row = 0; row < index->count(); ++row)
            keywords.append(index->item(row)->text());
        const QStringList pinyin = {QStringLiteral("词库"), QStringLiteral("后退"), QStringLiteral("随机"),
                                    QStringLiteral("系统信息")};
        for (qsizetype k = 1; k < pinyin.size(); ++k)
            QVERIFY(keywords.indexOf(pinyin[k - 1]) < keywords.indexOf(pinyin[k]));
        const QList<QListWidgetItem *> found = index->findItems(QStringLiteral("联想词"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        emit index->itemActivated(found[0]);
        QCOMPARE(viewer.browser()->source(), QUrl("chm:/board.htm#turn"));
    }

    void fileThatCannotBeShown_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file at all
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("找不到帮助文件");
        QTest::newRow("not a help file") << QByteArray("ITSF garbage") << QStringLiteral("已损坏或不是帮助文件");
    }
    void fileThatCannotBeShown()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        TempProgramFolder folder;
        if (!bytes.isNull())
            folder.write(QStringLiteral("Tesmar单词Dorrit.chm"), bytes);
        const QString path = folder.file(QStringLiteral("Tesmar单词Dorrit.chm"));

        ChmViewer viewer;
        viewer.openFile(kHelpFile);
        viewer.openFile(path);
        QVERIFY(!viewer.hasFile());
        const QString shown = viewer.browser()->toPlainText();
        QVERIFY2(shown.contains(message) && shown.contains(path), qPrintable(shown));
        QVERIFY(topLevelContents(viewer).isEmpty());
        QVERIFY(!viewer.findChild<QTabWidget *>("sidebar")->isEnabled());
        QVERIFY(!viewer.findChild<QAction *>("back")->isEnabled());

        // The next request with a sound file shows it again.
        viewer.openFile(kHelpFile);
        QCOMPARE(viewer.browser()->source(), QUrl("chm:/index.htm"));
        QVERIFY(viewer.findChild<QTabWidget *>("sidebar")->isEnabled());
    }
};

QTEST_MAIN(tst_ChmViewer)
#include "tst_ChmViewer_posix.moc"
