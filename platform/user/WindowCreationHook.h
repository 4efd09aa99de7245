// How the framework binds its C++ window object to a window at the window's birth: the calling
// thread's hook runs once, for the next window the thread creates, after the window exists and
// before it receives its first message (WM_NCCREATE).
#pragma once

#include "platform/kernel/WinTypes.h"

using WindowCreationHook = void (*)(HWND hwnd, void* context);

// Hooks nest: a hook set while another is pending (a window made during another's creation)
// applies until it is cleared, then the outer one is current again.
void SetWindowCreationHook(WindowCreationHook hook, void* context);
// Clears the latest hook; TRUE when it had been consumed by a window.
BOOL ClearWindowCreationHook();
