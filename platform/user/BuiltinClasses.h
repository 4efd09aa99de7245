// The window classes the platform itself provides: "Static", "Button", "ListBox" (ListBox.h),
// "Dialog" (the class of every dialog box and form) and the popup menu's window, with their
// window procedures.
#pragma once

#include "platform/user/WinUser.h"

class WindowManager;

// Called once while the window manager is made (no lock needed then).
void RegisterBuiltinClasses(WindowManager& wm);

LRESULT StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The class of a tracked popup menu's windows (the platform's system menu class).
inline constexpr LPCTSTR kMenuWindowClass = L"#32768";
LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
