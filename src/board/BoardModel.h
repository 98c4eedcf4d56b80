#pragma once

#include "board/BoardGeometry.h"
#include "board/MeaningLayout.h"

#include <QString>
#include <array>

// What the main window shows, as plain data. The routines of the board change it; the
// window renders it and forwards events to it.
class BoardModel
{
public:
    static constexpr int centreSlot = 8;
    static constexpr quint32 red = 0xFF0000;
    static constexpr quint32 blue = 0x0000FF;
    static constexpr quint32 wordColour = 0xA338DC; // RGB(163, 56, 220)
    static const QString greeting;
    static const QString inputPrompt;
    static const QString programTitle;

    enum class LabelStyle { Resting, Focus, Centre };
    enum BorderStyle { Solid = 1, Dashed = 2 };

    struct Slot
    {
        bool circleShown = true;
        int borderStyle = Dashed;
        quint32 borderColour = blue;
        QString caption;
        bool labelShown = false;
        LabelStyle labelStyle = LabelStyle::Resting;
        QString meaning;
        bool meaningShown = false;
        MeaningBox meaningBox;
    };

    explicit BoardModel(const BoardGeometry &geometry);

    const BoardGeometry &geometry() const { return geometry_; }
    // Board centre, ring radii and the nine slot centres, from the chosen layout.
    void computeSlots() { geometry_.computeSlots(); }

    // The ring slot that takes the k-th of the n associations on a page (n, k from 1).
    void fillSlotLayout();
    int slotLayout(int n, int k) const;
    void resetHistory() { historyDepth_ = 0; }
    const Slot &slot(int i) const { return slots_[size_t(i)]; }

    // Start-up: ring slots in resting style with hidden words and meanings.
    void placeRing();
    // Start-up: the centre circle solid red, the centre label in the centre style.
    void placeCentre();
    void dispchin(int jjj, const QString &temp);
    // The state in which the window appears: nothing to look up yet.
    void setNoLibraryState();
    // A library is about to be read: an empty board with the greeting, counter 0.
    void resetForLibrary();
    // A library is open: the caption names it and the look-up controls are enabled.
    void libraryOpened(const QString &libraryName);

    QString caption() const { return caption_; }
    QString inputText() const { return inputText_; }
    bool inputEnabled() const { return inputEnabled_; }
    bool randomEnabled() const { return randomEnabled_; }
    bool goEnabled() const { return goEnabled_; }
    bool backEnabled() const { return backEnabled_; }
    bool counterEnabled() const { return counterEnabled_; }
    QString counterText() const { return QString::number(historyDepth_); }
    bool previousPageShown() const { return previousPageShown_; }
    bool nextPageShown() const { return nextPageShown_; }
    bool boardShown() const { return boardShown_; }
    int historyDepth() const { return historyDepth_; }

private:
    BoardGeometry geometry_;
    std::array<Slot, 9> slots_;
    std::array<std::array<int, 9>, 9> slotLayout_{};
    QString caption_;
    QString inputText_;
    bool inputEnabled_ = true;
    bool randomEnabled_ = true;
    bool goEnabled_ = true;
    bool backEnabled_ = true;
    bool counterEnabled_ = true;
    bool previousPageShown_ = true;
    bool nextPageShown_ = true;
    bool boardShown_ = false;
    int historyDepth_ = 0;
};
