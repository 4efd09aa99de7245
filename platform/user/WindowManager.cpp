#include "platform/user/WindowManager.h"

#include <algorithm>
#include <cwctype>
#include <optional>

#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/user/BuiltinClasses.h"
#include "platform/user/WindowEvents.h"

namespace {

std::wstring Folded(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded)
        c = wchar_t(std::towlower(wint_t(c)));
    return folded;
}

// Tells the window manager when a thread that used it ends.
class QueueOwner {
public:
    explicit QueueOwner(DWORD threadId) : m_threadId(threadId) {}
    ~QueueOwner() { WindowManager::Instance().ThreadEnded(m_threadId); }
    QueueOwner(const QueueOwner&) = delete;
    QueueOwner& operator=(const QueueOwner&) = delete;

private:
    DWORD m_threadId;
};
thread_local std::optional<QueueOwner> t_queueOwner;

} // namespace

WindowManager& WindowManager::Instance() {
    // Never destroyed: threads may end (and report here) during process exit.
    static WindowManager* instance = [] {
        auto* wm = new WindowManager();
        RegisterBuiltinClasses(*wm);
        return wm;
    }();
    return *instance;
}

WindowRecord* WindowManager::Find(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end())
        return nullptr;
    return it->second.get();
}

const WindowManager::ClassRecord* WindowManager::FindClass(LPCTSTR nameOrAtom) const {
    if (!nameOrAtom)
        return nullptr;
    if (IS_INTRESOURCE(nameOrAtom)) {
        ATOM atom = ATOM(reinterpret_cast<std::uintptr_t>(nameOrAtom));
        for (const auto& [key, cls] : m_classes)
            if (cls.atom == atom)
                return &cls;
        return nullptr;
    }
    auto it = m_classes.find(Folded(nameOrAtom));
    return it == m_classes.end() ? nullptr : &it->second;
}

ATOM WindowManager::AddClass(const WNDCLASS& wc) {
    if (!wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || !wc.lpfnWndProc)
        return 0;
    std::wstring key = Folded(wc.lpszClassName);
    if (m_classes.count(key))
        return 0;
    ClassRecord cls{wc.lpszClassName, wc, m_nextAtom++};
    cls.wc.lpszClassName = nullptr; // the record keeps its own copy of the name
    cls.wc.lpszMenuName = nullptr;
    m_classes.emplace(key, std::move(cls));
    return m_classes[key].atom;
}

bool WindowManager::RemoveClass(LPCTSTR name) {
    const ClassRecord* cls = FindClass(name);
    if (!cls)
        return false;
    for (const auto& [hwnd, w] : m_windows)
        if (Folded(w->className) == Folded(cls->name))
            return false; // a class with windows stays registered
    m_classes.erase(Folded(cls->name));
    return true;
}

HWND WindowManager::Insert(std::unique_ptr<WindowRecord> record) {
    HWND hwnd = reinterpret_cast<HWND>(m_nextHandle);
    m_nextHandle += 4;
    record->hwnd = hwnd;
    WindowRecord& w = *record;
    m_windows.emplace(hwnd, std::move(record));
    if (WindowRecord* parent = Find(w.parent)) {
        parent->children.push_back(hwnd);
    } else {
        m_topLevel.insert(m_topLevel.begin(), hwnd);
        Restack(w, (w.exStyle & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_TOP);
    }
    return hwnd;
}

void WindowManager::Remove(HWND hwnd) {
    WindowRecord* w = Find(hwnd);
    if (!w)
        return;
    std::erase(Siblings(*w), hwnd);
    for (HWND child : std::vector<HWND>(w->children))
        Remove(child);
    for (auto& [id, q] : m_queues) {
        q->KillTimersOf(hwnd);
        if (q->focus == hwnd)
            q->focus = nullptr;
        if (q->active == hwnd)
            q->active = nullptr;
    }
    for (auto& [h, other] : m_windows) {
        if (other->owner == hwnd)
            other->owner = nullptr;
        if (other->lastFocus == hwnd)
            other->lastFocus = nullptr;
    }
    m_windows.erase(hwnd);
}

std::vector<HWND>& WindowManager::Siblings(const WindowRecord& w) {
    if (WindowRecord* parent = Find(w.parent))
        return parent->children;
    return m_topLevel;
}

bool WindowManager::Restack(WindowRecord& w, HWND insertAfter) {
    std::vector<HWND>& list = Siblings(w);
    std::vector<HWND> before = list;
    std::erase(list, w.hwnd);
    const bool topLevel = !Find(w.parent);
    auto isTopMost = [&](HWND h) {
        WindowRecord* r = Find(h);
        return r && (r->exStyle & WS_EX_TOPMOST);
    };
    if (topLevel && insertAfter == HWND_TOPMOST)
        w.exStyle |= WS_EX_TOPMOST;
    if (topLevel && insertAfter == HWND_NOTOPMOST)
        w.exStyle &= ~WS_EX_TOPMOST;

    auto pos = list.end();
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        // Top of the window's band: a top-level window that is not top-most goes below the
        // top-most ones; children have one band.
        pos = list.begin();
        if (topLevel && !(w.exStyle & WS_EX_TOPMOST))
            pos = std::find_if_not(list.begin(), list.end(), isTopMost);
    } else if (insertAfter == HWND_BOTTOM) {
        pos = list.end();
    } else {
        auto it = std::find(list.begin(), list.end(), insertAfter);
        pos = it == list.end() ? list.begin() : it + 1;
    }
    list.insert(pos, w.hwnd);
    return list != before;
}

WindowRecord* WindowManager::TopLevelOf(WindowRecord* w) {
    while (w && Find(w->parent))
        w = Find(w->parent);
    return w;
}

bool WindowManager::IsDescendant(const WindowRecord* ancestor, const WindowRecord* w) {
    for (; w; w = Find(w->parent))
        if (w == ancestor)
            return true;
    return false;
}

bool WindowManager::VisibleChain(const WindowRecord& w) {
    for (const WindowRecord* r = &w; r; r = Find(r->parent))
        if (!(r->style & WS_VISIBLE))
            return false;
    return true;
}

bool WindowManager::DrawableChain(const WindowRecord& w) {
    for (const WindowRecord* r = &w; r; r = Find(r->parent))
        if (!(r->style & WS_VISIBLE) || !r->redraw)
            return false;
    return true;
}

RECT WindowManager::ClientRectOf(const WindowRecord& w) {
    LONG b = BorderOf(w);
    LONG width = std::max<LONG>(0, w.rect.right - w.rect.left - 2 * b);
    LONG height = std::max<LONG>(0, w.rect.bottom - w.rect.top - 2 * b);
    return RECT{0, 0, width, height};
}

POINT WindowManager::ClientOrigin(const WindowRecord& w) {
    POINT origin{w.rect.left + BorderOf(w), w.rect.top + BorderOf(w)};
    if (WindowRecord* parent = Find(w.parent)) {
        POINT p = ClientOrigin(*parent);
        origin.x += p.x;
        origin.y += p.y;
    }
    return origin;
}

RECT WindowManager::WindowScreenRect(const WindowRecord& w) {
    if (WindowRecord* parent = Find(w.parent)) {
        POINT p = ClientOrigin(*parent);
        return ClipRegion::Offset(w.rect, p.x, p.y);
    }
    return w.rect;
}

RECT WindowManager::ClientScreenRect(const WindowRecord& w) {
    POINT origin = ClientOrigin(w);
    return ClipRegion::Offset(ClientRectOf(w), origin.x, origin.y);
}

ClipRegion WindowManager::VisibleRegion(const WindowRecord& w, bool clientOnly,
                                        bool excludeChildren) {
    if (!DrawableChain(w))
        return ClipRegion();
    ClipRegion region(clientOnly ? ClientScreenRect(w) : WindowScreenRect(w));
    region.Intersect(RECT{0, 0, kScreenWidth, kScreenHeight});
    for (const WindowRecord* level = &w; level; level = Find(level->parent)) {
        if (WindowRecord* parent = Find(level->parent))
            region.Intersect(ClientScreenRect(*parent));
        for (HWND sibling : Siblings(*level)) {
            if (sibling == level->hwnd)
                break;
            WindowRecord* s = Find(sibling);
            if (s && (s->style & WS_VISIBLE))
                region.Subtract(WindowScreenRect(*s));
        }
    }
    // A child shows only inside the client area: a child reaching past it hides none of the
    // frame.
    if (excludeChildren)
        for (HWND child : w.children) {
            WindowRecord* c = Find(child);
            if (c && (c->style & WS_VISIBLE))
                region.Subtract(
                    ClipRegion::Intersection(WindowScreenRect(*c), ClientScreenRect(w)));
        }
    return region;
}

void WindowManager::Invalidate(WindowRecord& w, const RECT* clientRect, bool erase) {
    RECT client = ClientRectOf(w);
    RECT area = clientRect ? ClipRegion::Intersection(*clientRect, client) : client;
    if (ClipRegion::IsEmpty(area))
        return;
    w.update = ClipRegion::Union(w.update, area);
    w.updateErase = w.updateErase || erase;
    WakeOwner(w);
}

void WindowManager::InvalidateTree(WindowRecord& w) {
    Invalidate(w, nullptr, true);
    for (HWND child : w.children)
        if (WindowRecord* c = Find(child); c && (c->style & WS_VISIBLE))
            InvalidateTree(*c);
}

void WindowManager::Expose(const ClipRegion& screenArea) {
    if (screenArea.IsEmpty())
        return;
    ForEach([&](WindowRecord& w) {
        ClipRegion visible = VisibleRegion(w, true, true);
        visible.Intersect(screenArea);
        if (visible.IsEmpty())
            return;
        POINT origin = ClientOrigin(w);
        RECT area = ClipRegion::Offset(visible.Bounds(), -origin.x, -origin.y);
        Invalidate(w, &area, true);
    });
}

HWND WindowManager::PaintCandidate(DWORD threadId, HWND filter) {
    HWND found = nullptr;
    ForEach([&](WindowRecord& w) {
        if (found || w.threadId != threadId || (filter && w.hwnd != filter))
            return;
        if (!ClipRegion::IsEmpty(w.update) && DrawableChain(w))
            found = w.hwnd;
    });
    return found;
}

MessageQueue* WindowManager::Queue(DWORD threadId) {
    auto it = m_queues.find(threadId);
    return it == m_queues.end() ? nullptr : it->second.get();
}

std::shared_ptr<MessageQueue> WindowManager::QueueShared(DWORD threadId) {
    auto it = m_queues.find(threadId);
    return it == m_queues.end() ? nullptr : it->second;
}

MessageQueue& WindowManager::CurrentQueue() {
    return *CurrentQueueShared();
}

std::shared_ptr<MessageQueue> WindowManager::CurrentQueueShared() {
    DWORD tid = GetCurrentThreadId();
    auto it = m_queues.find(tid);
    if (it != m_queues.end())
        return it->second;
    auto queue = std::make_shared<MessageQueue>(tid);
    m_queues.emplace(tid, queue);
    t_queueOwner.emplace(tid);
    return queue;
}

void WindowManager::WakeOwner(const WindowRecord& w) {
    if (MessageQueue* q = Queue(w.threadId))
        q->Wake();
}

void WindowManager::ForEachUnder(WindowRecord& w, const std::function<void(WindowRecord&)>& fn) {
    fn(w);
    for (HWND child : std::vector<HWND>(w.children))
        if (WindowRecord* c = Find(child))
            ForEachUnder(*c, fn);
}

void WindowManager::ForEach(const std::function<void(WindowRecord&)>& fn) {
    for (HWND top : std::vector<HWND>(m_topLevel))
        if (WindowRecord* w = Find(top))
            ForEachUnder(*w, fn);
}

void WindowManager::ThreadEnded(DWORD threadId) {
    std::lock_guard lock(m_mutex);
    auto queue = QueueShared(threadId);
    if (!queue)
        return;
    queue->ended = true;
    queue->FailPendingSent();
    m_menus.SetOpen(threadId, {});
    std::vector<HWND> roots;
    ForEach([&](WindowRecord& w) {
        if (w.threadId == threadId && !(Find(w.parent) && Find(w.parent)->threadId == threadId))
            roots.push_back(w.hwnd);
    });
    for (HWND root : roots) {
        WindowRecord* w = Find(root);
        if (!w)
            continue;
        ClipRegion area = VisibleRegion(*w, false, false);
        ForEachUnder(*w, [](WindowRecord& r) { RecordWindowEvent("window.destroyed", r); });
        Remove(root);
        Expose(area);
    }
    m_queues.erase(threadId);
}
