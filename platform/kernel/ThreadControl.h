// Cooperative suspension of device threads. A host thread cannot be stopped from outside, so
// every platform call is a checkpoint at which a suspended thread parks until it is resumed,
// and a thread blocked in a platform wait counts as stopped (it parks before the wait returns).
// SuspendThread therefore returns only once the target does nothing visible any more.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

class ThreadControl {
public:
    // The control block of the calling thread, made on first use (any host thread that calls
    // the platform gets one).
    static ThreadControl& Current();
    static std::shared_ptr<ThreadControl> CurrentShared();

    // Called by the owning thread at the start of every platform call, before it takes any
    // lock of the platform's: parks while the suspend count is above zero.
    void Checkpoint();

    // Increments the suspend count and returns the previous one. Unless the target is the
    // calling thread, returns only when the target is parked, blocked in a platform wait, or
    // has finished; meanwhile the caller itself counts as blocked in a platform wait. A thread
    // that suspends itself parks at once.
    int Suspend();
    // Decrements the suspend count (never below zero) and returns the previous one.
    int Resume();
    int SuspendCount() const;

    // Marks the owning thread as finished: suspension of it returns at once from then on.
    void MarkFinished();

    // RAII scope of a platform wait on the owning thread. While inside, the thread counts as
    // stopped for Suspend; leaving the scope parks the thread if it has been suspended.
    class WaitScope {
    public:
        WaitScope();
        ~WaitScope();
        WaitScope(const WaitScope&) = delete;
        WaitScope& operator=(const WaitScope&) = delete;

    private:
        ThreadControl& m_control;
    };

private:
    void ParkLocked(std::unique_lock<std::mutex>& lock);

    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_suspendCount = 0;
    bool m_parked = false;
    int m_waitDepth = 0;
    bool m_finished = false;
};

// The checkpoint of the calling thread; every platform entry point calls it first.
inline void PlatformCheckpoint() {
    ThreadControl::Current().Checkpoint();
}
