// Update regions, WM_PAINT, and the device contexts of windows and of the screen.
#include "platform/gdi/WinGdi.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/user/LockedWindow.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowFrames.h"
#include "platform/user/WindowManager.h"

namespace {

// A screen context clipped to the window's visible area (client area or whole window).
HDC WindowDC(HWND hwnd, bool clientOnly) {
    auto& wm = WindowManager::Instance();
    POINT origin{};
    ClipRegion region;
    {
        LockedWindow w(hwnd);
        if (!w)
            return nullptr;
        if (clientOnly) {
            origin = wm.ClientOrigin(*w);
        } else {
            RECT r = wm.WindowScreenRect(*w);
            origin = POINT{r.left, r.top};
        }
        region = wm.VisibleRegion(*w, clientOnly, true);
    }
    return GdiCreateSurfaceDC(origin, region.Rects());
}

HDC ScreenDC() {
    return GdiCreateSurfaceDC(
        POINT{0, 0}, {RECT{0, 0, WindowManager::kScreenWidth, WindowManager::kScreenHeight}});
}

} // namespace

void PaintWindowFrames(HWND hwnd) {
    auto& wm = WindowManager::Instance();
    struct Frame {
        POINT origin;
        RECT rect;
        ClipRegion visible;
        bool dialogFrame;
    };
    std::vector<Frame> frames;
    {
        LockedWindow root(hwnd);
        if (!root)
            return;
        wm.ForEach([&](WindowRecord& w) {
            const LONG border = WindowManager::BorderOf(w);
            if (border == 0 || !wm.IsDescendant(root.Get(), &w))
                return;
            ClipRegion visible = wm.VisibleRegion(w, false, true);
            if (visible.IsEmpty())
                return;
            RECT r = wm.WindowScreenRect(w);
            frames.push_back(Frame{POINT{r.left, r.top},
                                   RECT{0, 0, r.right - r.left, r.bottom - r.top}, visible,
                                   border == WindowManager::kDialogFrame});
        });
    }
    for (const Frame& f : frames) {
        HDC hdc = GdiCreateSurfaceDC(f.origin, f.visible.Rects());
        if (f.dialogFrame) {
            RECT edge = f.rect;
            DrawEdge(hdc, &edge, EDGE_RAISED, BF_RECT);
        } else {
            FrameRect(hdc, &f.rect, GetSysColorBrush(COLOR_WINDOWFRAME));
        }
        GdiReleaseDC(hdc);
    }
}

BOOL InvalidateRect(HWND hwnd, LPCRECT rect, BOOL erase) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    WindowManager& wm = w.Manager();
    if (!hwnd) {
        // The whole screen: every window repaints.
        wm.ForEach([&](WindowRecord& r) { wm.Invalidate(r, nullptr, erase != FALSE); });
        return TRUE;
    }
    if (!w)
        return FALSE;
    wm.Invalidate(*w, rect, erase != FALSE);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, LPCRECT rect) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w)
        return FALSE;
    if (!rect) {
        w->update = RECT{};
        w->updateErase = false;
        return TRUE;
    }
    // The update region is kept as one rectangle: what is left of it is the bounds of the rest.
    ClipRegion rest(w->update);
    rest.Subtract(*rect);
    w->update = rest.Bounds();
    if (ClipRegion::IsEmpty(w->update))
        w->updateErase = false;
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w)
        return FALSE;
    if (rect)
        *rect = w->update;
    return ClipRegion::IsEmpty(w->update) ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    PlatformCheckpoint();
    {
        LockedWindow w(hwnd);
        if (!w)
            return FALSE;
        if (ClipRegion::IsEmpty(w->update) || !w.Manager().DrawableChain(*w))
            return TRUE;
    }
    SendMessage(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    PlatformCheckpoint();
    if (!paint)
        return nullptr;
    auto& wm = WindowManager::Instance();
    POINT origin{};
    ClipRegion region;
    RECT update{};
    bool erase = false;
    bool border = false;
    {
        LockedWindow w(hwnd);
        if (!w)
            return nullptr;
        update = w->update;
        erase = w->updateErase;
        w->update = RECT{};
        w->updateErase = false;
        origin = wm.ClientOrigin(*w);
        region = wm.VisibleRegion(*w, true, true);
        region.Intersect(ClipRegion::Offset(update, origin.x, origin.y));
        border = WindowManager::BorderOf(*w) != 0;
    }
    if (border)
        PaintWindowFrames(hwnd);
    *paint = PAINTSTRUCT{};
    paint->hdc = GdiCreateSurfaceDC(origin, region.Rects());
    paint->rcPaint = update;
    if (erase)
        paint->fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0)
                            ? FALSE
                            : TRUE;
    return paint->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    PlatformCheckpoint();
    if (!paint || !paint->hdc)
        return FALSE;
    GdiReleaseDC(paint->hdc);
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    PlatformCheckpoint();
    return hwnd ? WindowDC(hwnd, true) : ScreenDC();
}

HDC GetWindowDC(HWND hwnd) {
    PlatformCheckpoint();
    return hwnd ? WindowDC(hwnd, false) : ScreenDC();
}

int ReleaseDC(HWND, HDC hdc) {
    PlatformCheckpoint();
    return hdc && GdiReleaseDC(hdc) ? 1 : 0;
}
