#include "common/TempProgramFolder.h"
#include "platform/help/ChmFile.h"
#include "platform/help/ChmViewer.h"
#include "platform/help/ChmViewerBrowser.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QtEndian>

class tst_ChmViewer : public QObject
{
    Q_OBJECT
private slots:
    // chmlib trusts the fixed headers' offsets and sizes, so damage there must never reach it; what
    // it refuses (in its child) is refused too, the viewer saying why; an object that does not read
    // whole is left out. Then the built help file is walked as a reader does.
    void open_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: none; "<folder>"; "...<too large>": made sparse past the limit
        QTest::addColumn<ChmFile::Error>("error");
        QTest::addColumn<bool>("system");     // the uncompressed #SYSTEM object reads, and the title in it
        QTest::addColumn<QString>("message"); // shown instead of the compressed /index.htm: it does not read
        QFile built(DORRIT_HELP_FILE);
        QVERIFY(built.open(QIODevice::ReadOnly));
        const QByteArray good = built.readAll();
        const qsizetype dir = qsizetype(qFromLittleEndian<quint64>(good.constData() + 72));
        const auto with = [&good](qsizetype at, auto value) {
            const auto le = qToLittleEndian(value);
            return QByteArray(good).replace(at, sizeof le, reinterpret_cast<const char *>(&le), sizeof le);
        };
        const auto bad = ChmFile::Error::NotHelpFile, none = ChmFile::Error::None;
        const char *broken = "帮助文件“%1”已损坏或不是帮助文件，无法显示。请重新安装程序。",
                   *noTopic = "帮助文件“%1”中没有可以显示的主题。";
        // clang-format off
        const std::tuple<const char *, QByteArray, ChmFile::Error, bool, const char *> rows[] = {
            {"the built help file", good, none, true, ""},
            {"missing", {}, ChmFile::Error::Missing, false, "找不到帮助文件“%1”。请确认它和程序放在同一个文件夹里。"},
            {"a folder", "<folder>", ChmFile::Error::Unreadable, false, "无法读取帮助文件“%1”。请检查它的访问权限。"},
            {"larger than help files are", good + "<too large>", bad, false, broken}, {"empty", "", bad, false, broken},
            {"text file", "<html><body>not a help file</body></html>", bad, false, broken},
            {"cut inside the header", good.left(0x50), bad, false, broken},
            {"cut inside the directory", good.left(dir + 0x40), bad, false, broken},
            {"unknown version", with(4, quint32(4)), bad, false, broken},
            {"directory beyond the end", with(72, quint64(good.size()) + 1), bad, false, broken},
            {"index head outside the directory", with(dir + 32, quint32(1000)), bad, false, broken},
            {"directory chunk signature", QByteArray(good).replace(good.indexOf("PMGL"), 1, "X"), bad, false, broken},
            {"compression data damaged", QByteArray(good).replace(good.indexOf("LZXC"), 4, "XXXX"), none, true, noTopic},
            {"cut after the directory", good.left(dir + 0x1200), none, false, noTopic},
        };
        // clang-format on
        for (const auto &[name, file, error, system, message] : rows)
            QTest::newRow(name) << file << error << system << QString::fromUtf8(message);
    }
    void open()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        TempProgramFolder folder;
        const QString path = folder.file("Tesmar单词Dorrit.chm");
        if (file == "<folder>")
            QDir().mkpath(path);
        else if (!file.isNull())
            folder.write("Tesmar单词Dorrit.chm", file);
        if (file.endsWith("<too large>"))
            QVERIFY(QFile::resize(path, ChmFile::maxFileSize + 1)); // sparse: nothing more is written
        const ChmFile chm(path);
        QTEST(chm.error(), "error");
        QTEST(chm.object("/#SYSTEM").has_value(), "system");
        QTEST(chm.title() == "Tesmar单词Dorrit 帮助", "system");
        QCOMPARE(chm.object("INDEX.htm").value_or("").contains("<h1>欢迎使用 Tesmar"), message.isEmpty());
        QVERIFY(!chm.object("/nothing.htm"));

        ChmViewer viewer;
        ChmViewerBrowser *browser = viewer.browser();
        auto *tree = viewer.findChild<QTreeWidget *>("contents");
        auto *index = viewer.findChild<QListWidget *>("index");
        auto *sidebar = viewer.findChild<QTabWidget *>("sidebar");
        const auto act = [&viewer](const char *name) { viewer.findChild<QAction *>(name)->trigger(); };
        const auto shown = [&] { return browser->source().toString() + ' ' + tree->currentItem()->text(0); };
        viewer.openFile(DORRIT_HELP_FILE);
        viewer.openFile(path);
        if (!message.isEmpty()) { // and the next sound file shows again
            QCOMPARE(browser->toPlainText(), "无法显示帮助\n" + message.arg(path));
            QVERIFY(tree->topLevelItemCount() == 0 && !sidebar->isEnabled());
            QVERIFY(!viewer.findChild<QAction *>("back")->isEnabled());
            viewer.openFile(DORRIT_HELP_FILE);
        }
        QVERIFY(sidebar->isEnabled());
        QCOMPARE(shown(), "chm:/index.htm 欢迎使用 Tesmar单词Dorrit");
        QCOMPARE(tree->topLevelItem(0)->childCount(), 6);
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
