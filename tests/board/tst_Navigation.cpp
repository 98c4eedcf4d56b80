#include "BoardFixture.h"

#include <QTest>

namespace {

using Pair = BoardFixture::Pair;
using Ints = QList<int>;
using Strings = QStringList;

// tanker (1) rings ship (not a headword) and run; run (2) rings tanker; a second tanker (3).
BoardFixture library()
{
    return BoardFixture({{"tanker", "n.油船"}, {"run", "v.跑"}, {"tanker", "n.2"}},
                        {{Pair{"ship", "n.船"}, Pair{"run", {}}}, {Pair{"tanker", {}}}, {}});
}

QString missing(const QString &word)
{
    return QStringLiteral("单词 %1 在词库《lib》中不存在，请重新输入。").arg(word);
}

} // namespace

// Look-up, random pick, turns on the ring, the chain of turned words and Back.
class tst_Navigation : public QObject
{
    Q_OBJECT
private slots:
    void steps_data()
    {
        // Steps, split at '|': text typed and looked up, or "!" Go on the box as it stands,
        // "<" Back, "?r" Random drawing r, "@w" the pointer onto ring word w and a double-click,
        // "reload" the library chosen again.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<Ints>("history");
        QTest::addColumn<QString>("input");
        QTest::addColumn<Strings>("messages");
        const QString prompt = BoardModel::inputPrompt;
        const Strings none;
        QTest::newRow("prompt does nothing") << prompt << Ints{} << prompt << none;
        QTest::newRow("trailing space") << "run " << Ints{} << "run " << Strings{missing("run ")};
        QTest::newRow("repeated headword gives the first") << "tanker" << Ints{1} << "tanker" << none;
        QTest::newRow("missing word keeps the chain") << "run|walk" << Ints{2} << "walk" << Strings{missing("walk")};
        QTest::newRow("turn to a ring word") << "tanker|@run" << Ints{1, 2} << "tanker" << none;
        QTest::newRow("ring word not in the library")
            << "tanker|@ship" << Ints{1} << "tanker" << Strings{"单词 ship 在词库《lib》中不存在。"};
        QTest::newRow("back keeps the typed text, stops at the first word")
            << "run|@tanker|tanker|<|<|<" << Ints{2} << "tanker" << none;
        QTest::newRow("new word replaces the turn gone back over") << "run|tanker|<|run" << Ints{2, 2} << "run" << none;
        // Random only fills the input box; Go then finds the first of the repeated last word.
        QTest::newRow("random first and last word") << "?0|!|?0.999|!" << Ints{1, 1} << "tanker" << none;
        const QString full = "tanker|" + QStringLiteral("run|").repeated(BoardModel::historyCapacity - 1) + "tanker";
        QTest::newRow("a full chain forgets its oldest turn")
            << full << Ints(BoardModel::historyCapacity - 1, 2) + Ints{1} << "tanker" << none;
        QTest::newRow("Go on the prompt after a load shows no word of before")
            << "tanker|reload|!" << Ints{} << prompt << none;
    }
    void steps()
    {
        QFETCH(QString, steps);
        QFETCH(Ints, history);
        QFETCH(QString, input);
        QFETCH(Strings, messages);
        BoardFixture f = library();
        BoardModel &b = f.board();
        for (const QString &step : steps.split('|')) {
            if (step == "!")
                b.Command2_Click();
            else if (step == "<")
                b.Command5_Click();
            else if (step == "reload")
                f.reload();
            else if (step.startsWith('?')) {
                f.nextRandom = step.mid(1).toDouble();
                b.Command1_Click();
            } else if (step.startsWith('@')) {
                int slot = 0; // the centre, 8, when the word is not on the ring
                while (slot < 8 && !(b.slot(slot).circleShown && b.slot(slot).caption == step.mid(1)))
                    ++slot;
                f.hover(slot);
                b.Text2_DblClick();
            } else
                f.go(step);
        }
        Ints chain;
        for (int n = 1; n <= b.historyDepth(); ++n)
            chain << b.history(n);
        QCOMPARE(chain, history);
        QCOMPARE(f.messages.shown, messages);
        QCOMPARE(b.inputText(), input);
        // Go shows the centre label even when nothing is found: empty until a word is found.
        QVERIFY(b.slot(8).labelShown);
        QCOMPARE(b.slot(8).caption, history.isEmpty() ? QString() : f.library.wordLibrary().words(history.last()));
    }
};

QTEST_GUILESS_MAIN(tst_Navigation)
#include "tst_Navigation.moc"
