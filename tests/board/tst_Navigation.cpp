#include "BoardFixture.h"

#include <QTest>

namespace {

using Pair = LibraryFixtures::Pair;

// tanker (1) rings ship, Ship and tanker; run (2); a second tanker (3) rings run.
BoardFixture library()
{
    return BoardFixture(
        {{QStringLiteral("tanker"),
          QStringLiteral("n.油船"),
          {Pair{QStringLiteral("ship"), QStringLiteral("n.船")}, Pair{QStringLiteral("run"), QStringLiteral("v.跑")}}},
         {QStringLiteral("run"), QStringLiteral("v.跑"), {}},
         {QStringLiteral("tanker"), QStringLiteral("n.坦克手"), {Pair{QStringLiteral("run"), {}}}}});
}

const QString kMissingTyped = QStringLiteral("单词 %1 在词库《lib》中不存在，请重新输入。");

} // namespace

class tst_Navigation : public QObject
{
    Q_OBJECT
private slots:
    void typedLookUp_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QList<int>>("history");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("prompt does nothing") << QStringList{BoardModel::inputPrompt} << QList<int>{} << QStringList{};
        QTest::newRow("exact word") << QStringList{"run"} << QList<int>{2} << QStringList{};
        QTest::newRow("case differs") << QStringList{"Tanker"} << QList<int>{}
                                      << QStringList{kMissingTyped.arg("Tanker")};
        QTest::newRow("trailing space") << QStringList{"run "} << QList<int>{}
                                        << QStringList{kMissingTyped.arg("run ")};
        QTest::newRow("repeated headword gives the first") << QStringList{"tanker"} << QList<int>{1} << QStringList{};
        QTest::newRow("centre word again") << QStringList{"run", "run"} << QList<int>{2, 2} << QStringList{};
        QTest::newRow("missing word keeps the chain")
            << QStringList{"run", "walk"} << QList<int>{2} << QStringList{kMissingTyped.arg("walk")};
    }
    void typedLookUp()
    {
        QFETCH(QStringList, typed);
        QFETCH(QList<int>, history);
        QFETCH(QStringList, messages);
        BoardFixture f = library();
        for (const QString &t : typed)
            f.go(t);
        QList<int> chain;
        for (int n = 1; n <= f.board().historyDepth(); ++n)
            chain << f.board().history(n);
        QCOMPARE(chain, history);
        QCOMPARE(f.messages.shown, messages);
        QCOMPARE(f.board().counterText(), QString::number(history.size()));
        QCOMPARE(f.board().backEnabled(), history.size() > 1);
        QCOMPARE(f.board().boardShown(), !history.isEmpty());
        // Go always shows the centre label, even when nothing is found.
        QVERIFY(f.board().slot(8).labelShown);
        if (!history.isEmpty()) {
            QCOMPARE(f.board().currentWord(), history.last());
            QCOMPARE(f.board().slot(8).caption, f.library.wordLibrary().words(history.last()));
        }
    }

    void randomPickFillsOnlyTheInputBox()
    {
        BoardFixture f = library();
        f.go(QStringLiteral("run"));
        f.randoms = {0.999, 0.0};
        f.board().Command1_Click();
        // The second "tanker" is drawn; Go then shows the first one.
        QCOMPARE(f.board().inputText(), QStringLiteral("tanker"));
        QCOMPARE(f.board().currentWord(), 2);
        QCOMPARE(f.board().historyDepth(), 1);
        f.board().Command2_Click();
        QCOMPARE(f.board().currentWord(), 1);
        f.board().Command1_Click();
        QCOMPARE(f.board().inputText(), QStringLiteral("tanker"));
    }

    void emptyLibrary()
    {
        BoardFixture f({});
        f.board().Command1_Click();
        QCOMPARE(f.board().inputText(), QString());
        f.board().Command2_Click();
        QCOMPARE(f.messages.shown, QStringList{kMissingTyped.arg(QString())});
        QCOMPARE(f.board().historyDepth(), 0);
    }

    void backWalksTheChain()
    {
        BoardFixture f = library();
        for (const char *w : {"run", "tanker", "run", "tanker", "run"})
            f.go(QString::fromLatin1(w));
        f.board().Command5_Click();
        QCOMPARE(f.board().historyDepth(), 4);
        QCOMPARE(f.board().currentWord(), 1);
        f.go(QStringLiteral("tanker"));
        QCOMPARE(f.board().historyDepth(), 5);
        QCOMPARE(f.board().history(5), 1);
        for (int i = 0; i < 4; ++i)
            f.board().Command5_Click();
        QCOMPARE(f.board().historyDepth(), 1);
        QCOMPARE(f.board().currentWord(), 2);
        QCOMPARE(f.board().slot(8).caption, QStringLiteral("run"));
        QVERIFY(!f.board().backEnabled());
        QCOMPARE(f.board().counterText(), QStringLiteral("1"));
        // The input box keeps what the user typed.
        QCOMPARE(f.board().inputText(), QStringLiteral("tanker"));
    }

    void aFullChainForgetsItsOldestTurn()
    {
        BoardFixture f = library();
        f.go(QStringLiteral("tanker"));
        for (int i = 1; i < BoardModel::historyCapacity; ++i)
            f.go(QStringLiteral("run"));
        QCOMPARE(f.board().historyDepth(), BoardModel::historyCapacity);
        f.go(QStringLiteral("tanker"));
        QCOMPARE(f.board().historyDepth(), BoardModel::historyCapacity);
        QCOMPARE(f.board().history(1), 2);
        QCOMPARE(f.board().history(BoardModel::historyCapacity), 1);
        f.board().Command5_Click();
        QCOMPARE(f.board().currentWord(), 2);
    }

    void ringTurn_data()
    {
        QTest::addColumn<int>("hovered");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QStringList>("messages");
        // tanker's ring of two: ship at slot 2 (not a headword), run at slot 6.
        QTest::newRow("ring word in the library") << 6 << 2 << QStringList{};
        QTest::newRow("ring word not in the library")
            << 2 << 1 << QStringList{QStringLiteral("单词 ship 在词库《lib》中不存在。")};
        QTest::newRow("no slot in focus") << -1 << 1 << QStringList{};
    }
    void ringTurn()
    {
        QFETCH(int, hovered);
        QFETCH(int, depth);
        QFETCH(QStringList, messages);
        BoardFixture f = library();
        f.go(QStringLiteral("tanker"));
        if (hovered >= 0)
            f.hover(hovered);
        f.board().Text2_DblClick();
        QCOMPARE(f.board().historyDepth(), depth);
        QCOMPARE(f.messages.shown, messages);
        QCOMPARE(f.board().backEnabled(), depth > 1);
        if (depth == 2)
            QCOMPARE(f.board().slot(8).caption, QStringLiteral("run"));
    }

    void aLoadForgetsThePointerFocus()
    {
        BoardFixture f = library();
        f.go(QStringLiteral("tanker"));
        f.hover(6);
        f.reload();
        f.board().Form_DblClick();
        QCOMPARE(f.board().historyDepth(), 0);
        QVERIFY(!f.board().slotFocused(6));
        QCOMPARE(f.board().slot(6).borderStyle, int(BoardModel::Dashed));
        QVERIFY(f.board().slot(6).circleShown);
        QVERIFY(!f.board().slot(6).labelShown);
        QVERIFY(!f.board().backEnabled());
    }
};

QTEST_GUILESS_MAIN(tst_Navigation)
#include "tst_Navigation.moc"
