#include "BoardFixture.h"

#include <QTest>

namespace {

BoardFixture withCount(int count)
{
    return BoardFixture({{QStringLiteral("head"), QStringLiteral("n.头"), BoardFixture::numbered(count)}});
}

} // namespace

class tst_Ring : public QObject
{
    Q_OBJECT
private slots:
    void pageOfRing_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("page");
        QTest::addColumn<QList<int>>("ring");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<bool>("next");
        const QList<int> all{0, 1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("none") << 0 << 1 << QList<int>{} << false << false;
        QTest::newRow("1") << 1 << 1 << QList<int>{0} << false << false;
        QTest::newRow("2") << 2 << 1 << QList<int>{2, 6} << false << false;
        QTest::newRow("3") << 3 << 1 << QList<int>{0, 3, 5} << false << false;
        QTest::newRow("4") << 4 << 1 << QList<int>{1, 3, 5, 7} << false << false;
        QTest::newRow("5") << 5 << 1 << QList<int>{0, 1, 3, 5, 7} << false << false;
        QTest::newRow("6") << 6 << 1 << QList<int>{1, 2, 3, 5, 6, 7} << false << false;
        QTest::newRow("7") << 7 << 1 << QList<int>{0, 1, 2, 3, 4, 5, 6} << false << false;
        QTest::newRow("8") << 8 << 1 << all << false << false;
        QTest::newRow("9 page 1") << 9 << 1 << all << false << true;
        QTest::newRow("9 page 2") << 9 << 2 << QList<int>{0} << true << false;
        QTest::newRow("13 page 1") << 13 << 1 << all << false << true;
        QTest::newRow("13 page 2") << 13 << 2 << QList<int>{0, 1, 3, 5, 7} << true << false;
        QTest::newRow("16 page 1") << 16 << 1 << all << false << true;
        QTest::newRow("16 page 2 is the last") << 16 << 2 << all << true << false;
        QTest::newRow("21 page 2") << 21 << 2 << all << true << true;
        QTest::newRow("21 page 3") << 21 << 3 << QList<int>{0, 1, 3, 5, 7} << true << false;
        QTest::newRow("800 page 100") << 800 << 100 << all << true << false;
        QTest::newRow("803 page 101") << 803 << 101 << QList<int>{0, 3, 5} << true << false;
    }
    void pageOfRing()
    {
        QFETCH(int, count);
        QFETCH(int, page);
        QFETCH(QList<int>, ring);
        QFETCH(bool, previous);
        QFETCH(bool, next);
        BoardFixture f = withCount(count);
        f.go(QStringLiteral("head"));
        // Pressing next more often than there are pages must not leave the last page.
        for (int p = 1; p < page + 2; ++p)
            f.board().Command4_Click();
        for (int p = page + 2; p > page; --p)
            f.board().Command3_Click();
        for (int p = 1; p < page; ++p)
            f.board().Command4_Click();

        QCOMPARE(f.board().pages().currentPage(), page);
        QCOMPARE(f.shownRing(), ring);
        QCOMPARE(f.board().previousPageShown(), previous);
        QCOMPARE(f.board().nextPageShown(), next);
        for (int k = 1; k <= ring.size(); ++k) {
            const BoardModel::Slot &s = f.board().slot(ring[k - 1]);
            const int a = (page - 1) * 8 + k;
            QCOMPARE(s.caption, QStringLiteral("a%1").arg(a));
            QCOMPARE(s.meaning, QStringLiteral("m%1").arg(a));
            QVERIFY(s.labelShown);
            QVERIFY(!s.meaningShown);
        }
        QCOMPARE(f.board().slot(8).caption, QStringLiteral("head"));
        QCOMPARE(f.board().slot(8).meaning, QStringLiteral("n.头"));
        QVERIFY(f.board().slot(8).meaningShown);
    }

    void pageChangeHidesTheMeaningUnderThePointer()
    {
        BoardFixture f = withCount(13);
        f.go(QStringLiteral("head"));
        f.hover(1);
        QVERIFY(f.board().slot(1).meaningShown);
        f.board().Command4_Click();
        for (int i = 0; i < 8; ++i)
            QVERIFY(!f.board().slot(i).meaningShown);
        // The slot stays in focus style until the pointer is seen outside it.
        QCOMPARE(f.board().slot(1).borderStyle, int(BoardModel::Solid));
        QCOMPARE(f.board().slot(1).caption, QStringLiteral("a10"));
    }

    void hiddenSlotsKeepTheirCaptions()
    {
        BoardFixture f = withCount(13);
        f.go(QStringLiteral("head"));
        f.board().Command4_Click();
        QVERIFY(!f.board().slot(2).labelShown);
        QCOMPARE(f.board().slot(2).caption, QStringLiteral("a3"));
        f.board().Command3_Click();
        QCOMPARE(f.board().slot(2).caption, QStringLiteral("a3"));
        QCOMPARE(f.board().slot(0).caption, QStringLiteral("a1"));
    }
};

QTEST_GUILESS_MAIN(tst_Ring)
#include "tst_Ring.moc"
