// Keyboard focus and the active window of each thread.
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/user/Activation.h"
#include "platform/user/LockedWindow.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowManager.h"

namespace {

// A window can take the focus when it exists, belongs to the thread, is itself shown and is
// enabled. A shown control inside a parent that is not shown yet qualifies: dialogs and forms
// set their focus while they are still hidden.
bool CanTakeFocus(const WindowRecord& w, DWORD threadId) {
    return w.threadId == threadId && (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED);
}

} // namespace

HWND ActivateLocked(WindowManager& wm, MessageQueue& q, WindowRecord& top) {
    q.active = top.hwnd;
    WindowRecord* focus = wm.Find(q.focus);
    if (focus && wm.IsDescendant(&top, focus))
        return nullptr;
    WindowRecord* remembered = wm.Find(top.lastFocus);
    if (remembered && wm.IsDescendant(&top, remembered) && CanTakeFocus(*remembered, q.ThreadId()))
        return remembered->hwnd;
    return top.hwnd;
}

HWND ActivateNextLocked(WindowManager& wm, MessageQueue& q, WindowRecord& leaving) {
    auto eligible = [&](WindowRecord* w) {
        return w && w != &leaving && w->threadId == q.ThreadId() && !w->destroying &&
               (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED);
    };
    WindowRecord* next = wm.Find(leaving.owner);
    if (!eligible(next)) {
        next = nullptr;
        for (HWND top : wm.TopLevel())
            if (WindowRecord* w = wm.Find(top); eligible(w)) {
                next = w;
                break;
            }
    }
    if (next)
        return ActivateLocked(wm, q, *next);
    q.active = nullptr;
    if (WindowRecord* focus = wm.Find(q.focus); focus && wm.IsDescendant(&leaving, focus))
        q.focus = nullptr;
    return nullptr;
}

HWND SetFocus(HWND hwnd) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    const DWORD tid = GetCurrentThreadId();
    HWND previous = nullptr;
    {
        std::lock_guard lock(wm.Mutex());
        MessageQueue& q = wm.CurrentQueue();
        previous = wm.Find(q.focus) ? q.focus : nullptr;
        if (hwnd) {
            WindowRecord* w = wm.Find(hwnd);
            if (!w || w->destroying || !CanTakeFocus(*w, tid))
                return nullptr;
        }
        if (previous == hwnd)
            return previous;
    }
    if (previous)
        SendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    {
        LockedWindow w(hwnd);
        MessageQueue& q = wm.CurrentQueue();
        if (hwnd && !w)
            return nullptr; // destroyed while the old focus let go
        q.focus = hwnd;
        if (w) {
            WindowRecord* top = wm.TopLevelOf(w.Get());
            top->lastFocus = hwnd;
            q.active = top->hwnd;
        }
    }
    if (hwnd)
        SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetFocus() {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    MessageQueue& q = wm.CurrentQueue();
    return wm.Find(q.focus) ? q.focus : nullptr;
}

HWND GetActiveWindow() {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    MessageQueue& q = wm.CurrentQueue();
    return wm.Find(q.active) ? q.active : nullptr;
}
