#pragma once

#include "board/BoardModel.h"
#include "common/LibraryFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "worddata/OpenLibrary.h"

#include <memory>

// A board over a library "lib" read from real files, as start-up and a load leave it.
class BoardFixture
{
public:
    using Pair = LibraryFixtures::Pair;
    // Headword i with meaning i and the associations of group i.
    BoardFixture(const std::vector<Pair> &words, const std::vector<std::vector<Pair>> &groups);
    // The headword "head" (n.头) ringed by "a1".."an" with meanings "m1".."mn".
    static BoardFixture ringOf(int n);

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
    // Loads the same library again, as choosing it in the menu does.
    void reload();
    // Ring slots whose circle is shown.
    QList<int> shownRing() const;
    // The captions of the ring slots in focus; "?" for a slot whose look does not match its focus.
    QStringList focused() const;

    TempProgramFolder folder;
    OpenLibrary library;
    RecordingSpeech speech;
    RecordingMessages messages;
    bool readAloud = false;
    double nextRandom = 0;

private:
    std::unique_ptr<BoardModel> board_;
};
