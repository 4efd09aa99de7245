// What the window manager keeps for one window. Guarded by the window manager's lock; the
// window procedure is called without it.
#pragma once

#include <string>
#include <vector>

#include "platform/user/WinUser.h"

struct WindowRecord {
    HWND hwnd = nullptr;
    std::wstring className;
    WNDPROC proc = nullptr;
    HBRUSH classBrush = nullptr;
    DWORD threadId = 0;

    HWND parent = nullptr;      // child windows only
    HWND owner = nullptr;       // top-level windows created with a parent
    std::vector<HWND> children; // z-order, top first
    HWND lastFocus = nullptr;   // top-level windows: the focus to give back on activation

    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    std::wstring text;
    RECT rect; // relative to the parent's client area (screen for top-level)
    LONG_PTR userData = 0;
    std::vector<LONG_PTR> extra; // the class's cbWndExtra bytes, in pointer-sized slots

    RECT update; // the part of the client area that needs painting
    bool updateErase = false;
    bool redraw = true; // WM_SETREDRAW
    bool destroying = false;
};
