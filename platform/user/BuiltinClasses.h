// The window classes the platform itself provides: "Static", "Button" and "Dialog" (the
// class of every dialog box and form), with their window procedures.
#pragma once

#include "platform/user/WinUser.h"

class WindowManager;

// Called once while the window manager is made (no lock needed then).
void RegisterBuiltinClasses(WindowManager& wm);

LRESULT StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
