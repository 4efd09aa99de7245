// The touch screen's reports as tests make them: the stylus put down, moved or lifted at a
// screen pixel, in SendInput's normalised coordinates.
#pragma once

#include "platform/user/WinUser.h"

// The normalised coordinate whose pixel is x on a screen that many pixels wide.
inline LONG NormalisedStylus(int x, int pixels) {
    return LONG((x * 65536 + pixels - 1) / pixels);
}

// Places the stylus at the screen pixel (x, y) and applies flags there (MOUSEEVENTF_LEFTDOWN,
// MOUSEEVENTF_LEFTUP or none); time 0 stamps it now. True when the report was taken.
inline bool SendStylus(DWORD flags, int x, int y, DWORD time = 0) {
    INPUT input;
    input.mi.dx = NormalisedStylus(x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = NormalisedStylus(y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    input.mi.time = time;
    return SendInput(1, &input, sizeof(INPUT)) == 1;
}
