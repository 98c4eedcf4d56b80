#include "BoardFixture.h"

BoardFixture::BoardFixture(const std::vector<Entry> &entries, int twips)
{
    std::vector<LibraryFixtures::Pair> words;
    std::vector<std::vector<LibraryFixtures::Pair>> groups;
    for (const Entry &e : entries) {
        words.emplace_back(e.word, e.meaning);
        groups.push_back(e.associations);
    }
    LibraryFixtures::writeLibrary(folder.path(), QStringLiteral("lib"), LibraryFixtures::wordFile(words),
                                  LibraryFixtures::associationFile(groups));

    BoardModel::Services services;
    services.library = &library;
    services.speech = &speech;
    services.messages = &messages;
    services.readAloud = &readAloud;
    services.random = [this] {
        if (randoms.empty())
            return 0.0;
        const double r = randoms.front();
        randoms.pop_front();
        return r;
    };
    board_ = std::make_unique<BoardModel>(BoardGeometry::forScreenHeightTwips(twips), services);
    board_->fillSlotLayout();
    board_->computeSlots();
    board_->placeRing();
    board_->placeCentre();
    board_->setNoLibraryState();
    reload();
}

std::vector<LibraryFixtures::Pair> BoardFixture::numbered(int n)
{
    std::vector<LibraryFixtures::Pair> out;
    for (int k = 1; k <= n; ++k)
        out.emplace_back(QStringLiteral("a%1").arg(k), QStringLiteral("m%1").arg(k));
    return out;
}

void BoardFixture::reload()
{
    // The board's side of a load, as the window does it.
    class Host : public LibraryHost
    {
    public:
        explicit Host(BoardModel &b)
            : board(b)
        {}
        void showMessage(const QString &) override {}
        void resetBoard() override { board.resetForLibrary(); }
        void libraryOpened(const QString &name) override { board.libraryOpened(name); }
        void noLibraryOpen() override { board.setNoLibraryState(); }
        BoardModel &board;
    } host(*board_);
    library.previousLibraryName = library.libraryName;
    library.libraryName = QStringLiteral("lib");
    library.openwordfile(folder.path(), host);
}

void BoardFixture::go(const QString &text)
{
    board_->setInputText(text);
    board_->Command2_Click();
}

void BoardFixture::hover(int slot)
{
    const BoardGeometry &g = board_->geometry();
    board_->Form_MouseMove(g.slotX[size_t(slot)], g.slotY[size_t(slot)]);
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
