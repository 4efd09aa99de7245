// Which top-level window of a thread is active, and where the focus goes when that changes.
// A top-level window remembers the last focused window inside it and gets it back when it is
// activated again (a closed dialog returns the focus to the control that had it before).
#pragma once

#include "platform/user/MessageQueue.h"
#include "platform/user/WindowManager.h"

// Lock held. Makes top the active window of q; returns the window that should now have the
// focus (null: leave the focus alone).
HWND ActivateLocked(WindowManager& wm, MessageQueue& q, WindowRecord& top);
// Lock held. The active window `leaving` is being hidden or destroyed: activates its owner or
// else the highest other visible, enabled top-level window of the thread. Returns the window
// that should get the focus; when there is none and the focus was inside `leaving`, the
// focus is cleared.
HWND ActivateNextLocked(WindowManager& wm, MessageQueue& q, WindowRecord& leaving);
