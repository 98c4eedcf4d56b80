#include "WindowFixture.h"
#include "common/LibraryFixtures.h"
#include "dialogs/options.h"
#include "startup/UiCircleShape.h"
#include "startup/UiMeaningBox.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QTest>

namespace {

using Pair = LibraryFixtures::Pair;

// tanker rings ship (not a headword) and run; run rings nothing.
void writeSample(const QString &folder)
{
    LibraryFixtures::writeLibrary(folder, QStringLiteral("cet4"),
                                  LibraryFixtures::wordFile({{"tanker", "n.油船；空中加油飞机"}, {"run", "v.跑"}}),
                                  LibraryFixtures::associationFile({{Pair{"ship", "n.船"}, Pair{"run", "v.跑"}}, {}}));
}

// The window shown with the sample library open.
bool openSample(Window &w)
{
    writeSample(w.folder.path());
    w.pick(QStringLiteral("cet4.qd"));
    w.window->show();
    return QTest::qWaitForWindowExposed(w.window.get());
}

void typeAndEnter(Window &w, const QString &word)
{
    QTest::keyClicks(w.find<QLineEdit>("Text1"), word);
    QTest::keyClick(w.find<QLineEdit>("Text1"), Qt::Key_Return);
}

} // namespace

// The board as a user works it, through the window's own controls and events.
class tst_frmmainBoard : public QObject
{
    Q_OBJECT
private slots:
    void lookUpHoverTurnAndBack()
    {
        Window w;
        QVERIFY(openSample(w));
        const BoardGeometry &g = w.window->board().geometry();

        auto *input = w.find<QLineEdit>("Text1");
        input->setFocus();
        QCOMPARE(input->selectedText(), QStringLiteral("随机选或在此输入"));
        QTest::keyClicks(input, QStringLiteral("tanker"));
        QTest::keyClick(input, Qt::Key_Return);
        QCOMPARE(w.find<QLabel>("Label1_8")->text(), QStringLiteral("tanker"));
        QVERIFY(w.find<QLabel>("Label1_8")->isVisible());
        QCOMPARE(w.find<UiMeaningBox>("Text2_8")->text(), QStringLiteral("n.油船；空中加油飞机"));
        QCOMPARE(w.find<QLabel>("Label3")->text(), QStringLiteral("1"));
        QCOMPARE(w.find<QLabel>("Label1_2")->text(), QStringLiteral("ship"));
        QCOMPARE(w.find<QLabel>("Label1_6")->text(), QStringLiteral("run"));
        QVERIFY(w.find<UiCircleShape>("Shape1_6")->isVisible());
        QVERIFY(w.find<UiCircleShape>("Shape1_0")->isHidden());

        // Into slot 6 over its word label: the label passes the pointer on to the board.
        auto *label6 = w.find<QLabel>("Label1_6");
        QTest::mouseMove(label6, QPoint(g.slotX[6], g.slotY[6]) - label6->pos());
        auto *circle6 = w.find<UiCircleShape>("Shape1_6");
        QCOMPARE(circle6->property("BorderStyle").toInt(), 1);
        QCOMPARE(circle6->property("BorderColor").value<QColor>(), QColor(255, 0, 0));
        QVERIFY(w.find<UiMeaningBox>("Text2_6")->isVisible());
        QCOMPARE(label6->geometry().top(), g.slotY[6] - g.focusLabelOffsetY);

        // A double-click on the shown meaning box turns to the word in focus.
        QTest::mouseDClick(w.find<UiMeaningBox>("Text2_6"), Qt::LeftButton);
        QCOMPARE(w.find<QLabel>("Label1_8")->text(), QStringLiteral("run"));
        QCOMPARE(w.find<QLabel>("Label3")->text(), QStringLiteral("2"));
        QVERIFY(w.find<QPushButton>("Command5")->isEnabled());
        QVERIFY(w.find<UiCircleShape>("Shape1_6")->isHidden());

        // Out over the board surface: slot 6 rests again.
        QTest::mouseMove(w.find<QWidget>("board"), QPoint(g.slotX[8], g.slotY[8]));
        QCOMPARE(circle6->property("BorderStyle").toInt(), 2);
        QCOMPARE(circle6->property("BorderColor").value<QColor>(), QColor(0, 0, 255));

        QTest::mouseClick(w.find<QPushButton>("Command5"), Qt::LeftButton);
        QCOMPARE(w.find<QLabel>("Label1_8")->text(), QStringLiteral("tanker"));
        QCOMPARE(w.find<QLabel>("Label3")->text(), QStringLiteral("1"));
        QVERIFY(!w.find<QPushButton>("Command5")->isEnabled());

        // Slot 2's word is not a headword.
        QTest::mouseMove(w.find<QWidget>("board"), QPoint(g.slotX[2], g.slotY[2] + 30));
        QTest::mouseDClick(w.find<QWidget>("board"), Qt::LeftButton, {}, QPoint(g.slotX[2], g.slotY[2] + 30));
        QCOMPARE(w.messages.shown, QStringList{QStringLiteral("单词 ship 在词库《cet4》中不存在。")});
        QCOMPARE(w.find<QLabel>("Label3")->text(), QStringLiteral("1"));

        QTest::mouseClick(w.find<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(QStringList({"tanker", "run"}).contains(input->text()));
        QCOMPARE(w.find<QLabel>("Label1_8")->text(), QStringLiteral("tanker"));
    }

    void keysOnly()
    {
        Window w;
        // Each word rings the next one; the last rings the first.
        LibraryFixtures::writeLibrary(
            w.folder.path(), QStringLiteral("chain"),
            LibraryFixtures::wordFile({{"one", "一"}, {"two", "二"}, {"three", "三"}, {"four", "四"}}),
            LibraryFixtures::associationFile(
                {{Pair{"two", ""}}, {Pair{"three", ""}}, {Pair{"four", ""}, Pair{"x", ""}}, {Pair{"one", ""}}}));
        w.dialog.answer = QDir(w.folder.path()).filePath(QStringLiteral("词库/chain.qd"));
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        w.window->activateWindow();
        QTest::keyClick(w.window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Tesmar单词Dorrit        词库：chain"));

        QWidget *board = w.find<QWidget>("board");
        board->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
        auto *input = w.find<QLineEdit>("Text1");
        QCOMPARE(QApplication::focusWidget(), input);
        QCOMPARE(input->selectedText(), QStringLiteral("随机选或在此输入"));
        QTest::keyClicks(input, QStringLiteral("one"));
        QTest::keyClick(input, Qt::Key_Return);
        QTest::keyClick(input, Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), board);
        for (const char *next : {"two", "three", "four"}) {
            QTest::keyClick(board, Qt::Key_Right);
            QTest::keyClick(board, Qt::Key_Return);
            QCOMPARE(w.find<QLabel>("Label1_8")->text(), QString::fromLatin1(next));
        }
        QCOMPARE(w.find<QLabel>("Label3")->text(), QStringLiteral("4"));
        QTest::keyClick(board, Qt::Key_Backspace);
        QTest::keyClick(board, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(w.find<QLabel>("Label1_8")->text(), QStringLiteral("two"));
        QCOMPARE(w.find<QLabel>("Label3")->text(), QStringLiteral("2"));
        // The turn to "three" showed its ring of two; going back to it does too.
        QTest::keyClick(board, Qt::Key_Slash);
        QCOMPARE(QApplication::focusWidget(), input);
        QTest::keyClicks(input, QStringLiteral("three"));
        QTest::keyClick(input, Qt::Key_Return);
        QCOMPARE(w.find<QLabel>("Label1_2")->text(), QStringLiteral("four"));
        QCOMPARE(w.find<QLabel>("Label1_6")->text(), QStringLiteral("x"));
        QVERIFY(w.messages.shown.isEmpty());
    }

    void screenReadersReadTheRing()
    {
        Window w;
        QVERIFY(openSample(w));
        typeAndEnter(w, QStringLiteral("tanker"));
        QAccessibleInterface *slot = QAccessible::queryAccessibleInterface(w.find<QLabel>("Label1_6"));
        QCOMPARE(slot->text(QAccessible::Name), QStringLiteral("run"));
        QCOMPARE(slot->text(QAccessible::Description), QStringLiteral("v.跑"));
        QVERIFY(!slot->state().invisible);
        // Unused slots are not in the way of a screen reader.
        QVERIFY(QAccessible::queryAccessibleInterface(w.find<QLabel>("Label1_0"))->state().invisible);
        QCOMPARE(QAccessible::queryAccessibleInterface(w.find<QLabel>("Label1_8"))->text(QAccessible::Name),
                 QStringLiteral("tanker"));
    }

    void readingAloudSwitchedOnInOptionsHoldsAtOnce()
    {
        Window w;
        QVERIFY(openSample(w));
        typeAndEnter(w, QStringLiteral("tanker"));
        const BoardGeometry &g = w.window->board().geometry();
        QWidget *board = w.find<QWidget>("board");
        QTest::mouseMove(board, QPoint(g.slotX[6], g.slotY[6] + 40));
        QVERIFY(w.speech.spoken.isEmpty());

        w.window->mnuoption_Click();
        options *dialog = w.window->optionsDialog();
        dialog->findChild<QCheckBox *>(QStringLiteral("Check2"))->setChecked(true);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Command1_0")), Qt::LeftButton);
        QTest::mouseMove(board, QPoint(g.slotX[8], g.slotY[8]));
        QTest::mouseMove(board, QPoint(g.slotX[6], g.slotY[6] + 40));
        QCOMPARE(w.speech.spoken, QStringList{QStringLiteral("run")});
    }

    void meaningsCanBeCopied()
    {
        Window w;
        QVERIFY(openSample(w));
        QTest::keyClicks(w.find<QLineEdit>("Text1"), QStringLiteral("tanker"));
        QTest::mouseClick(w.find<QPushButton>("Command2"), Qt::LeftButton);

        auto *box = w.find<UiMeaningBox>("Text2_8");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("n.油船；空中加油飞机"));
        QAccessibleInterface *read = QAccessible::queryAccessibleInterface(box);
        QVERIFY(read);
        QCOMPARE(read->text(QAccessible::Name), box->text());
        QCOMPARE(read->text(QAccessible::Value), box->text());
        // Selecting is not a turn.
        QCOMPARE(w.find<QLabel>("Label3")->text(), QStringLiteral("1"));
    }
};

QTEST_MAIN(tst_frmmainBoard)
#include "tst_frmmainBoard.moc"
