#pragma once

#include "board/BoardModel.h"
#include "common/LibraryFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "worddata/OpenLibrary.h"

#include <QList>
#include <deque>
#include <memory>

// A board over a library "lib" read from real files, as start-up and a load leave it.
class BoardFixture
{
public:
    struct Entry
    {
        QString word;
        QString meaning;
        std::vector<LibraryFixtures::Pair> associations;
    };

    explicit BoardFixture(const std::vector<Entry> &entries, int twips = 7200);

    // Associations "a1" .. "an" with meanings "m1" .. "mn".
    static std::vector<LibraryFixtures::Pair> numbered(int n);

    BoardModel &board() { return *board_; }
    // Types text into the input box and presses Go.
    void go(const QString &text);
    // Moves the pointer to the centre of a slot.
    void hover(int slot);
    // Loads the same library again, as choosing it in the menu does.
    void reload();
    // Ring slots whose circle is shown.
    QList<int> shownRing() const;

    TempProgramFolder folder;
    OpenLibrary library;
    RecordingSpeech speech;
    RecordingMessages messages;
    bool readAloud = false;
    std::deque<double> randoms;

private:
    std::unique_ptr<BoardModel> board_;
};
