#include "board/MeaningLayout.h"

#include "platform/text/AnsiText.h"

#include <cmath>

int isdivisible(int cells, int lineChars)
{
    const double quotient = double(cells) / double(lineChars);
    return std::floor(quotient) == quotient ? 1 : 0;
}

MeaningBox meaningBoxFor(const BoardGeometry &g, int jjj, QStringView temp)
{
    const int n = AnsiText::cellCount(temp);
    const int lineChars = g.meaningLineChars;
    MeaningBox box;
    if (n > lineChars) {
        box.width = g.meaningBoxPadding + lineChars * g.meaningCharWidth;
        const int furtherLines = n / lineChars - isdivisible(n, lineChars);
        box.height = g.meaningBoxBaseHeight + furtherLines * g.meaningLineHeight;
    } else {
        box.width = g.meaningBoxPadding + n * g.meaningCharWidth;
        box.height = g.meaningSingleLineHeight;
    }
    box.left = g.slotX[jjj] - box.width / 2.0;
    box.top = g.slotY[jjj] - box.height / 2.0;
    return box;
}
