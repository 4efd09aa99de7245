// Device contexts: the window layer's screen contexts, memory contexts, colours, modes, clip.
#include <algorithm>
#include <utility>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiRegistry.h"
#include "platform/gdi/HandleWrappers.h"
#include "platform/kernel/ThreadControl.h"

namespace {

BOOL Release(HDC hdc) {
    PlatformCheckpoint();
    {
        std::lock_guard lock(GdiRegistry::Lock());
        if (!GdiRegistry::EraseDC(hdc)) {
            return FALSE;
        }
    }
    HandleWrappers::Forget(hdc);
    return TRUE;
}

} // namespace

HDC GdiCreateSurfaceDC(POINT origin, std::vector<RECT> clipScreenRects) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    return GdiRegistry::InsertDC(std::make_shared<DeviceContext>(origin, clipScreenRects));
}

BOOL GdiReleaseDC(HDC hdc) {
    return Release(hdc);
}

BOOL GdiSetSurfaceDC(HDC hdc, POINT origin, std::vector<RECT> clipScreenRects) {
    return WithDC(hdc, FALSE, [&](DeviceContext& dc) {
        if (!dc.IsScreen()) {
            return FALSE;
        }
        dc.SetSurface(origin, clipScreenRects);
        return TRUE;
    });
}

HDC CreateCompatibleDC(HDC hdc) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    // NULL asks for a context compatible with the screen.
    if (hdc && !GdiRegistry::GetDC(hdc)) {
        return nullptr;
    }
    return GdiRegistry::InsertDC(std::make_shared<DeviceContext>());
}

BOOL DeleteDC(HDC hdc) {
    return Release(hdc);
}

COLORREF SetTextColor(HDC hdc, COLORREF colour) {
    return WithDC(hdc, CLR_INVALID, [&](DeviceContext& dc) {
        return std::exchange(dc.textColour, colour & 0x00FFFFFF);
    });
}

COLORREF GetTextColor(HDC hdc) {
    return WithDC(hdc, CLR_INVALID, [](DeviceContext& dc) { return dc.textColour; });
}

COLORREF SetBkColor(HDC hdc, COLORREF colour) {
    return WithDC(hdc, CLR_INVALID, [&](DeviceContext& dc) {
        return std::exchange(dc.bkColour, colour & 0x00FFFFFF);
    });
}

COLORREF GetBkColor(HDC hdc) {
    return WithDC(hdc, CLR_INVALID, [](DeviceContext& dc) { return dc.bkColour; });
}

int SetBkMode(HDC hdc, int mode) {
    return WithDC(hdc, 0, [&](DeviceContext& dc) {
        if (mode != OPAQUE && mode != TRANSPARENT) {
            return 0;
        }
        return std::exchange(dc.bkMode, mode);
    });
}

int GetBkMode(HDC hdc) {
    return WithDC(hdc, 0, [](DeviceContext& dc) { return dc.bkMode; });
}

namespace {

int ClipKind(const DeviceContext& dc) {
    const std::size_t n = dc.Clip().size();
    return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

} // namespace

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    return WithDC(hdc, ERROR, [&](DeviceContext& dc) {
        const POINT o = dc.Origin();
        dc.IntersectClip(RECT{left + o.x, top + o.y, right + o.x, bottom + o.y});
        return ClipKind(dc);
    });
}

int GetClipBox(HDC hdc, LPRECT rect) {
    return WithDC(hdc, ERROR, [&](DeviceContext& dc) {
        if (!rect) {
            return ERROR;
        }
        RECT box{};
        bool first = true;
        for (const RECT& c : dc.Clip()) {
            if (first) {
                box = c;
                first = false;
            } else {
                box = RECT{std::min(box.left, c.left), std::min(box.top, c.top),
                           std::max(box.right, c.right), std::max(box.bottom, c.bottom)};
            }
        }
        const POINT o = dc.Origin();
        *rect =
            first ? RECT{} : RECT{box.left - o.x, box.top - o.y, box.right - o.x, box.bottom - o.y};
        return ClipKind(dc);
    });
}
