#include "board/BoardModel.h"

#include <QTest>

using Ints = QList<int>;

// The layout chosen for the screen, where its slots stand and how a meaning box grows in it.
class tst_BoardGeometry : public QObject
{
    Q_OBJECT
private slots:
    void layout_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("resolutionIndex");
        QTest::addColumn<Ints>("xs");
        QTest::addColumn<Ints>("ys");
        const Ints x1{300, 417, 471, 417, 300, 183, 129, 183, 300}, y1{73, 119, 230, 341, 387, 341, 230, 119, 230};
        const Ints x2{400, 558, 650, 558, 400, 242, 150, 242, 400}, y2{94, 151, 290, 429, 486, 429, 290, 151, 290};
        const Ints x3{512, 693, 789, 693, 512, 331, 235, 331, 512}, y3{135, 205, 374, 543, 613, 543, 374, 205, 374};
        QTest::newRow("600 at 120 dpi is 7200 twips") << 600 << 120.0 << 1 << x1 << y1;
        QTest::newRow("600 at 96 dpi") << 600 << 96.0 << 2 << x2 << y2;
        QTest::newRow("768 at 96 dpi") << 768 << 96.0 << 3 << x3 << y3;
        QTest::newRow("768 at 120 dpi falls to the last") << 768 << 120.0 << 3 << x3 << y3;
        QTest::newRow("no screen") << 0 << 96.0 << 3 << x3 << y3;
    }
    void layout()
    {
        QFETCH(int, pixels);
        QFETCH(double, dpi);
        QFETCH(int, resolutionIndex);
        QFETCH(Ints, xs);
        QFETCH(Ints, ys);
        auto g = BoardGeometry::forScreenHeightTwips(pixels * BoardGeometry::twipsPerPixel(dpi));
        g.computeSlots();
        QCOMPARE(g.resolutionIndex, resolutionIndex);
        QCOMPARE(Ints(g.slotX.begin(), g.slotX.end()), xs);
        QCOMPARE(Ints(g.slotY.begin(), g.slotY.end()), ys);
    }

    void meaningBox_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        // 640x480: lines of 18 cells, cell 6, padding 6, single line 18, base 18, line 12.
        QTest::newRow("640 empty") << 7200 << QString() << 6 << 18;
        QTest::newRow("640 one line") << 7200 << QString(18, u'a') << 114 << 18;
        QTest::newRow("640 two lines exactly") << 7200 << QString(36, u'a') << 114 << 30;
        QTest::newRow("640 Chinese two cells, line break two") << 7200 << QStringLiteral("油船\r\n") << 42 << 18;
        // 800x600: 18 cells, cell 8, padding 8, single 24, base 22, line 16.
        QTest::newRow("800 one line exactly: not the wrapped height") << 9000 << QString(18, u'a') << 152 << 24;
        QTest::newRow("800 two lines and a cell") << 9000 << QString(18, u'船') + u'a' << 152 << 54;
        // 1024x768: 16 cells, cell 10, padding 6, single 27, base 25, line 19.
        QTest::newRow("1024 one line exactly, in Chinese") << 11520 << QString(8, u'船') << 166 << 27;
        QTest::newRow("1024 greeting") << 11520 << QStringLiteral("欢迎使用Tesmar系列！") << 166 << 44;
        QTest::newRow("1024 two lines and a cell") << 11520 << QString(33, u'a') << 166 << 63;
    }
    void meaningBox()
    {
        QFETCH(int, twips);
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, height);
        BoardModel board(BoardGeometry::forScreenHeightTwips(twips));
        board.computeSlots();
        board.placeRing();
        for (int slot : {0, 3, 8}) {
            const bool shown = board.slot(slot).meaningShown;
            board.dispchin(slot, text);
            const BoardModel::Slot &s = board.slot(slot);
            QCOMPARE(s.meaning, text);
            QCOMPARE((Ints{s.meaningBox.width, s.meaningBox.height}), (Ints{width, height}));
            QCOMPARE(s.meaningBox.left, board.geometry().slotX[size_t(slot)] - width / 2.0);
            QCOMPARE(s.meaningBox.top, board.geometry().slotY[size_t(slot)] - height / 2.0);
            // Laying a meaning out neither shows nor hides its box.
            QCOMPARE(s.meaningShown, shown);
        }
    }
};

QTEST_GUILESS_MAIN(tst_BoardGeometry)
#include "tst_BoardGeometry.moc"
