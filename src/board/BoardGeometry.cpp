#include "board/BoardGeometry.h"

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
        return 15;
    return int(1440.0 / dotsPerInch);
}

BoardGeometry BoardGeometry::forScreenHeightTwips(int twips)
{
    BoardGeometry g;
    if (twips == 7200) {
        g.resolutionIndex = 1;
        g.boardHeight = 460, g.boardWidth = 600, g.circleHeight = 118, g.circleWidth = 118;
        g.ringMarginY = 14, g.ringMarginX = 70;
        g.previousPageLeft = 216, g.previousPageTop = 214, g.nextPageLeft = 359, g.nextPageTop = 214;
        g.diagonalShiftX = -4;
        g.focusLabelOffsetX = 60, g.focusLabelOffsetY = 48, g.wordLabelOffsetX = 80, g.wordLabelOffsetY = 12;
        g.meaningBoxPadding = 6, g.meaningCharWidth = 6, g.meaningBoxBaseHeight = 18, g.meaningLineHeight = 12;
        g.meaningSingleLineHeight = 18;
        g.focusFontSize = 8, g.wordFontSize = 10, g.focusFontName = QStringLiteral("MS serif");
        g.meaningFontSize = 9;
        g.focusLabelHeight = 17, g.focusLabelWidth = 121, g.wordLabelHeight = 25, g.wordLabelWidth = 161;
        g.meaningLineChars = 18;
    } else if (twips == 9000) {
        g.resolutionIndex = 2;
        g.boardHeight = 580, g.boardWidth = 800, g.circleHeight = 160, g.circleWidth = 160;
        g.ringMarginY = 14, g.ringMarginX = 70;
        g.previousPageLeft = 480, g.previousPageTop = 256, g.nextPageLeft = 480, g.nextPageTop = 294;
        g.diagonalShiftX = -19;
        g.focusLabelOffsetX = 60, g.focusLabelOffsetY = 60, g.wordLabelOffsetX = 80, g.wordLabelOffsetY = 20;
        g.meaningBoxPadding = 8, g.meaningCharWidth = 8, g.meaningBoxBaseHeight = 22, g.meaningLineHeight = 16;
        g.meaningSingleLineHeight = 24;
        g.focusFontSize = 9, g.wordFontSize = 16, g.focusFontName = QStringLiteral("Fixedsys");
        g.meaningFontSize = 12;
        g.focusLabelHeight = 17, g.focusLabelWidth = 121, g.wordLabelHeight = 25, g.wordLabelWidth = 161;
        g.meaningLineChars = 18;
    } else {
        g.resolutionIndex = 3;
        g.boardHeight = 748, g.boardWidth = 1024, g.circleHeight = 190, g.circleWidth = 190;
        g.ringMarginY = 40, g.ringMarginX = 140;
        g.previousPageLeft = 610, g.previousPageTop = 340, g.nextPageLeft = 610, g.nextPageTop = 380;
        g.diagonalShiftX = -15;
        g.focusLabelOffsetX = 60, g.focusLabelOffsetY = 80, g.wordLabelOffsetX = 90, g.wordLabelOffsetY = 18;
        g.meaningBoxPadding = 6, g.meaningCharWidth = 10, g.meaningBoxBaseHeight = 25, g.meaningLineHeight = 19;
        g.meaningSingleLineHeight = 27;
        g.focusFontSize = 12, g.wordFontSize = 18, g.focusFontName = QStringLiteral("Century Gothic");
        g.meaningFontSize = 14;
        g.focusLabelHeight = 20, g.focusLabelWidth = 121, g.wordLabelHeight = 33, g.wordLabelWidth = 182;
        g.meaningLineChars = 16;
    }
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
