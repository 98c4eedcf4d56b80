#pragma once

#include "board/BoardModel.h"
#include "common/LibraryFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "worddata/OpenLibrary.h"

#include <memory>

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
