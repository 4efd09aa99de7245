// The window manager's state: every window, the registered classes, the message queue of every
// thread and the menus, under one lock. The API functions (WindowApi, MessageApi, PaintApi) take
// the lock for their bookkeeping and call window procedures without it.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/gdi/Framebuffer.h"
#include "platform/user/ClipRegion.h"
#include "platform/user/MenuTable.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowRecord.h"

class WindowManager {
public:
    struct ClassRecord {
        std::wstring name;
        WNDCLASS wc;
        ATOM atom = 0;
    };

    static constexpr LONG kScreenWidth = Framebuffer::kWidth;
    static constexpr LONG kScreenHeight = Framebuffer::kHeight;

    static WindowManager& Instance();
    std::mutex& Mutex() { return m_mutex; }

    // ---- Everything below requires the lock. ----

    WindowRecord* Find(HWND hwnd);
    const ClassRecord* FindClass(LPCTSTR nameOrAtom) const;
    ATOM AddClass(const WNDCLASS& wc);
    bool RemoveClass(LPCTSTR name);

    // Links a new window into the tree: a child at the bottom of its siblings, a top-level
    // window at the top of its band (top-most windows stay above the others).
    HWND Insert(std::unique_ptr<WindowRecord> record);
    // Unlinks the window and forgets it; its handle stays invalid for good.
    void Remove(HWND hwnd);

    std::vector<HWND>& Siblings(const WindowRecord& w);
    const std::vector<HWND>& TopLevel() const { return m_topLevel; }
    // Moves w within its siblings: HWND_TOP, HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST or
    // after a given sibling. Returns true when the order changed.
    bool Restack(WindowRecord& w, HWND insertAfter);

    WindowRecord* TopLevelOf(WindowRecord* w);
    bool IsDescendant(const WindowRecord* ancestor, const WindowRecord* w);
    // Window and all ancestors have WS_VISIBLE.
    bool VisibleChain(const WindowRecord& w);
    // As VisibleChain, and none of them has redrawing turned off.
    bool DrawableChain(const WindowRecord& w);

    static RECT ClientRectOf(const WindowRecord& w); // from 0,0
    // The non-client frame on each side of a window: the double border of a modal dialog frame
    // (WS_EX_DLGMODALFRAME, which DS_MODALFRAME gives a dialog), else the one pixel of WS_BORDER.
    static constexpr LONG kDialogFrame = 2;
    static LONG BorderOf(const WindowRecord& w) {
        if (w.exStyle & WS_EX_DLGMODALFRAME)
            return kDialogFrame;
        return (w.style & WS_BORDER) ? 1 : 0;
    }
    RECT WindowScreenRect(const WindowRecord& w);
    POINT ClientOrigin(const WindowRecord& w); // screen position of the client area's 0,0
    RECT ClientScreenRect(const WindowRecord& w);

    // The part of the screen the window may draw on (screen coordinates): its client area
    // (or whole window) within every ancestor's client area, less the visible siblings above
    // it at every level and, when excludeChildren, its visible children.
    ClipRegion VisibleRegion(const WindowRecord& w, bool clientOnly, bool excludeChildren);

    // Adds rect (client coordinates; null: the whole client area) to the update region.
    void Invalidate(WindowRecord& w, const RECT* clientRect, bool erase);
    // The whole window and every visible descendant need painting (a window was shown/moved).
    void InvalidateTree(WindowRecord& w);
    // A window left this screen area: whatever is now visible there is repainted.
    void Expose(const ClipRegion& screenArea);

    // The next window of the thread that needs painting: top-level windows top first, a parent
    // before its children.
    HWND PaintCandidate(DWORD threadId, HWND filter);

    MessageQueue* Queue(DWORD threadId);
    std::shared_ptr<MessageQueue> QueueShared(DWORD threadId);
    // The calling thread's queue, made on first use; the thread's end is noticed.
    MessageQueue& CurrentQueue();
    std::shared_ptr<MessageQueue> CurrentQueueShared();
    void WakeOwner(const WindowRecord& w);

    // Runs fn on every window, parents before children, top-level windows top first.
    void ForEach(const std::function<void(WindowRecord&)>& fn);

    MenuTable& Menus() { return m_menus; }

    // Called when a thread that had a queue ends: messages it was sent fail with 0 and its
    // windows are removed without messages (the thread can no longer run their procedures).
    void ThreadEnded(DWORD threadId);

private:
    WindowManager() = default;
    void ForEachUnder(WindowRecord& w, const std::function<void(WindowRecord&)>& fn);

    std::mutex m_mutex;
    std::unordered_map<HWND, std::unique_ptr<WindowRecord>> m_windows;
    std::vector<HWND> m_topLevel;
    std::map<std::wstring, ClassRecord> m_classes; // by lower-case name
    ATOM m_nextAtom = 0xC000;
    std::uintptr_t m_nextHandle = 0x10010;
    std::unordered_map<DWORD, std::shared_ptr<MessageQueue>> m_queues;
    MenuTable m_menus;
};
