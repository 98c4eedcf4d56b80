#include "board/BoardGeometry.h"

#include "board/FontFamilies.h"

#include <cmath>

int roundHalfEven(double value)
{
    // std::nearbyint follows the current rounding mode, which is to-nearest-even unless
    // someone changed it; do not depend on that.
    const double floor = std::floor(value);
    const double diff = value - floor;
    double result = floor;
    if (diff > 0.5)
        result = floor + 1;
    else if (diff == 0.5)
        result = std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
    return int(result);
}

int BoardGeometry::twipsPerPixel(double dotsPerInch)
{
    if (!(dotsPerInch > 0))
        return designTwipsPerPixel;
    return int(1440.0 / dotsPerInch);
}

namespace {

// One row per layout, in the order of the members it sets.
struct Layout
{
    int twips, resolutionIndex, boardHeight, boardWidth, circleSize, ringMarginY, ringMarginX;
    int previousPageLeft, previousPageTop, nextPageLeft, nextPageTop, diagonalShiftX;
    int focusLabelOffsetX, focusLabelOffsetY, wordLabelOffsetX, wordLabelOffsetY;
    int meaningBoxPadding, meaningCharWidth, meaningBoxBaseHeight, meaningLineHeight, meaningSingleLineHeight;
    int focusFontSize, wordFontSize;
    QStringView focusFontName;
    int meaningFontSize, focusLabelHeight, focusLabelWidth, wordLabelHeight, wordLabelWidth, meaningLineChars;
};

// One layout a row.
// clang-format off
constexpr Layout kLayouts[3] = {
    {7200, 1, 460, 600, 118, 14, 70, 216, 214, 359, 214, -4, 60, 48, 80, 12, 6, 6, 18, 12, 18, 8, 10,
     FontFamilies::focus640, 9, 17, 121, 25, 161, 18},
    {9000, 2, 580, 800, 160, 14, 70, 480, 256, 480, 294, -19, 60, 60, 80, 20, 8, 8, 22, 16, 24, 9, 16,
     FontFamilies::focus800, 12, 17, 121, 25, 161, 18},
    // The last row also serves every height that is not one of the others.
    {11520, 3, 748, 1024, 190, 40, 140, 610, 340, 610, 380, -15, 60, 80, 90, 18, 6, 10, 25, 19, 27, 12, 18,
     FontFamilies::focus1024, 14, 20, 121, 33, 182, 16},
};
// clang-format on

} // namespace

int pixelsFromTwips(int twips)
{
    return roundHalfEven(double(twips) / BoardGeometry::designTwipsPerPixel);
}

BoardGeometry BoardGeometry::forScreenHeightTwips(int twips)
{
    const Layout *row = &kLayouts[2];
    for (const Layout &layout : kLayouts) {
        if (layout.twips == twips)
            row = &layout;
    }
    const Layout &l = *row;
    BoardGeometry g;
    g.resolutionIndex = l.resolutionIndex;
    g.boardHeight = l.boardHeight, g.boardWidth = l.boardWidth;
    g.circleHeight = g.circleWidth = l.circleSize;
    g.ringMarginY = l.ringMarginY, g.ringMarginX = l.ringMarginX;
    g.previousPageLeft = l.previousPageLeft, g.previousPageTop = l.previousPageTop;
    g.nextPageLeft = l.nextPageLeft, g.nextPageTop = l.nextPageTop;
    g.diagonalShiftX = l.diagonalShiftX;
    g.focusLabelOffsetX = l.focusLabelOffsetX, g.focusLabelOffsetY = l.focusLabelOffsetY;
    g.wordLabelOffsetX = l.wordLabelOffsetX, g.wordLabelOffsetY = l.wordLabelOffsetY;
    g.meaningBoxPadding = l.meaningBoxPadding, g.meaningCharWidth = l.meaningCharWidth;
    g.meaningBoxBaseHeight = l.meaningBoxBaseHeight, g.meaningLineHeight = l.meaningLineHeight;
    g.meaningSingleLineHeight = l.meaningSingleLineHeight;
    g.focusFontSize = l.focusFontSize, g.wordFontSize = l.wordFontSize;
    g.focusFontName = l.focusFontName.toString();
    g.meaningFontSize = l.meaningFontSize;
    g.focusLabelHeight = l.focusLabelHeight, g.focusLabelWidth = l.focusLabelWidth;
    g.wordLabelHeight = l.wordLabelHeight, g.wordLabelWidth = l.wordLabelWidth;
    g.meaningLineChars = l.meaningLineChars;
    return g;
}

void BoardGeometry::computeSlots()
{
    centreX = roundHalfEven(boardWidth / 2.0);
    centreY = roundHalfEven(boardHeight / 2.0);
    ringRadiusX = roundHalfEven((boardWidth - 2.0 * ringMarginX) / 2.0 - circleWidth / 2.0);
    ringRadiusY = roundHalfEven((boardHeight - 2.0 * ringMarginY) / 2.0 - circleHeight / 2.0);

    // The angle is formed from this constant, not from a more exact pi.
    const double s = std::sin(45 * 3.1415926 / 180);
    const double rx = ringRadiusX * s;
    const double ry = ringRadiusY * s;
    slotX = {centreX,
             roundHalfEven(rx + centreX + diagonalShiftX),
             centreX + ringRadiusX,
             roundHalfEven(rx + centreX + diagonalShiftX),
             centreX,
             roundHalfEven(centreX - rx - diagonalShiftX),
             centreX - ringRadiusX,
             roundHalfEven(centreX - rx - diagonalShiftX),
             centreX};
    slotY = {centreY - ringRadiusY,
             roundHalfEven(centreY - ry),
             centreY,
             roundHalfEven(ry + centreY),
             centreY + ringRadiusY,
             roundHalfEven(ry + centreY),
             centreY,
             roundHalfEven(centreY - ry),
             centreY};
}
