#include "BoardFixture.h"

#include <QTest>

namespace {

using Ints = QList<int>;
using Key = BoardModel::Key;
// Steps besides 0..8, the slot the pointer moves to (8 the centre): the keys clockwise,
// counter-clockwise, leave and next page, reading aloud switched over, and the pointer
// near slot 1, whose circle has a radius of 59: just inside, on the edge, diagonally out.
enum Step { Cw = -1, Ccw = -2, Leave = -3, NextPage = -4, SwitchReadAloud = -5, Inside = -6, Edge = -7, Diagonal = -8 };
constexpr Key keys[] = {Key::Clockwise, Key::CounterClockwise, Key::Leave, Key::NextPage};
constexpr double nearSlot1[][2] = {{0, -58.99}, {0, 59}, {-41.8, 41.8}};

} // namespace

// A ring's slots and pages, and the one focus on it that the pointer and the keys move. That the
// page buttons and what shows follow the page and the focus, the monkey checks after every action.
class tst_Ring : public QObject
{
    Q_OBJECT
private slots:
    // The one table of ring shapes (other tests ask the board for them), and the last page.
    void pages_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("page");  // the last
        QTest::addColumn<Ints>("ring"); // its slots of the page's 1st, 2nd, ... association
        QTest::newRow("no associations") << 0 << 1 << Ints{};
        QTest::newRow("1 top") << 1 << 1 << Ints{0};
        QTest::newRow("2 right, left") << 2 << 1 << Ints{2, 6};
        QTest::newRow("3 triangle") << 3 << 1 << Ints{0, 3, 5};
        QTest::newRow("4 diagonals") << 4 << 1 << Ints{1, 3, 5, 7};
        QTest::newRow("5 top and diagonals") << 5 << 1 << Ints{0, 1, 3, 5, 7};
        QTest::newRow("6 all but top and bottom") << 6 << 1 << Ints{1, 2, 3, 5, 6, 7};
        QTest::newRow("7 all but top-left") << 7 << 1 << Ints{0, 1, 2, 3, 4, 5, 6};
        QTest::newRow("8 all, one page") << 8 << 1 << Ints{0, 1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("803 page 101") << 803 << 101 << Ints{0, 3, 5};
    }
    void pages()
    {
        QFETCH(int, count);
        QFETCH(int, page);
        QFETCH(Ints, ring);
        BoardFixture f = BoardFixture::ringOf(count);
        BoardModel &b = f.board();
        f.go(QStringLiteral("head"));
        // The pointer rests on slot 0 while the pages turn, and neither end is overrun.
        f.hover(0);
        b.Command3_Click();
        for (int p = 0; p < page; ++p)
            b.Command4_Click();
        QCOMPARE(b.pages().currentPage(), page);
        Ints layout;
        for (int k = 1; k <= ring.size(); ++k) {
            layout << b.slotLayout(int(ring.size()), k);
            const BoardModel::Slot &s = b.slot(ring[k - 1]);
            QCOMPARE(s.caption + s.meaning, QStringLiteral("a%1m%1").arg((page - 1) * 8 + k));
        }
        QCOMPARE(layout, ring);
        // A turned page hides the meaning under the pointer, but slot 0 keeps its focus
        // circle, if the first page uses it, until the pointer is seen outside it.
        QVERIFY(!b.slot(0).meaningShown);
        const bool entered = count > 8 || ring.contains(0);
        QCOMPARE(b.slot(0).borderStyle, int(entered ? BoardModel::Solid : BoardModel::Dashed));
    }

    // Entering a slot reads its word aloud, so what is spoken traces the slots visited.
    void focus_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<Ints>("steps");
        QTest::addColumn<QString>("focused"); // the word in focus at the end
        QTest::addColumn<bool>("readAloud");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("enter, stay, leave, again, on") << 8 << Ints{0, 0, 8, 0, 1} << "a2" << true << "a1 a1 a2";
        QTest::newRow("switched on, heard from the next entry")
            << 8 << Ints{0, SwitchReadAloud, 0, 1} << "a2" << false << "a2";
        // A ring of two uses slots 2 and 6: over slot 0's empty place the focus stays.
        QTest::newRow("hidden slot's place") << 2 << Ints{6, 0} << "a2" << true << "a2";
        QTest::newRow("full ring clockwise") << 8 << Ints(9, Cw) << "a1" << true << "a1 a2 a3 a4 a5 a6 a7 a8 a1";
        QTest::newRow("four counter-clockwise") << 4 << Ints(5, Ccw) << "a4" << true << "a4 a3 a2 a1 a4";
        QTest::newRow("one word stays put") << 1 << Ints{Cw, Cw, Leave, Ccw} << "a1" << true << "a1 a1";
        QTest::newRow("second page of 13")
            << 13 << Ints{NextPage, Cw, Ccw, Cw, Ccw, Ccw} << "a12" << true << "a9 a13 a9 a13 a12";
        QTest::newRow("a page leaving the slot in focus empty ends the focus")
            << 10 << Ints{0, NextPage} << "" << true << "a1";
        QTest::newRow("circle's edge") << 8 << Ints{Inside, Edge, Inside, Diagonal} << "" << true << "a2 a2";
    }
    void focus()
    {
        QFETCH(int, count);
        QFETCH(Ints, steps);
        QFETCH(QString, focused);
        QFETCH(bool, readAloud);
        QFETCH(QString, spoken);
        BoardFixture f = BoardFixture::ringOf(count);
        BoardModel &b = f.board();
        f.readAloud = readAloud;
        // Nothing moves the focus before a word is shown.
        f.hover(0);
        QVERIFY(!b.keyPressed(Key::Clockwise));
        f.go(QStringLiteral("head"));
        // The page's words go to the engine to have ready, only when they may be said.
        QCOMPARE(f.speech.prepared.size(), readAloud ? qMin(count, 8) : 0);
        for (int step : steps) {
            if (step >= 0)
                f.hover(step);
            else if (step == SwitchReadAloud)
                f.readAloud = !f.readAloud;
            else if (step <= Inside)
                b.Form_MouseMove(b.geometry().slotX[1] + nearSlot1[Inside - step][0],
                                 b.geometry().slotY[1] + nearSlot1[Inside - step][1]);
            else
                QVERIFY(b.keyPressed(keys[-1 - step]));
        }
        QCOMPARE(f.focused().join(' '), focused);
        QCOMPARE(f.speech.spoken.join(' '), spoken);
    }
};

QTEST_GUILESS_MAIN(tst_Ring)
#include "tst_Ring.moc"
