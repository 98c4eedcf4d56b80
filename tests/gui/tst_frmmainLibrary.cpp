#include "WindowFixture.h"
#include "common/LibraryFixtures.h"
#include "startup/UiCircleShape.h"
#include "startup/UiMeaningBox.h"
#include "startup/frmmain.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using LibraryFixtures::writeLibrary;

namespace {

const QByteArray kWords = LibraryFixtures::wordFile({{"tanker", "n.油船；空中加油飞机"}, {"run", "v.跑"}});
const QByteArray kAssociations = LibraryFixtures::associationFile({{{"ship", "n.船"}}, {}});

} // namespace

class tst_frmmainLibrary : public QObject
{
    Q_OBJECT
private slots:
    void pickingALibraryOpensIt()
    {
        Window w;
        writeLibrary(w.folder.path(), QStringLiteral("cet4"), kWords, kAssociations);
        w.pick(QStringLiteral("cet4.qd"));
        QCOMPARE(w.dialog.asked.value(0), QStringLiteral("选择词库"));
        QCOMPARE(w.dialog.asked.value(1), QStringLiteral("Tesmar单词Graxo词库(*.qd)"));
        QCOMPARE(QDir(w.dialog.asked.value(2)), QDir(w.folder.file(QStringLiteral("词库"))));
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Tesmar单词Dorrit        词库：cet4"));
        QVERIFY(w.lookupEnabled());
        QVERIFY(!w.find<QPushButton>("Command5")->isEnabled());
        QCOMPARE(w.find<QLabel>("Label3")->text(), QStringLiteral("0"));
        QCOMPARE(w.find<QLineEdit>("Text1")->text(), QStringLiteral("随机选或在此输入"));
        QCOMPARE(w.find<UiMeaningBox>("Text2_8")->text(), QStringLiteral("欢迎使用Tesmar系列！"));
        for (int i = 0; i < 9; ++i) {
            QVERIFY(!w.find<UiCircleShape>(QStringLiteral("Shape1_%1").arg(i))->isHidden());
            QVERIFY(w.find<QLabel>(QStringLiteral("Label1_%1").arg(i))->isHidden());
        }
        QCOMPARE(w.window->library().wordLibrary().words(1), QStringLiteral("tanker"));
        QVERIFY(w.messages.shown.isEmpty());
    }

    void damagedLibraryEndsInAUsableState_data()
    {
        QTest::addColumn<bool>("keptLibrary");
        QTest::newRow("no library open before") << false;
        QTest::newRow("a library open before") << true;
    }
    void damagedLibraryEndsInAUsableState()
    {
        QFETCH(bool, keptLibrary);
        Window w;
        if (keptLibrary) {
            writeLibrary(w.folder.path(), QStringLiteral("cet4"), kWords, kAssociations);
            w.pick(QStringLiteral("cet4.qd"));
        }
        writeLibrary(w.folder.path(), QStringLiteral("broken"), QByteArray("3\r\n\"a\",\"b\"\r\n"), kAssociations);
        w.pick(QStringLiteral("broken.qd"));
        QCOMPARE(w.messages.shown.size(), 1);
        QVERIFY2(w.messages.shown.first().contains(QStringLiteral("broken.qd")), qPrintable(w.messages.shown.first()));
        QCOMPARE(w.find<QLabel>("Label3")->text(), QStringLiteral("0"));
        if (keptLibrary) {
            QCOMPARE(w.window->windowTitle(), QStringLiteral("Tesmar单词Dorrit        词库：cet4"));
            QVERIFY(w.lookupEnabled());
            QCOMPARE(w.window->library().wordLibrary().wordCount(), 2);
        } else {
            QCOMPARE(w.window->windowTitle(), QStringLiteral("Tesmar单词Dorrit"));
            QVERIFY(!w.find<QPushButton>("Command1")->isEnabled());
            QVERIFY(!w.find<QLineEdit>("Text1")->isEnabled());
            QVERIFY(!w.find<QLabel>("Label3")->isEnabled());
        }
    }
};

QTEST_MAIN(tst_frmmainLibrary)
#include "tst_frmmainLibrary.moc"
