// The one piece of non-client drawing on this device: the one-pixel frame of WS_BORDER windows,
// drawn at once when a window appears or moves (as the platform draws frames synchronously)
// and again whenever the window paints.
#pragma once

#include "platform/kernel/WinTypes.h"

// Draws the frames of hwnd and of its visible descendants that have WS_BORDER.
void PaintWindowFrames(HWND hwnd);
