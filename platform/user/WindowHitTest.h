// Which window a screen point falls on, as the stylus and WindowFromPoint see the window tree.
#pragma once

#include "platform/user/WindowManager.h"

// Lock held. The top-most shown top-level window whose rectangle holds the point (none when it
// is disabled), then down through its shown, enabled children, top first, whose rectangles hold
// the point within their parent's client area. Windows being destroyed count as hidden.
WindowRecord* WindowAtPointLocked(WindowManager& wm, POINT screen);
