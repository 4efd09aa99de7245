// The handle tables of the drawing layer: GDI objects, icons and image lists in one table, device
// contexts in another, all guarded by one lock. Handles are never reused, so a stale handle
// fails cleanly instead of reaching a newer object.
#pragma once

#include <memory>
#include <mutex>

#include "platform/gdi/GdiObject.h"
#include "platform/kernel/ThreadControl.h"

class DeviceContext;

class GdiRegistry {
public:
    // The drawing layer's lock; every entry point holds it while it works. The framebuffer's
    // own lock is only ever taken inside it.
    static std::mutex& Lock();

    // The functions below expect Lock() to be held.
    static void* Insert(std::shared_ptr<GdiObject> object);
    static std::shared_ptr<GdiObject> Get(const void* handle);
    template <class T> static std::shared_ptr<T> GetAs(const void* handle) {
        return std::dynamic_pointer_cast<T>(Get(handle));
    }
    static void* HandleOf(const GdiObject* object);
    static bool Erase(const void* handle);

    static HDC InsertDC(std::shared_ptr<DeviceContext> dc);
    static std::shared_ptr<DeviceContext> GetDC(HDC hdc);
    static bool EraseDC(HDC hdc);

    // Stock objects live for the whole run under fixed handles. Besides those of GetStockObject
    // there is the 1 x 1 bitmap that a new memory context holds.
    static constexpr int kDefaultBitmap = 0x40;
    static std::shared_ptr<GdiObject> Stock(int index);
};

// A drawing entry point's work on one device context: f(dc) after the checkpoint and under the
// drawing lock; fallback when hdc is not a device context.
template <class R, class F> R WithDC(HDC hdc, R fallback, F&& f) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    const auto dc = GdiRegistry::GetDC(hdc);
    return dc ? f(*dc) : fallback;
}
