// What the window manager keeps for one menu, and for each popup menu on the screen while a
// menu is tracked. Guarded by the window manager's lock.
#pragma once

#include <string>
#include <vector>

#include "platform/user/WinUser.h"

struct MenuItem {
    UINT type = MFT_STRING; // MFT_SEPARATOR, MFT_OWNERDRAW
    UINT state = 0;         // MFS_CHECKED, MF_GRAYED | MF_DISABLED bits
    UINT id = 0;
    HMENU submenu = nullptr;
    HBITMAP checkedBitmap = nullptr;
    HBITMAP uncheckedBitmap = nullptr;
    DWORD_PTR data = 0;
    std::wstring text; // string items only
};

struct MenuRecord {
    HMENU hmenu = nullptr;
    std::vector<MenuItem> items;
};

// One level of a tracked menu as it shows: the top popup first, then each open submenu.
struct OpenMenu {
    DWORD threadId = 0;
    HMENU hmenu = nullptr;
    HWND window = nullptr;
    int selected = -1; // the position of the selected item
};
