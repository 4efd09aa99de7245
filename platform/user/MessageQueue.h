// The message queue of one device thread: posted messages, messages sent to it by other
// threads, WM_QUIT, its timers and its focus. Guarded by the window manager's lock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "platform/user/WinUser.h"

class MessageQueue {
public:
    // A message sent by another thread; its sender waits until done.
    struct Sent {
        HWND hwnd = nullptr;
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        LRESULT result = 0;
        bool done = false;
        std::shared_ptr<MessageQueue> sender;
    };

    struct Timer {
        HWND hwnd = nullptr;
        UINT_PTR id = 0;
        UINT periodMs = 0;
        std::uint64_t dueUs = 0;
        TIMERPROC proc = nullptr;
    };

    explicit MessageQueue(DWORD threadId) : m_threadId(threadId) {}

    DWORD ThreadId() const { return m_threadId; }
    // Woken whenever something arrives for this thread or a message it sent is done.
    std::condition_variable& Condition() { return m_cv; }
    void Wake() { m_cv.notify_all(); }

    void Post(const MSG& msg);
    // The first posted message that passes the filter; removed when remove is set.
    bool TakePosted(MSG* msg, HWND filter, UINT min, UINT max, bool remove);
    bool HasPosted(HWND filter, UINT min, UINT max) const;

    void PushSent(std::shared_ptr<Sent> sent);
    std::shared_ptr<Sent> PopSent();
    bool HasSent() const { return !m_sent.empty(); }
    // The thread has ended: every message still waiting is done with result 0.
    void FailPendingSent();

    void PostQuit(int exitCode);
    bool QuitPending() const { return m_quit; }
    int QuitCode() const { return m_quitCode; }
    void ClearQuit() { m_quit = false; }

    // Sets or restarts the timer (hwnd, id). A window-less timer with id 0 gets a new id.
    UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT periodMs, TIMERPROC proc, std::uint64_t nowUs);
    bool KillTimer(HWND hwnd, UINT_PTR id);
    void KillTimersOf(HWND hwnd);
    bool HasTimer(HWND hwnd, UINT_PTR id, TIMERPROC proc) const;
    // The timer due first among those passing the filter; null when none is due at nowUs.
    const Timer* DueTimer(std::uint64_t nowUs, HWND filter) const;
    // Next period of a timer just delivered: one period after it was due, or after now if the
    // thread fell behind (missed periods are not caught up).
    void Reschedule(HWND hwnd, UINT_PTR id, std::uint64_t nowUs);
    std::uint64_t NextTimerDueUs(HWND filter) const;
    // Changes whenever a timer is set or killed, so a waiting thread re-reads its deadline.
    std::uint64_t TimerGeneration() const { return m_timerGeneration; }

    HWND focus = nullptr;
    HWND active = nullptr;
    bool ended = false;

private:
    Timer* FindTimer(HWND hwnd, UINT_PTR id);
    static bool Passes(const MSG& msg, HWND filter, UINT min, UINT max);

    DWORD m_threadId;
    std::condition_variable m_cv;
    std::deque<MSG> m_posted;
    std::deque<std::shared_ptr<Sent>> m_sent;
    bool m_quit = false;
    int m_quitCode = 0;
    std::vector<Timer> m_timers;
    UINT_PTR m_nextThreadTimerId = 1;
    std::uint64_t m_timerGeneration = 0;
};
