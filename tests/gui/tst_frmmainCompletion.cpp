#include "WindowFixture.h"
#include "common/LibraryFixtures.h"
#include "startup/UiCompletionList.h"

#include <QInputMethodEvent>

using Keys = QList<int>;

// Type-ahead under the input box, as a user works it; which rows are offered is the session's.
class tst_frmmainCompletion : public QObject
{
    Q_OBJECT
    std::unique_ptr<Window> w;
    QLineEdit *input = nullptr;
    UiCompletionList *list = nullptr;

    // Chinese arrives from an input method, committed a word at a time.
    void commit(const QString &text)
    {
        QInputMethodEvent committed;
        committed.setCommitString(text);
        QCoreApplication::sendEvent(input, &committed);
    }
    QString centre() const
    {
        return w->find<QLabel>("Label1_8")->isVisible() ? w->find<QLabel>("Label1_8")->text() : "";
    }

private slots:
    // Each case on a fresh window with the library open, the box focused as a click leaves it.
    void init()
    {
        w = std::make_unique<Window>();
        std::vector<LibraryFixtures::Pair> words;
        for (const char *word : {"tram", "trip", "tree", "trams", "中国", "中文", "随机选或在此输入吧"})
            words.emplace_back(QString::fromUtf8(word), "n.");
        LibraryFixtures::writeLibrary(
            w->folder.path(), "lib", LibraryFixtures::wordFile(words),
            LibraryFixtures::associationFile(std::vector<std::vector<LibraryFixtures::Pair>>(7)));
        w->pick("lib.qd");
        QVERIFY(w->shown());
        input = w->find<QLineEdit>("Text1");
        list = w->find<UiCompletionList>("completionList");
        input->activateWindow();
        input->setFocus();
        QTRY_VERIFY(input->hasFocus());
    }

    // clang-format off
    void picking_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Keys>("keys"); // Qt::Key_unknown: a click on the third row; Qt::Key_Go: on Go
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("shown");
        QTest::newRow("second row: Down, Down, Enter") << "tr" << Keys{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}
                                                        << QStringList{"tram", "trip", "tree", "trams"} << "trip";
        QTest::newRow("Down stops at the last row") << "tra" << Keys{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Enter}
                                                    << QStringList{"tram", "trams"} << "trams";
        QTest::newRow("Enter without a row looks the text up") << "tram" << Keys{Qt::Key_Return}
                                                               << QStringList{"tram", "trams"} << "tram";
        QTest::newRow("Up above the first row takes the choice back")
            << "tre" << Keys{Qt::Key_Down, Qt::Key_Up, Qt::Key_Return} << QStringList{"tree"} << "";
        QTest::newRow("a click on a row") << "tr" << Keys{Qt::Key_unknown} << QStringList{"tram", "trip", "tree", "trams"}
                                          << "tree";
        QTest::newRow("Escape closes, nothing looked up") << "tr" << Keys{Qt::Key_Escape}
                                                          << QStringList{"tram", "trip", "tree", "trams"} << "";
        QTest::newRow("Go closes, no row picked") << "tr" << Keys{Qt::Key_Go} << QStringList{"tram", "trip", "tree", "trams"}
                                                  << "";
    }
    // clang-format on
    void picking()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QVERIFY(list->isHidden());
        QTest::keyClicks(input, typed);
        QVERIFY(list->isVisible());
        QTEST(list->headwords(), "offered");
        QFETCH(Keys, keys);
        for (const int key : keys) {
            if (key == Qt::Key_unknown)
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
            else if (key == Qt::Key_Go)
                QTest::mouseClick(w->find<QPushButton>("Command2"), Qt::LeftButton);
            else
                QTest::keyClick(input, Qt::Key(key));
        }
        QVERIFY(list->isHidden());
        QCOMPARE(centre(), shown);
        const QString missing = QStringLiteral("单词 %1 在词库《lib》中不存在，请重新输入。").arg(typed);
        QCOMPARE(w->messages.shown,
                 shown.isEmpty() && keys.last() != Qt::Key_Escape ? QStringList{missing} : QStringList{});
        QCOMPARE(input->text(), shown.isEmpty() ? typed : shown);
        // Typing goes on in the box.
        QVERIFY(input->hasFocus() || keys.last() == Qt::Key_Go);
    }

    void inputMethodAndPrompt()
    {
        QTest::keyClick(input, Qt::Key_Down);
        QVERIFY(list->isHidden());
        // Composing offers nothing; a committed word does. Escape keeps the text, Down reopens.
        QInputMethodEvent composing("zhong", {});
        QCoreApplication::sendEvent(input, &composing);
        QVERIFY(list->isHidden());
        commit(QStringLiteral("中"));
        QCOMPARE(list->headwords(), QStringList({QStringLiteral("中国"), QStringLiteral("中文")}));
        QTest::keyClick(input, Qt::Key_Escape);
        QTest::keyClick(input, Qt::Key_Down);
        QVERIFY(list->isVisible() && input->text() == QStringLiteral("中"));
        // Typed out in full by an input method, the prompt is still the prompt.
        input->clear();
        commit(QStringLiteral("随机选或在此输入"));
        QVERIFY(list->isHidden());
        commit(QStringLiteral("吧"));
        QCOMPARE(list->headwords(), QStringList{QStringLiteral("随机选或在此输入吧")});
    }
};

QTEST_MAIN(tst_frmmainCompletion)
#include "tst_frmmainCompletion.moc"
