#include "board/BoardGeometry.h"

#include <QTest>

class tst_BoardGeometry : public QObject
{
    Q_OBJECT
private slots:
    void layoutChoice_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("resolutionIndex");
        QTest::addColumn<int>("boardWidth");
        QTest::newRow("480 at 96 dpi") << 480 << 96.0 << 1 << 600;
        QTest::newRow("600 at 96 dpi") << 600 << 96.0 << 2 << 800;
        QTest::newRow("768 at 96 dpi") << 768 << 96.0 << 3 << 1024;
        QTest::newRow("1024 at 96 dpi") << 1024 << 96.0 << 3 << 1024;
        QTest::newRow("1080 at 96 dpi") << 1080 << 96.0 << 3 << 1024;
        QTest::newRow("600 at 120 dpi is 7200 twips") << 600 << 120.0 << 1 << 600;
        QTest::newRow("768 at 120 dpi falls to other") << 768 << 120.0 << 3 << 1024;
        QTest::newRow("750 at 120 dpi is 9000 twips") << 750 << 120.0 << 2 << 800;
        QTest::newRow("no screen") << 0 << 96.0 << 3 << 1024;
    }
    void layoutChoice()
    {
        QFETCH(int, pixels);
        QFETCH(double, dpi);
        QFETCH(int, resolutionIndex);
        QFETCH(int, boardWidth);
        const auto g = BoardGeometry::forScreenHeightTwips(pixels * BoardGeometry::twipsPerPixel(dpi));
        QCOMPARE(g.resolutionIndex, resolutionIndex);
        QCOMPARE(g.boardWidth, boardWidth);
    }

    void slotCentres_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<QList<int>>("derived");
        QTest::addColumn<QList<int>>("xs");
        QTest::addColumn<QList<int>>("ys");
        QTest::newRow("640x480") << 7200 << QList<int>{300, 230, 171, 157}
                                 << QList<int>{300, 417, 471, 417, 300, 183, 129, 183, 300}
                                 << QList<int>{73, 119, 230, 341, 387, 341, 230, 119, 230};
        QTest::newRow("800x600") << 9000 << QList<int>{400, 290, 250, 196}
                                 << QList<int>{400, 558, 650, 558, 400, 242, 150, 242, 400}
                                 << QList<int>{94, 151, 290, 429, 486, 429, 290, 151, 290};
        QTest::newRow("1024x768") << 11520 << QList<int>{512, 374, 277, 239}
                                  << QList<int>{512, 693, 789, 693, 512, 331, 235, 331, 512}
                                  << QList<int>{135, 205, 374, 543, 613, 543, 374, 205, 374};
        QTest::newRow("other height") << 16200 << QList<int>{512, 374, 277, 239}
                                      << QList<int>{512, 693, 789, 693, 512, 331, 235, 331, 512}
                                      << QList<int>{135, 205, 374, 543, 613, 543, 374, 205, 374};
    }
    void slotCentres()
    {
        QFETCH(int, twips);
        QFETCH(QList<int>, derived);
        QFETCH(QList<int>, xs);
        QFETCH(QList<int>, ys);
        auto g = BoardGeometry::forScreenHeightTwips(twips);
        g.computeSlots();
        QCOMPARE((QList<int>{g.centreX, g.centreY, g.ringRadiusX, g.ringRadiusY}), derived);
        QCOMPARE(QList<int>(g.slotX.begin(), g.slotX.end()), xs);
        QCOMPARE(QList<int>(g.slotY.begin(), g.slotY.end()), ys);
    }

    void roundsHalfToEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("-0.5") << -0.5 << 0;
        QTest::newRow("-1.5") << -1.5 << -2;
        QTest::newRow("2.4999") << 2.4999 << 2;
        QTest::newRow("2.5001") << 2.5001 << 3;
    }
    void roundsHalfToEven()
    {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(roundHalfEven(value), expected);
    }
};

QTEST_GUILESS_MAIN(tst_BoardGeometry)
#include "tst_BoardGeometry.moc"
