// Posting, sending and retrieving messages; timers.
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/user/LockedWindow.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowEvents.h"
#include "platform/user/WindowManager.h"

namespace {

// The device's keypad driver message (WM_USER + 10). Its deliveries to windows are logged so
// that a test driving the device from outside sees which window received a key.
constexpr UINT kKeypadMessage = WM_USER + 10;

DWORD TickCount() {
    return DWORD(DeviceClock::Instance().NowMs());
}

// Runs a message another thread sent to this one and lets the sender go on.
void DeliverSent(const std::shared_ptr<MessageQueue::Sent>& sent) {
    auto& wm = WindowManager::Instance();
    WNDPROC proc = nullptr;
    if (LockedWindow w(sent->hwnd); w)
        proc = w->proc;
    LRESULT result = proc ? proc(sent->hwnd, sent->message, sent->wParam, sent->lParam) : 0;
    std::lock_guard lock(wm.Mutex());
    sent->result = result;
    sent->done = true;
    if (sent->sender)
        sent->sender->Wake();
}

struct Filter {
    HWND hwnd;
    UINT min;
    UINT max;
    bool Allows(UINT message) const {
        return (min == 0 && max == 0) || (message >= min && message <= max);
    }
};

// Lock held: takes the next message in the platform's order (posted, WM_QUIT, WM_PAINT,
// WM_TIMER) without handling sent messages.
bool TakeNext(WindowManager& wm, MessageQueue& q, MSG* msg, const Filter& f, bool remove) {
    if (q.TakePosted(msg, f.hwnd, f.min, f.max, remove))
        return true;
    const std::uint64_t now = DeviceClock::Instance().NowUs();
    if (q.QuitPending() && f.Allows(WM_QUIT)) {
        *msg = MSG{nullptr, WM_QUIT, WPARAM(q.QuitCode()), 0, DWORD(now / 1000), {}};
        if (remove)
            q.ClearQuit();
        return true;
    }
    if (f.Allows(WM_PAINT)) {
        if (HWND paint = wm.PaintCandidate(q.ThreadId(), f.hwnd)) {
            *msg = MSG{paint, WM_PAINT, 0, 0, DWORD(now / 1000), {}};
            return true;
        }
    }
    if (f.Allows(WM_TIMER)) {
        if (const MessageQueue::Timer* t = q.DueTimer(now, f.hwnd)) {
            *msg = MSG{t->hwnd,           WM_TIMER, t->id, reinterpret_cast<LPARAM>(t->proc),
                       DWORD(now / 1000), {}};
            if (remove)
                q.Reschedule(t->hwnd, t->id, now);
            return true;
        }
    }
    return false;
}

// Handles every message sent to this thread, then tries to take one message. When there is
// none, returns false and the device time by which a timer falls due.
bool FetchOnce(MSG* msg, const Filter& f, bool remove, std::uint64_t* deadline,
               std::uint64_t* timerGeneration) {
    auto& wm = WindowManager::Instance();
    for (;;) {
        std::shared_ptr<MessageQueue::Sent> sent;
        {
            std::lock_guard lock(wm.Mutex());
            MessageQueue& q = wm.CurrentQueue();
            sent = q.PopSent();
            if (!sent) {
                if (TakeNext(wm, q, msg, f, remove))
                    return true;
                *deadline = q.NextTimerDueUs(f.hwnd);
                *timerGeneration = q.TimerGeneration();
                return false;
            }
        }
        DeliverSent(sent);
    }
}

} // namespace

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!hwnd)
        return PostThreadMessage(GetCurrentThreadId(), message, wParam, lParam);
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    if (!w)
        return FALSE;
    MessageQueue* q = w.Manager().Queue(w->threadId);
    if (!q || q->ended)
        return FALSE;
    q->Post(MSG{hwnd, message, wParam, lParam, TickCount(), {}});
    return TRUE;
}

BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    if (threadId == GetCurrentThreadId())
        wm.CurrentQueue();
    MessageQueue* q = wm.Queue(threadId);
    if (!q || q->ended)
        return FALSE;
    q->Post(MSG{nullptr, message, wParam, lParam, TickCount(), {}});
    return TRUE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    auto sent = std::make_shared<MessageQueue::Sent>();
    std::shared_ptr<MessageQueue> self;
    WNDPROC direct = nullptr;
    {
        LockedWindow w(hwnd);
        if (!w)
            return 0;
        if (w->threadId == GetCurrentThreadId()) {
            direct = w->proc;
        } else {
            MessageQueue* target = wm.Queue(w->threadId);
            if (!target || target->ended)
                return 0;
            self = wm.CurrentQueueShared();
            *sent = MessageQueue::Sent{hwnd, message, wParam, lParam, 0, false, self};
            target->PushSent(sent);
        }
    }
    if (direct)
        return direct(hwnd, message, wParam, lParam);
    // Wait for the owner; meanwhile run what other threads send to this one, so that two
    // threads sending to each other do not deadlock.
    for (;;) {
        std::shared_ptr<MessageQueue::Sent> incoming;
        {
            ThreadControl::WaitScope scope;
            std::unique_lock lock(wm.Mutex());
            DeviceClock::Instance().WaitUntil(lock, self->Condition(), DeviceClock::kNoDeadline,
                                              [&] { return sent->done || self->HasSent(); });
            if (sent->done)
                return sent->result;
            incoming = self->PopSent();
        }
        DeliverSent(incoming);
    }
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(dialog, id);
    return item ? SendMessage(item, message, wParam, lParam) : 0;
}

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    PlatformCheckpoint();
    if (!msg)
        return FALSE;
    std::uint64_t deadline = 0;
    std::uint64_t generation = 0;
    return FetchOnce(msg, Filter{hwnd, filterMin, filterMax}, (removeMsg & PM_REMOVE) != 0,
                     &deadline, &generation)
               ? TRUE
               : FALSE;
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    PlatformCheckpoint();
    if (!msg)
        return FALSE;
    auto& wm = WindowManager::Instance();
    auto& clock = DeviceClock::Instance();
    const Filter filter{hwnd, filterMin, filterMax};
    for (;;) {
        std::uint64_t deadline = DeviceClock::kNoDeadline;
        std::uint64_t generation = 0;
        if (FetchOnce(msg, filter, true, &deadline, &generation))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        // Sleep until something arrives or the next timer falls due (in manual time the
        // clock moves to that deadline), then look again.
        ThreadControl::WaitScope scope;
        std::unique_lock lock(wm.Mutex());
        MessageQueue& q = wm.CurrentQueue();
        clock.WaitUntil(lock, q.Condition(), deadline, [&] {
            return q.HasSent() || q.HasPosted(hwnd, filterMin, filterMax) || q.QuitPending() ||
                   q.TimerGeneration() != generation ||
                   wm.PaintCandidate(q.ThreadId(), hwnd) != nullptr ||
                   (deadline != DeviceClock::kNoDeadline && clock.NowUs() >= deadline);
        });
    }
}

BOOL TranslateMessage(const MSG*) {
    // No keyboard: nothing to translate into WM_CHAR on this device.
    return FALSE;
}

LRESULT DispatchMessage(const MSG* msg) {
    PlatformCheckpoint();
    if (!msg)
        return 0;
    auto& wm = WindowManager::Instance();
    if (msg->message == WM_TIMER && msg->lParam) {
        // Only the procedure of a live timer is called, never an address from a forged message.
        TIMERPROC proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        {
            LockedWindow w(msg->hwnd);
            MessageQueue* q = w ? wm.Queue(w->threadId) : &wm.CurrentQueue();
            if ((msg->hwnd && !w) || !q || !q->HasTimer(msg->hwnd, UINT_PTR(msg->wParam), proc))
                return 0;
        }
        proc(msg->hwnd, WM_TIMER, UINT_PTR(msg->wParam), TickCount());
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    WNDPROC proc = nullptr;
    {
        LockedWindow w(msg->hwnd);
        if (!w)
            return 0;
        proc = w->proc;
        if (msg->message == kKeypadMessage)
            RecordKeypadDelivery(*w, msg->wParam, msg->lParam);
    }
    return proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode) {
    PlatformCheckpoint();
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    wm.CurrentQueue().PostQuit(exitCode);
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    MessageQueue* q = nullptr;
    if (hwnd) {
        if (!w)
            return 0;
        q = w.Manager().Queue(w->threadId);
    } else {
        q = &w.Manager().CurrentQueue();
    }
    if (!q || q->ended)
        return 0;
    UINT_PTR given = q->SetTimer(hwnd, id, elapseMs, proc, DeviceClock::Instance().NowUs());
    return hwnd ? (id ? id : 1) : given;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    PlatformCheckpoint();
    LockedWindow w(hwnd);
    MessageQueue* q = nullptr;
    if (hwnd) {
        if (!w)
            return FALSE;
        q = w.Manager().Queue(w->threadId);
    } else {
        q = &w.Manager().CurrentQueue();
    }
    return q && q->KillTimer(hwnd, id) ? TRUE : FALSE;
}
