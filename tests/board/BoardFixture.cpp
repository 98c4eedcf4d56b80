#include "BoardFixture.h"

BoardFixture::BoardFixture(const std::vector<Pair> &words, const std::vector<std::vector<Pair>> &groups)
{
    LibraryFixtures::writeLibrary(folder.path(), QStringLiteral("lib"), LibraryFixtures::wordFile(words),
                                  LibraryFixtures::associationFile(groups));
    BoardModel::Services services{&library, &speech, &messages, &readAloud, [this] { return nextRandom; }};
    board_ = std::make_unique<BoardModel>(BoardGeometry::forScreenHeightTwips(7200), services);
    board_->fillSlotLayout();
    board_->computeSlots();
    board_->placeRing();
    board_->placeCentre();
    board_->setNoLibraryState();
    reload();
}

BoardFixture BoardFixture::ringOf(int n)
{
    std::vector<Pair> ring;
    for (int k = 1; k <= n; ++k)
        ring.emplace_back(QStringLiteral("a%1").arg(k), QStringLiteral("m%1").arg(k));
    return BoardFixture({{QStringLiteral("head"), QStringLiteral("n.头")}}, {ring});
}

void BoardFixture::reload()
{
    // The board's side of a load, as the window does it.
    struct Host : LibraryHost
    {
        BoardModel &board;
        explicit Host(BoardModel &b)
            : board(b)
        {}
        void showMessage(const QString &) override {}
        void resetBoard() override { board.resetForLibrary(); }
        void libraryOpened(const QString &name) override { board.libraryOpened(name); }
        void noLibraryOpen() override { board.setNoLibraryState(); }
    } host(*board_);
    library.previousLibraryName = library.libraryName;
    library.libraryName = QStringLiteral("lib");
    library.openwordfile(folder.path(), host);
}

QList<int> BoardFixture::shownRing() const
{
    QList<int> shown;
    for (int i = 0; i < BoardModel::ringSlots; ++i) {
        if (board_->slot(i).circleShown)
            shown << i;
    }
    return shown;
}

QStringList BoardFixture::focused() const
{
    using M = BoardModel;
    QStringList out;
    for (int i = 0; i < M::ringSlots; ++i) {
        const M::Slot &s = board_->slot(i);
        const bool focus = board_->slotFocused(i);
        // Circle, word label and meaning box all follow the focus.
        if ((s.borderStyle == M::Solid) != focus || (s.borderColour == M::red) != focus ||
            (s.labelStyle == M::LabelStyle::Focus) != focus || s.meaningShown != focus)
            out << QStringLiteral("?");
        else if (focus)
            out << s.caption;
    }
    return out;
}
