#include "board/BoardModel.h"

#include "platform/messages/MessageSink.h"
#include "platform/programs/ProgramName.h"
#include "platform/speech/Speech.h"
#include "worddata/OpenLibrary.h"

const QString BoardModel::greeting = QStringLiteral("欢迎使用Tesmar系列！");
const QString BoardModel::inputPrompt = QStringLiteral("随机选或在此输入");
const QString BoardModel::programTitle = programName();

BoardModel::BoardModel(const BoardGeometry &geometry)
    : BoardModel(geometry, Services())
{}

BoardModel::BoardModel(const BoardGeometry &geometry, Services services)
    : geometry_(geometry)
    , services_(std::move(services))
    , caption_(programTitle)
{
    // Until start-up places them, the centre label and meaning box stand as designed: shown.
    slots_[centreSlot].labelShown = true;
    slots_[centreSlot].labelStyle = LabelStyle::Centre;
    slots_[centreSlot].meaningShown = true;
}

BoardModel::Slot &BoardModel::change(int i)
{
    changedSlots_ |= quint16(1u << i);
    return slots_[size_t(i)];
}

quint16 BoardModel::takeChangedSlots()
{
    return std::exchange(changedSlots_, quint16(0));
}

bool BoardModel::takeControlsChanged()
{
    return std::exchange(controlsChanged_, false);
}

void BoardModel::fillSlotLayout()
{
    // Each count gets a balanced shape: 2 left and right, 3 a triangle, 4 the diagonals...
    static constexpr int layouts[pageCounts][pageCounts] = {{},
                                                            {0, 0},
                                                            {0, 2, 6},
                                                            {0, 0, 3, 5},
                                                            {0, 1, 3, 5, 7},
                                                            {0, 0, 1, 3, 5, 7},
                                                            {0, 1, 2, 3, 5, 6, 7},
                                                            {0, 0, 1, 2, 3, 4, 5, 6},
                                                            {0, 0, 1, 2, 3, 4, 5, 6, 7}};
    for (int n = 0; n < pageCounts; ++n) {
        usedSlots_[size_t(n)] = 0;
        for (int k = 0; k < pageCounts; ++k) {
            slotLayout_[size_t(n)][size_t(k)] = layouts[n][k];
            if (k >= 1 && k <= n)
                usedSlots_[size_t(n)] |= quint8(1u << layouts[n][k]);
        }
    }
}

int BoardModel::slotLayout(int n, int k) const
{
    if (n < 1 || n > RingPages::pageSize || k < 1 || k > n)
        return 0;
    return slotLayout_[size_t(n)][size_t(k)];
}

void BoardModel::placeRing()
{
    for (int i = 0; i < centreSlot; ++i) {
        Slot &s = change(i);
        s.labelStyle = LabelStyle::Resting;
        s.labelShown = false;
        s.meaningShown = false;
    }
}

void BoardModel::placeCentre()
{
    Slot &centre = change(centreSlot);
    centre.borderStyle = Solid;
    centre.borderColour = red;
    centre.labelStyle = LabelStyle::Centre;
}

void BoardModel::dispchin(int jjj, const QString &temp)
{
    if (jjj < 0 || jjj > centreSlot)
        return;
    Slot &s = change(jjj);
    s.meaningBox = meaningBoxFor(geometry_, jjj, temp);
    s.meaning = temp;
}

void BoardModel::setNoLibraryState()
{
    changeControls();
    caption_ = programTitle;
    randomEnabled_ = false;
    goEnabled_ = false;
    inputText_ = inputPrompt;
    inputEnabled_ = false;
    previousPageShown_ = false;
    nextPageShown_ = false;
    counterEnabled_ = false;
    backEnabled_ = false;
}

void BoardModel::resetForLibrary()
{
    changeControls();
    previousPageShown_ = false;
    nextPageShown_ = false;
    counterEnabled_ = false;
    backEnabled_ = false;
    boardShown_ = false;
    // A slot left in focus would keep its red circle on the empty board, and a
    // double-click would still turn to a word of the previous library.
    clearFocus();
    for (int i = 0; i < slotCount; ++i) {
        Slot &s = change(i);
        s.labelShown = false;
        s.meaningShown = false;
        s.circleShown = true;
        s.inWordbook = false;
    }
    slots_[centreSlot].meaningShown = true;
    // Go on the prompt shows the centre label again: empty, as at start-up, and never a word
    // of the library before.
    slots_[centreSlot].caption.clear();
    historyDepth_ = 0;
    inputText_ = inputPrompt;
    dispchin(centreSlot, greeting);
    updatePhonetic();
}

void BoardModel::libraryOpened(const QString &libraryName)
{
    changeControls();
    caption_ = programTitle + QStringLiteral("        词库：") + libraryName;
    randomEnabled_ = true;
    goEnabled_ = true;
    inputEnabled_ = true;
    counterEnabled_ = true;
}

void BoardModel::libraryReread(const std::function<int(int)> &newIndex)
{
    std::vector<qint16> kept;
    for (int n = 1; n <= historyDepth_; ++n) {
        if (const int i = newIndex(history(n)); i > 0)
            kept.push_back(qint16(i));
    }
    history_ = std::move(kept);
    historyDepth_ = int(history_.size());
    if (historyDepth_ == 0) {
        // As a load leaves it, but the user's text stays in the input box.
        const QString typed = inputText_;
        resetForLibrary();
        inputText_ = typed;
        counterEnabled_ = true;
        return;
    }
    currentWord_ = history_.back();
    backEnabled_ = historyDepth_ > 1;
    changeControls();
    showword();
}

bool BoardModel::marked(const QString &word) const
{
    return services_.inWordbook && !word.isEmpty() && services_.inWordbook(word);
}

void BoardModel::refreshMarks()
{
    for (int i = 0; i < slotCount; ++i) {
        const bool mark = slots_[size_t(i)].labelShown && marked(slots_[size_t(i)].caption);
        if (slots_[size_t(i)].inWordbook != mark)
            change(i).inWordbook = mark;
    }
}

void BoardModel::updatePhonetic()
{
    QString text;
    const bool ring = slotFocused(focusSlot_);
    if (services_.phonetic && (ring || historyDepth_ > 0)) {
        const QString word = slots_[size_t(ring ? focusSlot_ : centreSlot)].caption;
        const QString ipa = word.isEmpty() ? QString() : services_.phonetic(word);
        // A ring word's is shown in the centre too, so it says whose it is.
        if (!ipa.isEmpty())
            text = (ring ? word + u' ' : QString()) + u'/' + ipa + u'/';
    }
    if (text != phonetic_) {
        phonetic_ = text;
        phoneticChanged_ = true;
    }
}

void BoardModel::showword()
{
    const WordLibrary &words = services_.library->wordLibrary();
    Slot &centre = change(centreSlot);
    centre.caption = words.words(currentWord_);
    centre.meaningShown = true;
    centre.inWordbook = marked(centre.caption);
    dispchin(centreSlot, words.meanings(currentWord_));
    pages_.start(services_.library->associations().assocCounts(currentWord_));
    thinklist();
}

void BoardModel::thinklist()
{
    changeControls();
    previousPageShown_ = pages_.previousShown();
    nextPageShown_ = pages_.nextShown();

    const AssociationTable &associations = services_.library->associations();
    const int m = pages_.itemsOnPage();
    const int first = pages_.firstAssociation();
    QStringList onPage;
    for (int k = 1; k <= m; ++k) {
        const int s = slotLayout(m, k);
        Slot &slot = change(s);
        slot.caption = associations.assocWords(currentWord_, first + k - 1);
        slot.inWordbook = marked(slot.caption);
        dispchin(s, associations.assocMeanings(currentWord_, first + k - 1));
        onPage << slots_[size_t(s)].caption;
    }
    // The words the pointer may reach next, so that the first of them is heard at once.
    if (readingAloud())
        services_.speech->prepare(onPage);
    // Unused slots keep their old captions while hidden, but not the focus: a double-click or
    // Enter would turn to a word no longer on the board.
    const quint8 used = usedSlots_[size_t(m)];
    for (int i = 0; i < ringSlots; ++i) {
        Slot &s = change(i);
        s.meaningShown = false;
        s.circleShown = s.labelShown = (used >> i) & 1u;
        if (slotFocused_[size_t(i)] && !s.circleShown)
            toRestingStyle(i);
    }
    updatePhonetic();
}

void BoardModel::Command3_Click()
{
    pages_.previous();
    thinklist();
}

void BoardModel::Command4_Click()
{
    pages_.next();
    thinklist();
}

void BoardModel::setInputText(const QString &text)
{
    // The box already shows what the user typed; nothing to render.
    inputText_ = text;
}

int BoardModel::lookUp(const QString &text) const
{
    if (!services_.library)
        return 0;
    return services_.library->wordLibrary().find(text);
}

int BoardModel::history(int n) const
{
    if (n < 1 || n > int(history_.size()))
        return 0;
    return history_[size_t(n - 1)];
}

void BoardModel::pushHistory(int wordIndex)
{
    if (historyDepth_ >= historyCapacity) {
        history_.erase(history_.begin());
        --historyDepth_;
    }
    if (size_t(historyDepth_) < history_.size())
        history_[size_t(historyDepth_)] = qint16(wordIndex);
    else
        history_.push_back(qint16(wordIndex));
    ++historyDepth_;
    currentWord_ = wordIndex;
    changeControls();
}

void BoardModel::notInLibrary(const QString &word, const QString &tail) const
{
    if (services_.messages)
        services_.messages->showMessage(QStringLiteral("单词 ") + word + QStringLiteral(" 在词库《") +
                                        services_.library->libraryName + tail);
}

void BoardModel::Command1_Click()
{
    if (!services_.library || !services_.random)
        return;
    const int wordCount = services_.library->wordLibrary().wordCount();
    const int i = std::min(int(services_.random() * wordCount) + 1, std::max(wordCount, 1));
    inputText_ = services_.library->wordLibrary().words(i);
    changeControls();
}

void BoardModel::Command2_Click()
{
    change(centreSlot).labelShown = true;
    if (inputText_ == inputPrompt || !services_.library)
        return;
    const int i = lookUp(inputText_);
    if (i == 0) {
        notInLibrary(inputText_, QStringLiteral("》中不存在，请重新输入。"));
        return;
    }
    pushHistory(i);
    showword();
    boardShown_ = true;
    if (historyDepth_ > 1)
        backEnabled_ = true;
}

void BoardModel::Command5_Click()
{
    if (historyDepth_ < 1)
        return;
    historyDepth_ = std::max(historyDepth_ - 1, 1);
    if (historyDepth_ == 1)
        backEnabled_ = false;
    currentWord_ = history(historyDepth_);
    changeControls();
    showword();
}

void BoardModel::Form_DblClick()
{
    const int s = focusSlot_;
    if (!slotFocused(s) || !services_.library)
        return;
    const QString word = slots_[size_t(s)].caption;
    const int i = lookUp(word);
    if (i == 0) {
        notInLibrary(word, QStringLiteral("》中不存在。"));
        return;
    }
    pushHistory(i);
    backEnabled_ = true;
    showword();
}

void BoardModel::Form_MouseMove(double x, double y)
{
    if (!boardShown_)
        return;
    const double radius = geometry_.circleHeight / 2.0;
    const quint8 used = usedSlots_[size_t(pages_.itemsOnPage())];
    for (int i = 0; i < ringSlots; ++i) {
        const double dx = x - geometry_.slotX[size_t(i)];
        const double dy = y - geometry_.slotY[size_t(i)];
        if (dx * dx + dy * dy < radius * radius) {
            // The pointer is over a hidden slot's place: the rest of the ring waits.
            if (!((used >> i) & 1u))
                return;
            if (!slotFocused_[size_t(i)])
                enterFocus(i);
        } else if (slotFocused_[size_t(i)]) {
            toRestingStyle(i);
        }
    }
}

void BoardModel::moveKeyboardFocus(int direction)
{
    const quint8 used = usedSlots_[size_t(pages_.itemsOnPage())];
    if (!boardShown_ || used == 0)
        return;
    const int step = direction < 0 ? ringSlots - 1 : 1;
    int to = slotFocused(focusSlot_) ? focusSlot_ : (direction < 0 ? 0 : ringSlots - 1);
    do
        to = (to + step) % ringSlots;
    while (!((used >> to) & 1u));
    // One focus for pointer and keyboard: the slot the pointer left in focus rests.
    for (int i = 0; i < ringSlots; ++i) {
        if (i != to && slotFocused_[size_t(i)])
            toRestingStyle(i);
    }
    if (!slotFocused_[size_t(to)])
        enterFocus(to);
}

bool BoardModel::keyPressed(Key key)
{
    switch (key) {
    case Key::Clockwise:
    case Key::CounterClockwise:
        if (!boardShown_)
            return false;
        moveKeyboardFocus(key == Key::Clockwise ? 1 : -1);
        return true;
    case Key::Turn:
        if (!slotFocused(focusSlot_))
            return false;
        Form_DblClick();
        return true;
    case Key::PreviousPage:
        if (!previousPageShown_)
            return false;
        Command3_Click();
        return true;
    case Key::NextPage:
        if (!nextPageShown_)
            return false;
        Command4_Click();
        return true;
    case Key::Back:
        if (!backEnabled_)
            return false;
        Command5_Click();
        return true;
    case Key::Leave:
        clearFocus();
        return true;
    }
    return false;
}

void BoardModel::clearFocus()
{
    for (int i = 0; i < ringSlots; ++i) {
        if (slotFocused_[size_t(i)])
            toRestingStyle(i);
    }
}

bool BoardModel::readingAloud() const
{
    return services_.readAloud && *services_.readAloud && services_.speech;
}

void BoardModel::enterFocus(int i)
{
    if (readingAloud())
        services_.speech->speak(slots_[size_t(i)].caption);
    focusSlot_ = i;
    toFocusStyle(i);
}

void BoardModel::toFocusStyle(int i)
{
    slotFocused_[size_t(i)] = true;
    Slot &s = change(i);
    s.borderStyle = Solid;
    s.borderColour = red;
    s.labelStyle = LabelStyle::Focus;
    s.meaningShown = true;
    updatePhonetic();
}

void BoardModel::toRestingStyle(int i)
{
    Slot &s = change(i);
    s.borderStyle = Dashed;
    s.borderColour = blue;
    s.labelStyle = LabelStyle::Resting;
    s.meaningShown = false;
    slotFocused_[size_t(i)] = false;
    updatePhonetic();
}
