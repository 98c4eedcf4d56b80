#include "WindowFixture.h"
#include "common/LibraryFixtures.h"
#include "startup/UiCompletionList.h"

#include <QInputMethodEvent>
#include <QTest>

namespace {

using Keys = QList<int>;

// The window with "lib" open and shown, the input box focused as a click leaves it.
struct Typing
{
    Window w;
    QLineEdit *input = nullptr;
    UiCompletionList *list = nullptr;

    Typing()
    {
        LibraryFixtures::writeLibrary(w.folder.path(), QStringLiteral("lib"),
                                      LibraryFixtures::wordFile({{"tram", "n.电车"},
                                                                 {"trip", "n.旅行"},
                                                                 {"tree", "n.树"},
                                                                 {"Trade", "n.贸易"},
                                                                 {"trams", "n.电车（复数）"},
                                                                 {QStringLiteral("中国"), "China"},
                                                                 {QStringLiteral("中文"), "Chinese"},
                                                                 {QStringLiteral("随机选或在此输入吧"), "x"}}),
                                      LibraryFixtures::associationFile({{}, {}, {}, {}, {}, {}, {}, {}}));
        w.pick(QStringLiteral("lib.qd"));
        w.window->show();
        input = w.find<QLineEdit>("Text1");
        list = w.find<UiCompletionList>("completionList");
        input->activateWindow();
        input->setFocus();
    }
    bool exposed() { return QTest::qWaitForWindowExposed(w.window.get()) && list && input->hasFocus(); }
    void press(const Keys &keys)
    {
        for (const int key : keys)
            QTest::keyClick(input, Qt::Key(key));
    }
    // Chinese arrives from an input method, committed a word at a time.
    void commit(const QString &text)
    {
        QInputMethodEvent committed;
        committed.setCommitString(text);
        QCoreApplication::sendEvent(input, &committed);
    }
    QString centre() const
    {
        const auto *label = w.find<QLabel>("Label1_8");
        return label->isVisible() ? label->text() : QString();
    }
};

} // namespace

// Type-ahead under the input box, as a user works it.
class tst_frmmainCompletion : public QObject
{
    Q_OBJECT
private slots:
    void picking_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("messages");

        const QStringList tr{"tram", "trip", "tree", "trams", "Trade"};
        QTest::newRow("second row with Down, Down, Enter")
            << "tr" << Keys{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << tr << "trip" << QStringList{};
        QTest::newRow("Down stops at the last row")
            << "tra" << Keys{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Enter}
            << QStringList{"tram", "trams", "Trade"} << "Trade" << QStringList{};
        QTest::newRow("exact case first")
            << "Tr" << Keys{Qt::Key_Down, Qt::Key_Return} << QStringList{"Trade", "tram", "trip", "tree", "trams"}
            << "Trade" << QStringList{};
        QTest::newRow("Enter on an exact word looks it up")
            << "tram" << Keys{Qt::Key_Return} << QStringList{"tram", "trams"} << "tram" << QStringList{};
        QTest::newRow("Up above the first row takes the choice back")
            << "tre" << Keys{Qt::Key_Down, Qt::Key_Up, Qt::Key_Return} << QStringList{"tree"} << QString()
            << QStringList{QStringLiteral("单词 tre 在词库《lib》中不存在，请重新输入。")};
    }

    void picking()
    {
        QFETCH(QString, typed);
        QFETCH(Keys, keys);
        QFETCH(QStringList, offered);
        QFETCH(QString, shown);
        QFETCH(QStringList, messages);
        Typing t;
        QVERIFY(t.exposed());
        QVERIFY(t.list->isHidden());
        QTest::keyClicks(t.input, typed);
        QVERIFY(t.list->isVisible());
        QCOMPARE(t.list->headwords(), offered);
        t.press(keys);
        QVERIFY(t.list->isHidden());
        QCOMPARE(t.centre(), shown);
        QCOMPARE(t.w.messages.shown, messages);
        QCOMPARE(t.w.find<QLabel>("Label3")->text(), shown.isEmpty() ? QStringLiteral("0") : QStringLiteral("1"));
        if (!shown.isEmpty())
            QCOMPARE(t.input->text(), shown);
    }

    void clickPicksARow()
    {
        Typing t;
        QVERIFY(t.exposed());
        QTest::keyClicks(t.input, "tr");
        QTest::mouseClick(t.list->viewport(), Qt::LeftButton, {}, t.list->visualItemRect(t.list->item(2)).center());
        QCOMPARE(t.centre(), QStringLiteral("tree"));
        QCOMPARE(t.input->text(), QStringLiteral("tree"));
        QVERIFY(t.list->isHidden());
        // Typing goes on in the box.
        QVERIFY(t.input->hasFocus());
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape") << "escape";
        QTest::newRow("Go button") << "go";
        QTest::newRow("focus leaves the box") << "focus";
        QTest::newRow("text deleted") << "delete";
        QTest::newRow("random pick") << "random";
        QTest::newRow("another library") << "load";
        QTest::newRow("click elsewhere") << "click";
    }

    void closing()
    {
        QFETCH(QString, how);
        Typing t;
        QVERIFY(t.exposed());
        QTest::keyClicks(t.input, "tr");
        QVERIFY(t.list->isVisible());
        if (how == "escape")
            QTest::keyClick(t.input, Qt::Key_Escape);
        else if (how == "go")
            QTest::mouseClick(t.w.find<QPushButton>("Command2"), Qt::LeftButton);
        else if (how == "focus")
            t.w.find<QPushButton>("Command1")->setFocus();
        else if (how == "delete")
            t.press({Qt::Key_Backspace, Qt::Key_Backspace});
        else if (how == "random")
            QTest::mouseClick(t.w.find<QPushButton>("Command1"), Qt::LeftButton);
        else if (how == "load")
            t.w.pick(QStringLiteral("lib.qd"));
        else
            QTest::mouseClick(t.w.find<QWidget>("board"), Qt::LeftButton, {}, QPoint(600, 500));
        QVERIFY(t.list->isHidden());
        // Nothing was looked up on the way, apart from Go itself.
        QCOMPARE(t.w.find<QLabel>("Label3")->text(), QStringLiteral("0"));
    }

    void inputMethodAndPrompt()
    {
        Typing t;
        QVERIFY(t.exposed());
        QTest::keyClick(t.input, Qt::Key_Down);
        QVERIFY(t.list->isHidden());
        // Composing offers nothing; a committed word does.
        QInputMethodEvent composing(QStringLiteral("zhong"), {});
        QCoreApplication::sendEvent(t.input, &composing);
        QVERIFY(t.list->isHidden());
        t.commit(QStringLiteral("中"));
        QCOMPARE(t.list->headwords(), QStringList({QStringLiteral("中国"), QStringLiteral("中文")}));
        // Escape closes the list and keeps the text; Down opens it again.
        QTest::keyClick(t.input, Qt::Key_Escape);
        QCOMPARE(t.input->text(), QStringLiteral("中"));
        QTest::keyClick(t.input, Qt::Key_Down);
        QVERIFY(t.list->isVisible());
        // Typed out in full by an input method, the prompt is still the prompt.
        t.input->clear();
        t.commit(QStringLiteral("随机选或在此输入"));
        QVERIFY(t.list->isHidden());
        t.commit(QStringLiteral("吧"));
        QCOMPARE(t.list->headwords(), QStringList{QStringLiteral("随机选或在此输入吧")});
    }
};

QTEST_MAIN(tst_frmmainCompletion)
#include "tst_frmmainCompletion.moc"
