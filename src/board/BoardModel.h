#pragma once

#include "board/BoardGeometry.h"
#include "board/MeaningLayout.h"
#include "board/RingPages.h"

#include <QString>
#include <array>
#include <functional>
#include <utility>
#include <vector>

class MessageSink;
class OpenLibrary;
class Speech;

// What the main window shows, as plain data, and the rules that change it: the ring and
// its pages, look-up, random pick, the chain of turned words and the pointer focus. The
// window renders it and forwards events to it.
class BoardModel
{
public:
    static constexpr int slotCount = BoardGeometry::slotCount;
    static constexpr int centreSlot = 8;
    static constexpr int ringSlots = 8;
    static constexpr quint32 red = 0xFF0000;
    static constexpr quint32 blue = 0x0000FF;
    static constexpr quint32 wordColour = 0xA338DC; // RGB(163, 56, 220)
    // The counter is 16-bit; past this the oldest turn is forgotten.
    static constexpr int historyCapacity = 32767;
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
        // The word is kept in the wordbook.
        bool inWordbook = false;
    };

    // What the rules need from outside; any may be null in tests that do not use it.
    struct Services
    {
        const OpenLibrary *library = nullptr;
        Speech *speech = nullptr;
        MessageSink *messages = nullptr;
        const bool *readAloud = nullptr;
        // Uniform in [0, 1).
        std::function<double()> random;
        // Whether a word is kept in the wordbook, and its pronunciation in IPA (empty: unknown).
        std::function<bool(const QString &)> inWordbook;
        std::function<QString(const QString &)> phonetic;
    };

    explicit BoardModel(const BoardGeometry &geometry = BoardGeometry());
    BoardModel(const BoardGeometry &geometry, Services services);

    const BoardGeometry &geometry() const { return geometry_; }
    // The layout for the screen, chosen once at start-up.
    void chooseLayout(const BoardGeometry &geometry) { geometry_ = geometry; }
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
    // The open library was read again after it changed: each word of the chain by its new
    // index, 0 for one that is gone. The chain's last word is shown again, or the empty board
    // when none is left; no index into the old tables stays.
    void libraryReread(const std::function<int(int oldIndex)> &newIndex);
    // Every shown word's mark, after the wordbook changed.
    void refreshMarks();

    // The ring and its pages.
    void showword();
    void thinklist();
    void Command3_Click();
    void Command4_Click();
    const RingPages &pages() const { return pages_; }

    // Navigation. The input box's text is the user's; the window hands it over as typed.
    void setInputText(const QString &text);
    // First headword equal to text (exact, case-sensitive); 0 when none.
    int lookUp(const QString &text) const;
    void Command1_Click();
    void Command2_Click();
    void Command5_Click();
    // A double-click on the window, a word label or a meaning box: which one is ignored.
    void Form_DblClick();
    void Label1_DblClick() { Form_DblClick(); }
    void Text2_DblClick() { Form_DblClick(); }
    // history(n) for n = 1..historyDepth; entries above the depth stay until overwritten.
    int history(int n) const;

    // Pointer focus. x, y in the board's pixel coordinates.
    void Form_MouseMove(double x, double y);
    // The keyboard moves the same focus among the used ring slots: clockwise for +1,
    // counter-clockwise for -1, from the slot in focus or from the top of the ring.
    void moveKeyboardFocus(int direction);
    // Every ring slot back to its resting style.
    void clearFocus();
    // Keys on the board (not in the input box), each doing what its button or the
    // double-click does, and only where that is offered. False when the key does nothing.
    enum class Key { Clockwise, CounterClockwise, Turn, PreviousPage, NextPage, Back, Leave };
    bool keyPressed(Key key);
    bool slotFocused(int i) const { return i >= 0 && i < ringSlots && slotFocused_[size_t(i)]; }

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
    int currentWord() const { return historyDepth_ > 0 ? currentWord_ : 0; }
    int focusSlot() const { return focusSlot_; }
    // The pronunciation shown in the centre: the focused ring word's with the word, else the
    // centre word's; empty when unknown.
    QString phonetic() const { return phonetic_; }

    // What changed since the window last asked: one bit per slot, and the other controls.
    quint16 takeChangedSlots();
    bool takeControlsChanged();
    // The pronunciation changed: apart from the controls, as it changes with every focus.
    bool takePhoneticChanged() { return std::exchange(phoneticChanged_, false); }

private:
    Slot &change(int i);
    void changeControls() { controlsChanged_ = true; }
    void pushHistory(int wordIndex);
    bool readingAloud() const;
    void enterFocus(int i);
    void toFocusStyle(int i);
    void toRestingStyle(int i);
    void notInLibrary(const QString &word, const QString &tail) const;
    bool marked(const QString &word) const;
    void updatePhonetic();

    BoardGeometry geometry_;
    Services services_;
    std::array<Slot, slotCount> slots_;
    // Indexed by the count on a page (0..8) and, for slotLayout_, the association on it.
    static constexpr int pageCounts = RingPages::pageSize + 1;
    std::array<std::array<int, pageCounts>, pageCounts> slotLayout_{};
    // Bit i set when ring slot i is used by a page of n associations.
    std::array<quint8, pageCounts> usedSlots_{};
    RingPages pages_;

    int currentWord_ = 0;
    std::vector<qint16> history_;
    int historyDepth_ = 0;

    bool boardShown_ = false;
    int focusSlot_ = 0;
    std::array<bool, ringSlots> slotFocused_{};

    QString caption_;
    QString phonetic_;
    QString inputText_;
    bool inputEnabled_ = true;
    bool randomEnabled_ = true;
    bool goEnabled_ = true;
    bool backEnabled_ = true;
    bool counterEnabled_ = true;
    bool previousPageShown_ = true;
    bool nextPageShown_ = true;

    quint16 changedSlots_ = 0x1FF;
    bool controlsChanged_ = true;
    bool phoneticChanged_ = true;
};
