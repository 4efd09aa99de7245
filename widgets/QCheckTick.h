// The kit's tick: two strokes of a two-pixel black pen around the centre of a box, drawn in the
// colour button's check box and in the owner-drawn menu's mark column.
#pragma once

#include "platform/gdi/CDC.h"

class QCheckTick {
public:
    // With (cx, cy) the integer means of the box's opposite edges: from (cx - 4, cy) to
    // (cx - 1, cy + 3) and on to (cx + 6, cy - 4). The context's pen is selected back.
    static void Draw(CDC* pDC, LPCRECT box);
};
