// How the framework binds its C++ window object to a window at the window's birth: the calling
// thread's hook runs once, for the next window the thread creates, after the window exists and
// before it receives its first message (WM_NCCREATE).
#pragma once

#include "platform/kernel/WinTypes.h"

using WindowCreationHook = void (*)(HWND hwnd, void* context);

void SetWindowCreationHook(WindowCreationHook hook, void* context);
// Clears the hook; TRUE when it had been consumed by a window.
BOOL ClearWindowCreationHook();
