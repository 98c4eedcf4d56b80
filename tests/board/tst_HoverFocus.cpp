#include "BoardFixture.h"

#include <QTest>

namespace {

BoardFixture ringOf(int count)
{
    return BoardFixture({{QStringLiteral("head"), QStringLiteral("n.头"), BoardFixture::numbered(count)}});
}

bool inFocusStyle(BoardFixture &f, int i)
{
    const BoardModel::Slot &s = f.board().slot(i);
    return f.board().slotFocused(i) && s.borderStyle == BoardModel::Solid && s.borderColour == BoardModel::red &&
           s.labelStyle == BoardModel::LabelStyle::Focus && s.meaningShown;
}

bool inRestingStyle(BoardFixture &f, int i)
{
    const BoardModel::Slot &s = f.board().slot(i);
    return !f.board().slotFocused(i) && s.borderStyle == BoardModel::Dashed && s.borderColour == BoardModel::blue &&
           s.labelStyle == BoardModel::LabelStyle::Resting && !s.meaningShown;
}

} // namespace

class tst_HoverFocus : public QObject
{
    Q_OBJECT
private slots:
    void nothingBeforeTheFirstWord()
    {
        BoardFixture f = ringOf(8);
        f.readAloud = true;
        f.board().takeChangedSlots();
        f.hover(0);
        QCOMPARE(f.board().takeChangedSlots(), quint16(0));
        QVERIFY(f.speech.spoken.isEmpty());
    }

    void radius_data()
    {
        QTest::addColumn<double>("dy");
        QTest::addColumn<bool>("inside");
        // Slot 0 at 640x480 is (300, 73) with radius 59.
        QTest::newRow("centre") << 0.0 << true;
        QTest::newRow("just inside") << 58.99 << true;
        QTest::newRow("on the edge") << 59.0 << false;
    }
    void radius()
    {
        QFETCH(double, dy);
        QFETCH(bool, inside);
        BoardFixture f = ringOf(1);
        f.go(QStringLiteral("head"));
        f.board().Form_MouseMove(300, 73 + dy);
        QCOMPARE(f.board().slotFocused(0), inside);
    }

    void enterAndLeave_data()
    {
        QTest::addColumn<bool>("readAloud");
        QTest::addColumn<QStringList>("spoken");
        QTest::newRow("reading aloud") << true << QStringList{"a1", "a1", "a2"};
        QTest::newRow("silent") << false << QStringList{};
    }
    void enterAndLeave()
    {
        QFETCH(bool, readAloud);
        QFETCH(QStringList, spoken);
        BoardFixture f = ringOf(8);
        f.readAloud = readAloud;
        f.go(QStringLiteral("head"));
        f.hover(0);
        QVERIFY(inFocusStyle(f, 0));
        QCOMPARE(f.board().focusSlot(), 0);
        // Moving inside the circle says nothing more and changes nothing.
        f.board().takeChangedSlots();
        f.board().Form_MouseMove(f.board().geometry().slotX[0] + 3, f.board().geometry().slotY[0] - 2);
        QCOMPARE(f.board().takeChangedSlots(), quint16(0));
        f.hover(8);
        QVERIFY(inRestingStyle(f, 0));
        QCOMPARE(f.board().focusSlot(), 0);
        f.hover(0);
        f.hover(1);
        QVERIFY(inRestingStyle(f, 0));
        QVERIFY(inFocusStyle(f, 1));
        QCOMPARE(f.speech.spoken, spoken);
        // The ring's words were handed to the engine to have ready, only when they may be said.
        QCOMPARE(f.speech.prepared.size(), readAloud ? 8 : 0);
        // A changed setting holds from the next entry on.
        f.readAloud = !readAloud;
        f.hover(2);
        QCOMPARE(f.speech.spoken.size(), spoken.size() + (readAloud ? 0 : 1));
    }

    void aHiddenSlotEndsTheRun()
    {
        // A ring of two uses slots 2 and 6; slot 0's place is empty.
        BoardFixture f = ringOf(2);
        f.go(QStringLiteral("head"));
        f.hover(6);
        QVERIFY(inFocusStyle(f, 6));
        f.hover(0);
        QVERIFY(inFocusStyle(f, 6));
        f.hover(8);
        QVERIFY(inRestingStyle(f, 6));
    }

    void noAssociationsNoFocus()
    {
        BoardFixture f = ringOf(0);
        f.readAloud = true;
        f.go(QStringLiteral("head"));
        f.board().takeChangedSlots();
        for (int i = 0; i < 8; ++i)
            f.hover(i);
        QCOMPARE(f.board().takeChangedSlots(), quint16(0));
        QVERIFY(f.speech.spoken.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_HoverFocus)
#include "tst_HoverFocus.moc"
