#include "board/BoardModel.h"
#include "board/MeaningLayout.h"

#include <QTest>

namespace {
BoardGeometry layout(int twips)
{
    auto g = BoardGeometry::forScreenHeightTwips(twips);
    g.computeSlots();
    return g;
}
} // namespace

class tst_MeaningLayout : public QObject
{
    Q_OBJECT
private slots:
    void boxSize_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        // 640x480: L 18, cell 6, padding 6, single 18, base 18, line 12.
        QTest::newRow("640 empty") << 7200 << QString() << 6 << 18;
        QTest::newRow("640 ten cells") << 7200 << QString(10, u'a') << 66 << 18;
        QTest::newRow("640 exactly L") << 7200 << QString(18, u'a') << 114 << 18;
        QTest::newRow("640 L+1") << 7200 << QString(19, u'a') << 114 << 30;
        QTest::newRow("640 26 cells") << 7200 << QString(13, u'油') << 114 << 30;
        QTest::newRow("640 2L") << 7200 << QString(36, u'a') << 114 << 30;
        QTest::newRow("640 2L+1") << 7200 << QString(37, u'a') << 114 << 42;
        QTest::newRow("640 n.油船") << 7200 << QStringLiteral("n.油船") << 42 << 18;
        QTest::newRow("640 line breaks count one") << 7200 << QStringLiteral("ab\r\ncd") << 42 << 18;
        QTest::newRow("640 unencodable counts one") << 7200 << QStringLiteral("\u0e01\u0e02") << 18 << 18;
        // 800x600: L 18, cell 8, padding 8, single 24, base 22, line 16.
        QTest::newRow("800 exactly L") << 9000 << QString(9, u'船') << 152 << 24;
        QTest::newRow("800 2L+1") << 9000 << QString(18, u'船') + u'a' << 152 << 54;
        // 1024x768: L 16, cell 10, padding 6, single 27, base 25, line 19.
        QTest::newRow("1024 greeting") << 11520 << QStringLiteral("欢迎使用Tesmar系列！") << 166 << 44;
        QTest::newRow("1024 L+1") << 11520 << QString(17, u'a') << 166 << 44;
        QTest::newRow("1024 2L") << 11520 << QString(32, u'a') << 166 << 44;
        QTest::newRow("1024 2L+1") << 11520 << QString(33, u'a') << 166 << 63;
    }
    void boxSize()
    {
        QFETCH(int, twips);
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, height);
        const BoardGeometry g = layout(twips);
        for (int slot : {0, 3, 8}) {
            const MeaningBox box = meaningBoxFor(g, slot, text);
            QCOMPARE(box.width, width);
            QCOMPARE(box.height, height);
            QCOMPARE(box.left, g.slotX[size_t(slot)] - width / 2.0);
            QCOMPARE(box.top, g.slotY[size_t(slot)] - height / 2.0);
        }
    }

    void dispchinKeepsVisibility()
    {
        BoardModel board(layout(7200));
        board.placeRing();
        board.dispchin(2, QStringLiteral("n.油船；空中加油飞机"));
        QVERIFY(!board.slot(2).meaningShown);
        QCOMPARE(board.slot(2).meaning, QStringLiteral("n.油船；空中加油飞机"));
        QCOMPARE(board.slot(2).meaningBox.width, 114);
        // 20 cells: two lines.
        QCOMPARE(board.slot(2).meaningBox.height, 30);
        QCOMPARE(board.slot(2).meaningBox.left, 471 - 57.0);
        QCOMPARE(board.slot(2).meaningBox.top, 230 - 15.0);
    }
};

QTEST_GUILESS_MAIN(tst_MeaningLayout)
#include "tst_MeaningLayout.moc"
