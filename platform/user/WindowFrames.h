// The one piece of non-client drawing on this device: the frames of windows, drawn at once when
// a window appears or moves (as the platform draws frames synchronously) and again whenever the
// window paints. A WS_BORDER window has a one-pixel line in the window-frame colour; a modal
// dialog frame (WS_EX_DLGMODALFRAME) is the platform's window border style, a raised outer and a
// raised inner line (DrawEdge's EDGE_RAISED), two pixels on each side.
#pragma once

#include "platform/kernel/WinTypes.h"

// Draws the frames of hwnd and of its visible descendants that have one.
void PaintWindowFrames(HWND hwnd);
