#include "board/BoardModel.h"

const QString BoardModel::greeting = QStringLiteral("欢迎使用Tesmar系列！");
const QString BoardModel::inputPrompt = QStringLiteral("随机选或在此输入");
const QString BoardModel::programTitle = QStringLiteral("Tesmar单词Dorrit");

BoardModel::BoardModel(const BoardGeometry &geometry)
    : geometry_(geometry)
    , caption_(programTitle)
{
    // Until start-up places them, the centre label and meaning box stand as designed: shown.
    slots_[centreSlot].labelShown = true;
    slots_[centreSlot].labelStyle = LabelStyle::Centre;
    slots_[centreSlot].meaningShown = true;
}

void BoardModel::fillSlotLayout()
{
    // Each count gets a balanced shape: 2 left and right, 3 a triangle, 4 the diagonals...
    static constexpr int layouts[9][9] = {{},
                                          {0, 0},
                                          {0, 2, 6},
                                          {0, 0, 3, 5},
                                          {0, 1, 3, 5, 7},
                                          {0, 0, 1, 3, 5, 7},
                                          {0, 1, 2, 3, 5, 6, 7},
                                          {0, 0, 1, 2, 3, 4, 5, 6},
                                          {0, 0, 1, 2, 3, 4, 5, 6, 7}};
    for (int n = 0; n < 9; ++n)
        for (int k = 0; k < 9; ++k)
            slotLayout_[size_t(n)][size_t(k)] = layouts[n][k];
}

int BoardModel::slotLayout(int n, int k) const
{
    if (n < 1 || n > 8 || k < 1 || k > n)
        return 0;
    return slotLayout_[size_t(n)][size_t(k)];
}

void BoardModel::placeRing()
{
    for (int i = 0; i < centreSlot; ++i) {
        Slot &s = slots_[size_t(i)];
        s.labelStyle = LabelStyle::Resting;
        s.labelShown = false;
        s.meaningShown = false;
    }
}

void BoardModel::placeCentre()
{
    Slot &centre = slots_[centreSlot];
    centre.borderStyle = Solid;
    centre.borderColour = red;
    centre.labelStyle = LabelStyle::Centre;
}

void BoardModel::dispchin(int jjj, const QString &temp)
{
    if (jjj < 0 || jjj > centreSlot)
        return;
    Slot &s = slots_[size_t(jjj)];
    s.meaningBox = meaningBoxFor(geometry_, jjj, temp);
    s.meaning = temp;
}

void BoardModel::setNoLibraryState()
{
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
    previousPageShown_ = false;
    nextPageShown_ = false;
    counterEnabled_ = false;
    backEnabled_ = false;
    boardShown_ = false;
    for (Slot &s : slots_) {
        s.labelShown = false;
        s.meaningShown = false;
        s.circleShown = true;
    }
    slots_[centreSlot].meaningShown = true;
    historyDepth_ = 0;
    inputText_ = inputPrompt;
    dispchin(centreSlot, greeting);
}

void BoardModel::libraryOpened(const QString &libraryName)
{
    caption_ = programTitle + QStringLiteral("        词库：") + libraryName;
    randomEnabled_ = true;
    goEnabled_ = true;
    inputEnabled_ = true;
    counterEnabled_ = true;
}
