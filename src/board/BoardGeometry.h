#pragma once

#include <QString>
#include <array>

// The board's layout values for one of the three supported screen sizes, chosen once
// at start-up from the screen height and constant for the life of the window.
struct BoardGeometry
{
    static constexpr int slotCount = 9;
    // Twips per pixel at 96 dots per inch, the unit of the dialogs' design.
    static constexpr int designTwipsPerPixel = 15;

    int resolutionIndex = 3;

    int boardWidth = 0, boardHeight = 0;
    int circleWidth = 0, circleHeight = 0;
    int ringMarginX = 0, ringMarginY = 0;
    int previousPageLeft = 0, previousPageTop = 0; // Command3
    int nextPageLeft = 0, nextPageTop = 0;         // Command4
    int diagonalShiftX = 0;
    int focusLabelOffsetX = 0, focusLabelOffsetY = 0;
    int wordLabelOffsetX = 0, wordLabelOffsetY = 0;
    int meaningBoxPadding = 0;
    int meaningCharWidth = 0;
    int meaningBoxBaseHeight = 0, meaningLineHeight = 0, meaningSingleLineHeight = 0;
    int focusFontSize = 0, wordFontSize = 0, meaningFontSize = 0;
    QString focusFontName;
    int focusLabelWidth = 0, focusLabelHeight = 0;
    int wordLabelWidth = 0, wordLabelHeight = 0;
    int meaningLineChars = 0;

    // Derived by computeSlots().
    int centreX = 0, centreY = 0;
    int ringRadiusX = 0, ringRadiusY = 0;
    std::array<int, slotCount> slotX{}, slotY{};

    // Layout 1 at exactly 7200 twips, 2 at 9000, 3 for 11520 and any other height.
    static BoardGeometry forScreenHeightTwips(int twips);
    static int twipsPerPixel(double dotsPerInch);

    void computeSlots();
};

// Nearest integer, ties to even.
int roundHalfEven(double value);
// A design length in twips as pixels at 96 dots per inch.
int pixelsFromTwips(int twips);
