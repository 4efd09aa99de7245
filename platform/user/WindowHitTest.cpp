#include "platform/user/WindowHitTest.h"

namespace {

bool Holds(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool Shown(const WindowRecord& w) {
    return (w.style & WS_VISIBLE) && !w.destroying;
}

// The deepest child of w under the point. A disabled child takes no stylus input and is passed
// over: the point reaches whatever lies beneath it.
WindowRecord* Descend(WindowManager& wm, WindowRecord& w, POINT screen) {
    if (!Holds(wm.ClientScreenRect(w), screen))
        return &w; // on its frame
    for (HWND child : w.children) {
        WindowRecord* c = wm.Find(child);
        if (c && Shown(*c) && !(c->style & WS_DISABLED) && Holds(wm.WindowScreenRect(*c), screen))
            return Descend(wm, *c, screen);
    }
    return &w;
}

} // namespace

WindowRecord* WindowAtPointLocked(WindowManager& wm, POINT screen) {
    for (HWND top : wm.TopLevel()) {
        WindowRecord* w = wm.Find(top);
        if (!w || !Shown(*w) || !Holds(wm.WindowScreenRect(*w), screen))
            continue;
        // A disabled top-level window (the owner of a modal dialog) covers what is beneath it
        // and takes no input, nor do its children.
        if (w->style & WS_DISABLED)
            return nullptr;
        return Descend(wm, *w, screen);
    }
    return nullptr;
}
