// The picture of the battery gauge: a battery lying on its side with its terminal on the left,
// filled from the right with the charge level, and an optional yellow warning badge. Kept apart
// from the gauge's window so that the geometry paints on any drawing context.
#pragma once

#include "platform/gdi/CDC.h"

struct QBatteryFace {
    COLORREF background = 0; // the whole control
    COLORREF outline = 0;    // outline of terminal and body
    COLORREF inside = 0;     // inside of terminal and body
    float level = 0.0f;      // 0.0 to 1.0
    BOOL charging = FALSE;   // red fill instead of blue
    BOOL warning = FALSE;    // draws the badge

    // Paints the whole client rectangle. Pens and brushes made here are released before
    // returning, and the context's previous pen and brush are selected back.
    void Paint(CDC& dc, const CRect& client) const;
};
