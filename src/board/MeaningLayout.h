#pragma once

#include "board/BoardGeometry.h"

#include <QStringView>

// Where a meaning box stands and how big it is. Left and Top may be half pixels.
struct MeaningBox
{
    double left = 0, top = 0;
    int width = 0, height = 0;
};

// 1 when the cell count is an exact multiple of the line width, else 0: a number the
// caller subtracts, not a truth value.
int isdivisible(int cells, int lineChars);

// The box for a meaning text in slot jjj: lines of meaningLineChars cells, wrapped by
// the box itself, centred on the slot.
MeaningBox meaningBoxFor(const BoardGeometry &g, int jjj, QStringView temp);
