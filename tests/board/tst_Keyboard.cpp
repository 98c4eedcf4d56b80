#include "BoardFixture.h"

#include <QTest>

namespace {

using Key = BoardModel::Key;
using Pair = LibraryFixtures::Pair;

BoardFixture ringOf(int count)
{
    return BoardFixture({{QStringLiteral("head"), QStringLiteral("n.头"), BoardFixture::numbered(count)}});
}

QList<int> focusedSlots(BoardFixture &f)
{
    QList<int> focused;
    for (int i = 0; i < 8; ++i) {
        if (f.board().slotFocused(i))
            focused << i;
    }
    return focused;
}

// The slots the focus visits, one key press at a time.
QList<int> walk(BoardFixture &f, Key key, int presses)
{
    QList<int> visited;
    for (int i = 0; i < presses; ++i) {
        f.board().keyPressed(key);
        const QList<int> focused = focusedSlots(f);
        visited << (focused.size() == 1 ? focused.first() : -1);
    }
    return visited;
}

} // namespace

class tst_Keyboard : public QObject
{
    Q_OBJECT
private slots:
    void focusGoesRoundTheUsedSlots_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("page");
        QTest::addColumn<QList<int>>("clockwise");
        QTest::addColumn<QList<int>>("counterClockwise");
        QTest::newRow("1") << 1 << 1 << QList<int>{0, 0} << QList<int>{0, 0};
        QTest::newRow("2") << 2 << 1 << QList<int>{2, 6, 2} << QList<int>{6, 2, 6};
        QTest::newRow("3") << 3 << 1 << QList<int>{0, 3, 5, 0} << QList<int>{5, 3, 0, 5};
        QTest::newRow("4") << 4 << 1 << QList<int>{1, 3, 5, 7, 1} << QList<int>{7, 5, 3, 1, 7};
        QTest::newRow("5") << 5 << 1 << QList<int>{0, 1, 3, 5, 7, 0} << QList<int>{7, 5, 3, 1, 0, 7};
        QTest::newRow("6") << 6 << 1 << QList<int>{1, 2, 3, 5, 6, 7, 1} << QList<int>{7, 6, 5, 3, 2, 1, 7};
        QTest::newRow("7") << 7 << 1 << QList<int>{0, 1, 2, 3, 4, 5, 6, 0} << QList<int>{6, 5, 4, 3, 2, 1, 0, 6};
        QTest::newRow("8") << 8 << 1 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 0} << QList<int>{7, 6, 5, 4, 3, 2, 1, 0, 7};
        QTest::newRow("13 page 2") << 13 << 2 << QList<int>{0, 1, 3, 5, 7, 0} << QList<int>{7, 5, 3, 1, 0, 7};
    }
    void focusGoesRoundTheUsedSlots()
    {
        QFETCH(int, count);
        QFETCH(int, page);
        QFETCH(QList<int>, clockwise);
        QFETCH(QList<int>, counterClockwise);
        BoardFixture f = ringOf(count);
        f.readAloud = true;
        f.go(QStringLiteral("head"));
        for (int p = 1; p < page; ++p)
            QVERIFY(f.board().keyPressed(Key::NextPage));
        QCOMPARE(walk(f, Key::Clockwise, int(clockwise.size())), clockwise);
        f.board().keyPressed(Key::Leave);
        QCOMPARE(walk(f, Key::CounterClockwise, int(counterClockwise.size())), counterClockwise);
        // Each slot reached is heard, as under the pointer; staying on one slot is not.
        QCOMPARE(f.speech.spoken.size(), count == 1 ? 2 : int(clockwise.size() + counterClockwise.size()));
    }

    void keysDoWhatTheirButtonsDo_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QList<bool>>("handled"); // PreviousPage, NextPage, Back
        QTest::newRow("one page, one word") << 8 << 1 << 1 << QList<bool>{false, false, false};
        QTest::newRow("first of two pages") << 13 << 1 << 1 << QList<bool>{false, true, false};
        QTest::newRow("last page, two words") << 13 << 2 << 2 << QList<bool>{true, false, true};
        QTest::newRow("middle page") << 21 << 2 << 1 << QList<bool>{true, true, false};
    }
    void keysDoWhatTheirButtonsDo()
    {
        QFETCH(int, count);
        QFETCH(int, page);
        QFETCH(int, depth);
        QFETCH(QList<bool>, handled);
        BoardFixture f = ringOf(count);
        for (int d = 0; d < depth; ++d)
            f.go(QStringLiteral("head"));
        for (int p = 1; p < page; ++p)
            f.board().Command4_Click();
        QCOMPARE(f.board().keyPressed(Key::PreviousPage), handled[0]);
        QCOMPARE(f.board().pages().currentPage(), handled[0] ? page - 1 : page);
        if (handled[0])
            f.board().Command4_Click();
        QCOMPARE(f.board().keyPressed(Key::NextPage), handled[1]);
        QCOMPARE(f.board().pages().currentPage(), handled[1] ? page + 1 : page);
        QCOMPARE(f.board().keyPressed(Key::Back), handled[2]);
        QCOMPARE(f.board().historyDepth(), handled[2] ? depth - 1 : depth);
    }

    void enterTurnsAsADoubleClickDoes()
    {
        BoardFixture f({{QStringLiteral("tanker"),
                         QStringLiteral("n.油船"),
                         {Pair{QStringLiteral("ship"), {}}, Pair{QStringLiteral("run"), {}}}},
                        {QStringLiteral("run"), QStringLiteral("v.跑"), {}}});
        f.go(QStringLiteral("tanker"));
        QVERIFY(!f.board().keyPressed(Key::Turn));
        f.board().keyPressed(Key::Clockwise);
        QVERIFY(f.board().keyPressed(Key::Turn));
        QCOMPARE(f.messages.shown, QStringList{QStringLiteral("单词 ship 在词库《lib》中不存在。")});
        f.board().keyPressed(Key::Clockwise);
        QVERIFY(f.board().keyPressed(Key::Turn));
        QCOMPARE(f.board().slot(8).caption, QStringLiteral("run"));
        QCOMPARE(f.board().historyDepth(), 2);
        QVERIFY(f.board().backEnabled());
    }

    void pointerAndKeyboardShareOneFocus()
    {
        BoardFixture f = ringOf(8);
        f.go(QStringLiteral("head"));
        f.hover(0);
        f.board().keyPressed(Key::Clockwise);
        QCOMPARE(focusedSlots(f), QList<int>{1});
        QCOMPARE(f.board().slot(0).borderStyle, int(BoardModel::Dashed));
        // The pointer moves again inside slot 0: it wins the focus back.
        const BoardGeometry &g = f.board().geometry();
        f.board().Form_MouseMove(g.slotX[0] + 1, g.slotY[0]);
        QCOMPARE(focusedSlots(f), QList<int>{0});
        QCOMPARE(f.board().slot(1).borderStyle, int(BoardModel::Dashed));
        f.board().keyPressed(Key::Leave);
        QCOMPARE(focusedSlots(f), QList<int>{});
    }

    void noKeysBeforeAWordIsShown()
    {
        BoardFixture f = ringOf(8);
        QVERIFY(!f.board().keyPressed(Key::Clockwise));
        QVERIFY(!f.board().keyPressed(Key::Turn));
        QCOMPARE(focusedSlots(f), QList<int>{});
    }
};

QTEST_GUILESS_MAIN(tst_Keyboard)
#include "tst_Keyboard.moc"
