// The window classes the platform itself provides: "Static", "Button", "ListBox" (ListBox.h),
// "Dialog" (the class of every dialog box and form) and the popup menu's window, with their
// window procedures.
#pragma once

#include "platform/user/WinUser.h"

class WindowManager;

// Called once while the window manager is made (no lock needed then).
void RegisterBuiltinClasses(WindowManager& wm);

// The brush a built-in control paints its background with: its parent's answer to message
// (WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, ...; the control's own when it has no parent), else the
// default colours for that message.
HBRUSH ControlBackgroundBrush(HWND hwnd, HDC hdc, UINT message);

LRESULT StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The class of a tracked popup menu's windows (the platform's system menu class).
inline constexpr LPCTSTR kMenuWindowClass = L"#32768";
LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
