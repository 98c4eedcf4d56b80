#include "board/BoardModel.h"

#include <QTest>

class tst_SlotLayout : public QObject
{
    Q_OBJECT
private slots:
    void slotsForEachCount_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("1 top") << 1 << QList<int>{0};
        QTest::newRow("2 right, left") << 2 << QList<int>{2, 6};
        QTest::newRow("3 triangle") << 3 << QList<int>{0, 3, 5};
        QTest::newRow("4 diagonals") << 4 << QList<int>{1, 3, 5, 7};
        QTest::newRow("5 top and diagonals") << 5 << QList<int>{0, 1, 3, 5, 7};
        QTest::newRow("6 all but top and bottom") << 6 << QList<int>{1, 2, 3, 5, 6, 7};
        QTest::newRow("7 all but top-left") << 7 << QList<int>{0, 1, 2, 3, 4, 5, 6};
        QTest::newRow("8 all") << 8 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
    }
    void slotsForEachCount()
    {
        QFETCH(int, n);
        QFETCH(QList<int>, expected);
        BoardModel board(BoardGeometry::forScreenHeightTwips(7200));
        board.fillSlotLayout();
        QList<int> got;
        for (int k = 1; k <= n; ++k)
            got << board.slotLayout(n, k);
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(tst_SlotLayout)
#include "tst_SlotLayout.moc"
