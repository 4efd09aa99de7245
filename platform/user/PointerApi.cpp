// The stylus's calls: the touch screen's reports, hit testing and the capture.
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/user/StylusInput.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowHitTest.h"
#include "platform/user/WindowManager.h"

UINT SendInput(UINT count, LPINPUT inputs, int cbSize) {
    PlatformCheckpoint();
    if (!inputs || cbSize != int(sizeof(INPUT)))
        return 0;
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    UINT taken = 0;
    for (; taken < count && inputs[taken].type == INPUT_MOUSE; ++taken) {
        const MOUSEINPUT& mi = inputs[taken].mi;
        const DWORD time = mi.time ? mi.time : DWORD(DeviceClock::Instance().NowMs());
        StylusInput::Instance().Report(wm, mi, time);
    }
    return taken;
}

HWND WindowFromPoint(POINT point) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    WindowRecord* w = WindowAtPointLocked(wm, point);
    return w ? w->hwnd : nullptr;
}

HWND SetCapture(HWND hwnd) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    StylusInput& stylus = StylusInput::Instance();
    const HWND previous = stylus.Capture(wm);
    const WindowRecord* w = wm.Find(hwnd);
    if (!w || w->destroying || w->threadId != GetCurrentThreadId())
        return nullptr;
    stylus.SetCapture(hwnd);
    return previous;
}

BOOL ReleaseCapture() {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    StylusInput& stylus = StylusInput::Instance();
    const WindowRecord* holder = wm.Find(stylus.Capture(wm));
    if (holder && holder->threadId != GetCurrentThreadId())
        return FALSE;
    stylus.SetCapture(nullptr);
    return TRUE;
}

HWND GetCapture() {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    const WindowRecord* holder = wm.Find(StylusInput::Instance().Capture(wm));
    return holder && holder->threadId == GetCurrentThreadId() ? holder->hwnd : nullptr;
}

UINT GetDoubleClickTime() {
    return StylusInput::kDoubleTapMs;
}
