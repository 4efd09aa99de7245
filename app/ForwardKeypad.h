// The keypad's routing on the UI thread: a window-less WM_KEYPAD from the keypad thread is
// re-posted, once, to the window that has the keyboard focus.
#pragma once

#include "platform/user/WinUser.h"

// Does nothing unless msg is a WM_KEYPAD without a window. Otherwise posts WM_KEYPAD with the
// same key code and repeat count to the focused window; with no focused window the key press
// is dropped.
void ForwardKeypadMessage(const MSG* msg);
