// Window classes, creation and destruction, the window tree, geometry, styles and texts.
#include <algorithm>
#include <cwctype>
#include <string>

#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/user/Activation.h"
#include "platform/user/LockedWindow.h"
#include "platform/user/StylusInput.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowCreationHook.h"
#include "platform/user/WindowEvents.h"
#include "platform/user/WindowFrames.h"
#include "platform/user/WindowManager.h"

namespace {

struct CreationHookState {
    WindowCreationHook hook = nullptr;
    void* context = nullptr;
    bool consumed = false;
};
// Nested: a window made while another is being created (a frame making its view) sets a hook
// of its own over the outer one, which has been consumed by then.
thread_local std::vector<CreationHookState> t_creationHooks;

bool SameText(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
        return std::towlower(wint_t(x)) == std::towlower(wint_t(y));
    });
}

// Sends WM_DESTROY to the window, then destroys its children, then WM_NCDESTROY.
void SendDestroyMessages(HWND hwnd) {
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    if (LockedWindow w(hwnd); w)
        children = w->children;
    for (HWND child : children)
        SendDestroyMessages(child);
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
}

bool IsTopLevel(WindowManager& wm, const WindowRecord& w) {
    return !wm.Find(w.parent);
}

} // namespace

void SetWindowCreationHook(WindowCreationHook hook, void* context) {
    t_creationHooks.push_back(CreationHookState{hook, context, false});
}

BOOL ClearWindowCreationHook() {
    if (t_creationHooks.empty())
        return FALSE;
    const BOOL consumed = t_creationHooks.back().consumed;
    t_creationHooks.pop_back();
    return consumed;
}

// ---- Classes ---------------------------------------------------------------------------------

ATOM RegisterClass(const WNDCLASS* wndClass) {
    PlatformCheckpoint();
    if (!wndClass)
        return 0;
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    return wm.AddClass(*wndClass);
}

BOOL UnregisterClass(LPCTSTR className, HINSTANCE) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    return wm.RemoveClass(className) ? TRUE : FALSE;
}

BOOL GetClassInfo(HINSTANCE, LPCTSTR className, WNDCLASS* wndClass) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    const auto* cls = wm.FindClass(className);
    if (!cls || !wndClass)
        return FALSE;
    *wndClass = cls->wc;
    wndClass->lpszClassName = className;
    return TRUE;
}

int GetClassName(HWND hwnd, LPTSTR buffer, int maxCount) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w || !buffer || maxCount <= 0)
        return 0;
    int n = std::min<int>(int(w->className.size()), maxCount - 1);
    std::copy_n(w->className.begin(), n, buffer);
    buffer[n] = L'\0';
    return n;
}

// ---- Creation and destruction ----------------------------------------------------------------

HWND CreateWindowEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                    LPVOID param) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    HWND hwnd = nullptr;
    const bool child = (style & WS_CHILD) != 0;
    {
        std::lock_guard lock(wm.Mutex());
        const auto* cls = wm.FindClass(className);
        if (!cls)
            return nullptr;
        WindowRecord* parentRecord = wm.Find(parent);
        if (child ? !parentRecord : (parent && !parentRecord))
            return nullptr;
        auto record = std::make_unique<WindowRecord>();
        record->className = cls->name;
        record->proc = cls->wc.lpfnWndProc;
        record->classBrush = cls->wc.hbrBackground;
        record->extra.assign(std::size_t(std::max(0, cls->wc.cbWndExtra)) / sizeof(LONG_PTR), 0);
        record->threadId = GetCurrentThreadId();
        record->style = style & ~WS_VISIBLE; // shown after WM_CREATE, as the platform does
        record->exStyle = exStyle;
        record->text = windowName && !IS_INTRESOURCE(windowName) ? windowName : L"";
        if (child) {
            record->parent = parent;
            record->id = int(reinterpret_cast<std::intptr_t>(menuOrId));
        } else if (parentRecord) {
            record->owner = wm.TopLevelOf(parentRecord)->hwnd;
        }
        if (x == CW_USEDEFAULT) {
            x = 0;
            y = 0;
        }
        if (width == CW_USEDEFAULT) {
            width = child ? 0 : WindowManager::kScreenWidth;
            height = child ? 0 : WindowManager::kScreenHeight;
        }
        record->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
        wm.CurrentQueue();
        hwnd = wm.Insert(std::move(record));
    }

    if (!t_creationHooks.empty() && !t_creationHooks.back().consumed) {
        CreationHookState& pending = t_creationHooks.back();
        pending.consumed = true;
        pending.hook(hwnd, pending.context);
    }

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menuOrId;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = LONG(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (!SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
        SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd))
        return nullptr;

    RECT client;
    GetClientRect(hwnd, &client);
    SendMessage(hwnd, WM_SIZE, 0, MAKELPARAM(WORD(client.right), WORD(client.bottom)));
    SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(WORD(x), WORD(y)));
    if (LockedWindow w(hwnd); w)
        RecordWindowEvent("window.created", *w);
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::vector<HWND> owned;
    {
        LockedWindow w(hwnd);
        if (!w || w->destroying || w->threadId != GetCurrentThreadId())
            return FALSE;
        wm.ForEach([&](WindowRecord& r) {
            if (wm.IsDescendant(w.Get(), &r))
                r.destroying = true;
        });
        for (HWND top : wm.TopLevel())
            if (WindowRecord* o = wm.Find(top); o && o->owner == hwnd)
                owned.push_back(top);
    }
    for (HWND o : owned)
        DestroyWindow(o);

    bool wasActive = false;
    {
        LockedWindow w(hwnd);
        if (!w)
            return FALSE;
        if (w->style & WS_VISIBLE) {
            ClipRegion area = wm.VisibleRegion(*w, false, false);
            w->style &= ~WS_VISIBLE;
            wm.Expose(area);
        }
        wasActive = IsTopLevel(wm, *w) && wm.CurrentQueue().active == hwnd;
    }

    SendDestroyMessages(hwnd);

    HWND nextFocus = nullptr;
    {
        LockedWindow w(hwnd);
        if (!w)
            return TRUE;
        std::vector<WindowRecord*> subtree;
        wm.ForEach([&](WindowRecord& r) {
            if (wm.IsDescendant(w.Get(), &r))
                subtree.push_back(&r);
        });
        for (WindowRecord* r : subtree)
            RecordWindowEvent("window.destroyed", *r);
        MessageQueue& q = wm.CurrentQueue();
        if (wasActive)
            nextFocus = ActivateNextLocked(wm, q, *w);
        wm.Remove(hwnd);
    }
    if (nextFocus)
        SetFocus(nextFocus);
    return TRUE;
}

// ---- The tree --------------------------------------------------------------------------------

BOOL IsWindow(HWND hwnd) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    return wm.Find(hwnd) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    return w && w.Manager().VisibleChain(*w) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    PlatformCheckpoint();
    BOOL wasDisabled = FALSE;
    {
        LockedWindow w(hwnd);
        if (!w)
            return FALSE;
        wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
        if (wasDisabled == !enable)
            return wasDisabled;
        if (enable)
            w->style &= ~WS_DISABLED;
        else
            w->style |= WS_DISABLED;
    }
    SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    WindowRecord* p = wm.Find(parent);
    WindowRecord* w = wm.Find(hwnd);
    return p && w && w != p && wm.IsDescendant(p, w) ? TRUE : FALSE;
}

HWND GetParent(HWND hwnd) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w)
        return nullptr;
    if (w->style & WS_CHILD)
        return w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w)
        return nullptr;
    if (cmd == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    if (cmd == GW_OWNER)
        return w->owner;
    const std::vector<HWND>& list = w.Manager().Siblings(*w);
    auto it = std::find(list.begin(), list.end(), hwnd);
    switch (cmd) {
    case GW_HWNDFIRST:
        return list.front();
    case GW_HWNDLAST:
        return list.back();
    case GW_HWNDNEXT:
        return it + 1 < list.end() ? *(it + 1) : nullptr;
    case GW_HWNDPREV:
        return it > list.begin() ? *(it - 1) : nullptr;
    default:
        return nullptr;
    }
}

int GetDlgCtrlID(HWND hwnd) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    return w ? w->id : 0;
}

HWND GetDlgItem(HWND dialog, int id) {
    PlatformCheckpoint();
    LockedWindow d(dialog);
    if (!d)
        return nullptr;
    for (HWND child : d->children)
        if (WindowRecord* c = d.Manager().Find(child); c && c->id == id)
            return child;
    return nullptr;
}

HWND FindWindow(LPCTSTR className, LPCTSTR windowName) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    const auto* cls = className ? wm.FindClass(className) : nullptr;
    if (className && !cls)
        return nullptr;
    for (HWND top : wm.TopLevel()) {
        WindowRecord* w = wm.Find(top);
        if (cls && !SameText(w->className, cls->name))
            continue;
        if (windowName && !SameText(w->text, windowName))
            continue;
        return top;
    }
    return nullptr;
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w)
        return 0;
    if (processId)
        *processId = 1;
    return w->threadId;
}

// ---- Visibility and position -----------------------------------------------------------------

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    BOOL wasVisible = FALSE;
    const bool show = cmdShow != SW_HIDE;
    HWND focusTarget = nullptr;
    {
        LockedWindow w(hwnd);
        if (!w)
            return FALSE;
        wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
        if (bool(wasVisible) == show)
            return wasVisible;
        const bool ownThread = w->threadId == GetCurrentThreadId();
        if (show) {
            w->style |= WS_VISIBLE;
            if (wm.VisibleChain(*w))
                wm.InvalidateTree(*w);
            const bool activates = cmdShow != SW_SHOWNA && cmdShow != SW_SHOWNOACTIVATE;
            if (ownThread && activates && IsTopLevel(wm, *w) && !(w->style & WS_DISABLED))
                focusTarget = ActivateLocked(wm, wm.CurrentQueue(), *w);
        } else {
            ClipRegion area = wm.VisibleRegion(*w, false, false);
            w->style &= ~WS_VISIBLE;
            wm.Expose(area);
            if (ownThread && IsTopLevel(wm, *w) && wm.CurrentQueue().active == hwnd)
                focusTarget = ActivateNextLocked(wm, wm.CurrentQueue(), *w);
        }
    }
    if (show)
        PaintWindowFrames(hwnd);
    if (focusTarget)
        SetFocus(focusTarget);
    return wasVisible;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    bool clientChanged = false;
    bool moved = false;
    bool visibleNow = false;
    bool changed = false;
    HWND focusTarget = nullptr;
    RECT client;
    POINT position;
    {
        LockedWindow w(hwnd);
        if (!w)
            return FALSE;
        const bool wasVisible = wm.VisibleChain(*w);
        ClipRegion oldArea = wasVisible ? wm.VisibleRegion(*w, false, false) : ClipRegion();
        const RECT oldClient = WindowManager::ClientRectOf(*w);
        RECT r = w->rect;
        if (!(flags & SWP_NOMOVE)) {
            moved = r.left != x || r.top != y;
            r = ClipRegion::Offset(r, x - r.left, y - r.top);
        }
        if (!(flags & SWP_NOSIZE)) {
            r.right = r.left + std::max(0, cx);
            r.bottom = r.top + std::max(0, cy);
        }
        const bool resized = (r.right - r.left) != (w->rect.right - w->rect.left) ||
                             (r.bottom - r.top) != (w->rect.bottom - w->rect.top);
        w->rect = r;
        const bool restacked = !(flags & SWP_NOZORDER) && wm.Restack(*w, insertAfter);
        const bool ownVisibleBefore = (w->style & WS_VISIBLE) != 0;
        if (flags & SWP_SHOWWINDOW)
            w->style |= WS_VISIBLE;
        if (flags & SWP_HIDEWINDOW)
            w->style &= ~WS_VISIBLE;
        visibleNow = wm.VisibleChain(*w);
        changed =
            moved || resized || restacked || (flags & SWP_FRAMECHANGED) || wasVisible != visibleNow;
        if (changed && !(flags & SWP_NOREDRAW)) {
            wm.Expose(oldArea);
            if (visibleNow)
                wm.InvalidateTree(*w);
        }
        client = WindowManager::ClientRectOf(*w);
        clientChanged = client.right != oldClient.right || client.bottom != oldClient.bottom;
        position = POINT{r.left, r.top};
        const bool ownThread = w->threadId == GetCurrentThreadId();
        if (ownThread && IsTopLevel(wm, *w)) {
            MessageQueue& q = wm.CurrentQueue();
            const bool shown = !ownVisibleBefore && (w->style & WS_VISIBLE);
            if (shown && !(flags & SWP_NOACTIVATE) && !(w->style & WS_DISABLED))
                focusTarget = ActivateLocked(wm, q, *w);
            if (ownVisibleBefore && !(w->style & WS_VISIBLE) && q.active == hwnd)
                focusTarget = ActivateNextLocked(wm, q, *w);
        }
    }
    if (clientChanged)
        SendMessage(hwnd, WM_SIZE, 0, MAKELPARAM(WORD(client.right), WORD(client.bottom)));
    if (moved)
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(WORD(position.x), WORD(position.y)));
    if (visibleNow && changed && !(flags & SWP_NOREDRAW))
        PaintWindowFrames(hwnd);
    if (focusTarget)
        SetFocus(focusTarget);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = w.Manager().WindowScreenRect(*w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = WindowManager::ClientRectOf(*w);
    return TRUE;
}

namespace {

// Moves point by the screen position of hwnd's client area: sign +1 from client to screen
// coordinates, -1 back.
BOOL OffsetByClientOrigin(HWND hwnd, POINT* point, int sign) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w || !point)
        return FALSE;
    POINT origin = w.Manager().ClientOrigin(*w);
    point->x += sign * origin.x;
    point->y += sign * origin.y;
    return TRUE;
}

} // namespace

BOOL ClientToScreen(HWND hwnd, POINT* point) {
    return OffsetByClientOrigin(hwnd, point, +1);
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
    return OffsetByClientOrigin(hwnd, point, -1);
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    POINT a{}, b{};
    if (from) {
        WindowRecord* w = wm.Find(from);
        if (!w)
            return 0;
        a = wm.ClientOrigin(*w);
    }
    if (to) {
        WindowRecord* w = wm.Find(to);
        if (!w)
            return 0;
        b = wm.ClientOrigin(*w);
    }
    const LONG dx = a.x - b.x;
    const LONG dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(WORD(dx), WORD(dy));
}

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
        return WindowManager::kScreenWidth;
    case SM_CYSCREEN:
        return WindowManager::kScreenHeight;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return WindowManager::kDialogFrame;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return StylusInput::kDoubleTapSize;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
        return 13;
    default:
        return 0;
    }
}

// ---- Window longs and texts ------------------------------------------------------------------

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w)
        return 0;
    if (index >= 0) {
        const std::size_t slot = std::size_t(index) / sizeof(LONG_PTR);
        return slot < w->extra.size() ? w->extra[slot] : 0;
    }
    switch (index) {
    case GWL_STYLE:
        return LONG(w->style);
    case GWL_EXSTYLE:
        return LONG(w->exStyle);
    case GWL_ID:
        return w->id;
    case GWL_USERDATA:
        return w->userData;
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->proc);
    default:
        return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w)
        return 0;
    LONG_PTR previous = 0;
    if (index >= 0) {
        const std::size_t slot = std::size_t(index) / sizeof(LONG_PTR);
        if (slot >= w->extra.size())
            return 0;
        previous = w->extra[slot];
        w->extra[slot] = value;
        return previous;
    }
    switch (index) {
    case GWL_STYLE:
        previous = LONG(w->style);
        w->style = DWORD(value);
        break;
    case GWL_EXSTYLE:
        previous = LONG(w->exStyle);
        w->exStyle = DWORD(value);
        break;
    case GWL_ID:
        previous = w->id;
        w->id = int(value);
        break;
    case GWL_USERDATA:
        previous = w->userData;
        w->userData = value;
        break;
    case GWL_WNDPROC:
        if (!value)
            return 0;
        previous = reinterpret_cast<LONG_PTR>(w->proc);
        w->proc = reinterpret_cast<WNDPROC>(value);
        break;
    default:
        return 0;
    }
    return previous;
}

LONG GetWindowLong(HWND hwnd, int index) {
    // A procedure address does not fit in 32 bits on the host: GetWindowLongPtr serves it.
    return index == GWL_WNDPROC ? 0 : LONG(GetWindowLongPtr(hwnd, index));
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) {
    return index == GWL_WNDPROC ? 0 : LONG(SetWindowLongPtr(hwnd, index, value));
}

BOOL SetWindowText(HWND hwnd, LPCTSTR text) {
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L"")) ? TRUE
                                                                                         : FALSE;
}

int GetWindowText(HWND hwnd, LPTSTR buffer, int maxCount) {
    if (!buffer || maxCount <= 0)
        return 0;
    buffer[0] = L'\0';
    return int(SendMessage(hwnd, WM_GETTEXT, WPARAM(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) {
    return int(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetDlgItemText(HWND dialog, int id, LPCTSTR text) {
    HWND item = GetDlgItem(dialog, id);
    return item ? SetWindowText(item, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, LPTSTR buffer, int maxCount) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) {
        if (buffer && maxCount > 0)
            buffer[0] = L'\0';
        return 0;
    }
    return UINT(GetWindowText(item, buffer, maxCount));
}
