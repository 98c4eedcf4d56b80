#include "board/BoardModel.h"
#include "common/LibraryFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "worddata/OpenLibrary.h"

#include <QTest>
#include <memory>

namespace {

// A board over a library "lib" read from real files, as start-up and a load leave it.
class BoardFixture : private LibraryHost
{
public:
    using Pair = LibraryFixtures::Pair;
    BoardFixture(BoardFixture &&) = delete; // the board holds pointers into it
    // Headword i with meaning i and the associations of group i.
    BoardFixture(const std::vector<Pair> &words, const std::vector<std::vector<Pair>> &groups)
    {
        LibraryFixtures::writeLibrary(folder.path(), QStringLiteral("lib"), LibraryFixtures::wordFile(words),
                                      LibraryFixtures::associationFile(groups));
        BoardModel::Services services{&library, &speech, &messages, &readAloud, [this] { return nextRandom; }, {}, {}};
        board_ = std::make_unique<BoardModel>(BoardGeometry::forScreenHeightTwips(7200), services);
        board_->fillSlotLayout();
        board_->computeSlots();
        board_->placeRing();
        board_->placeCentre();
        board_->setNoLibraryState();
        reload();
    }
    // The headword "head" (n.头) ringed by "a1".."an" with meanings "m1".."mn".
    static BoardFixture ringOf(int n)
    {
        std::vector<Pair> ring;
        for (int k = 1; k <= n; ++k)
            ring.emplace_back(QStringLiteral("a%1").arg(k), QStringLiteral("m%1").arg(k));
        return BoardFixture({{QStringLiteral("head"), QStringLiteral("n.头")}}, {ring});
    }

    BoardModel &board() { return *board_; }
    // Types text into the input box and presses Go.
    void go(const QString &text)
    {
        board_->setInputText(text);
        board_->Command2_Click();
    }
    // Moves the pointer to the centre of a slot.
    void hover(int i)
    {
        board_->Form_MouseMove(board_->geometry().slotX[size_t(i)], board_->geometry().slotY[size_t(i)]);
    }
    // Loads the same library again, as choosing it in the menu does; the fixture plays the
    // window's side of the load.
    void reload()
    {
        library.previousLibraryName = library.libraryName;
        library.libraryName = QStringLiteral("lib");
        library.openwordfile(folder.path(), *this);
    }
    // The captions of the ring slots in focus; "?" for a slot whose circle, word label or meaning
    // box does not follow its focus.
    QStringList focused() const
    {
        QStringList out;
        for (int i = 0; i < BoardModel::ringSlots; ++i) {
            const BoardModel::Slot &s = board_->slot(i);
            const bool focus = board_->slotFocused(i);
            if ((s.borderStyle == BoardModel::Solid) != focus ||
                (s.labelStyle == BoardModel::LabelStyle::Focus) != focus || s.meaningShown != focus)
                out << QStringLiteral("?");
            else if (focus)
                out << s.caption;
        }
        return out;
    }

    TempProgramFolder folder;
    OpenLibrary library;
    RecordingSpeech speech;
    RecordingMessages messages;
    bool readAloud = false;
    double nextRandom = 0;

private:
    void showMessage(const QString &) override {}
    void resetBoard() override { board_->resetForLibrary(); }
    void libraryOpened(const QString &name) override { board_->libraryOpened(name); }
    void noLibraryOpen() override { board_->setNoLibraryState(); }

    std::unique_ptr<BoardModel> board_;
};

using Pair = BoardFixture::Pair;
using Ints = QList<int>;
using Strings = QStringList;
using Key = BoardModel::Key;

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

// Steps besides slots 0..8 (8 the centre) that the pointer moves to: keys, reading aloud switched
// over, the pointer near slot 1 (radius 59): just inside, on the edge, diagonally out.
enum Step { Cw = -1, Ccw = -2, Leave = -3, NextPage = -4, SwitchReadAloud = -5, Inside = -6, Edge = -7, Diagonal = -8 };
constexpr Key keys[] = {Key::Clockwise, Key::CounterClockwise, Key::Leave, Key::NextPage};
constexpr double nearSlot1[][2] = {{0, -58.99}, {0, 59}, {-41.8, 41.8}};

} // namespace

// The board without its widgets: the layout for the screen, look-up and the chain of turned
// words, and the ring's slots, pages and focus.
class tst_Board : public QObject
{
    Q_OBJECT
private slots:
    // The layout chosen for the screen, where its slots stand and how a meaning box grows in it.
    void layout_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("resolutionIndex");
        QTest::addColumn<Ints>("xs");
        QTest::addColumn<Ints>("ys");
        const Ints x1{300, 417, 471, 417, 300, 183, 129, 183, 300}, y1{73, 119, 230, 341, 387, 341, 230, 119, 230};
        const Ints x2{400, 558, 650, 558, 400, 242, 150, 242, 400}, y2{94, 151, 290, 429, 486, 429, 290, 151, 290};
        const Ints x3{512, 693, 789, 693, 512, 331, 235, 331, 512}, y3{135, 205, 374, 543, 613, 543, 374, 205, 374};
        QTest::newRow("600 at 120 dpi is 7200 twips") << 600 << 120.0 << 1 << x1 << y1;
        QTest::newRow("600 at 96 dpi") << 600 << 96.0 << 2 << x2 << y2;
        QTest::newRow("768 at 96 dpi") << 768 << 96.0 << 3 << x3 << y3;
        QTest::newRow("768 at 120 dpi falls to the last") << 768 << 120.0 << 3 << x3 << y3;
        QTest::newRow("no screen") << 0 << 96.0 << 3 << x3 << y3;
    }
    void layout()
    {
        QFETCH(int, pixels);
        QFETCH(double, dpi);
        auto g = BoardGeometry::forScreenHeightTwips(pixels * BoardGeometry::twipsPerPixel(dpi));
        g.computeSlots();
        QTEST(g.resolutionIndex, "resolutionIndex");
        QTEST(Ints(g.slotX.begin(), g.slotX.end()), "xs");
        QTEST(Ints(g.slotY.begin(), g.slotY.end()), "ys");
    }

    void meaningBox_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        // 640x480: lines of 18 cells, cell 6, padding 6, single line 18, base 18, line 12.
        QTest::newRow("640 empty") << 7200 << QString() << 6 << 18;
        QTest::newRow("640 one line") << 7200 << QString(18, u'a') << 114 << 18;
        QTest::newRow("640 two lines exactly") << 7200 << QString(36, u'a') << 114 << 30;
        QTest::newRow("640 Chinese two cells, line break two") << 7200 << QStringLiteral("油船\r\n") << 42 << 18;
        // 800x600: 18 cells, cell 8, padding 8, single 24, base 22, line 16.
        QTest::newRow("800 one line exactly: not the wrapped height") << 9000 << QString(18, u'a') << 152 << 24;
        QTest::newRow("800 two lines and a cell") << 9000 << QString(18, u'船') + u'a' << 152 << 54;
        // 1024x768: 16 cells, cell 10, padding 6, single 27, base 25, line 19.
        QTest::newRow("1024 one line exactly, in Chinese") << 11520 << QString(8, u'船') << 166 << 27;
        QTest::newRow("1024 greeting") << 11520 << QStringLiteral("欢迎使用Tesmar系列！") << 166 << 44;
        QTest::newRow("1024 two lines and a cell") << 11520 << QString(33, u'a') << 166 << 63;
    }
    void meaningBox()
    {
        QFETCH(int, twips);
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, height);
        BoardModel board(BoardGeometry::forScreenHeightTwips(twips));
        board.computeSlots();
        board.placeRing();
        for (int slot : {0, 3, 8}) {
            const bool shown = board.slot(slot).meaningShown;
            board.dispchin(slot, text);
            const BoardModel::Slot &s = board.slot(slot);
            QCOMPARE(s.meaning, text);
            QCOMPARE((Ints{s.meaningBox.width, s.meaningBox.height}), (Ints{width, height}));
            QCOMPARE(s.meaningBox.left, board.geometry().slotX[size_t(slot)] - width / 2.0);
            QCOMPARE(s.meaningBox.top, board.geometry().slotY[size_t(slot)] - height / 2.0);
            // Laying a meaning out neither shows nor hides its box.
            QCOMPARE(s.meaningShown, shown);
        }
    }

    // Look-up, random pick, turns on the ring, the chain of turned words and Back.
    void steps_data()
    {
        // Steps, split at '|': text typed and looked up, or "!" Go on the box as it stands,
        // "<" Back, "?r" Random drawing r, "~w" the pointer onto ring word w, "@w" that and a
        // double-click, "reload" the library chosen again.
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
        QTest::newRow("a load forgets the slot in focus") << "tanker|~run|reload|@run|!" << Ints{} << prompt << none;
    }
    void steps()
    {
        QFETCH(QString, steps);
        QFETCH(Ints, history);
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
            } else if (step.startsWith('@') || step.startsWith('~')) {
                int slot = 0; // the centre, 8, when the word is not on the ring
                while (slot < 8 && !(b.slot(slot).circleShown && b.slot(slot).caption == step.mid(1)))
                    ++slot;
                f.hover(slot);
                if (step.startsWith('@'))
                    b.Text2_DblClick();
            } else
                f.go(step);
        }
        Ints chain;
        for (int n = 1; n <= b.historyDepth(); ++n)
            chain << b.history(n);
        QCOMPARE(chain, history);
        QTEST(f.messages.shown, "messages");
        QTEST(b.inputText(), "input");
        // Go shows the centre label even when nothing is found: empty until a word is found.
        QVERIFY(b.slot(8).labelShown);
        QCOMPARE(b.slot(8).caption, history.isEmpty() ? QString() : f.library.wordLibrary().words(history.last()));
    }

    // The one table of ring shapes (other tests ask the board for them), and the last page; the
    // page buttons and what shows the monkey checks after every action.
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
        QTest::newRow("9, the last page holds one") << 9 << 2 << Ints{0};
        QTest::newRow("16 ends on a full page") << 16 << 2 << Ints{0, 1, 2, 3, 4, 5, 6, 7};
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
        QTest::newRow("keys and pointer share the focus")
            << 8 << Ints{0, Cw, 0, Leave, Cw} << "a1" << true << "a1 a2 a1 a1";
        QTest::newRow("circle's edge") << 8 << Ints{Inside, Edge, Inside, Diagonal} << "" << true << "a2 a2";
    }
    void focus()
    {
        QFETCH(int, count);
        QFETCH(Ints, steps);
        QFETCH(bool, readAloud);
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
        QTEST(f.focused().join(' '), "focused");
        QTEST(f.speech.spoken.join(' '), "spoken");
    }
};

QTEST_GUILESS_MAIN(tst_Board)
#include "tst_Board.moc"
