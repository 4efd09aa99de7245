// The kernel object of a thread: its id, priority, suspension control and exit code. Its
// handles signal when the thread has ended.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/kernel/KernelObject.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/ThreadControl.h"

class ThreadObject : public KernelObject {
public:
    // A new thread object with a fresh id, not yet joined to a running thread.
    explicit ThreadObject(int priority);

    // The value GetCurrentThread returns: it stands for the calling thread.
    static HANDLE PseudoHandle() { return reinterpret_cast<HANDLE>(std::intptr_t(-2)); }

    // The object of the calling thread. Threads the platform did not start (the process's main
    // thread, a test's thread) get one on first use; it is finished when that thread exits.
    static std::shared_ptr<ThreadObject> Current();
    // The thread object a handle names, or the caller's for the pseudo-handle; null if none.
    static std::shared_ptr<ThreadObject> FromHandle(HANDLE handle);
    // Makes object the calling thread's own and joins it to the thread's suspension control.
    // Called once by a new thread before it runs anything else.
    static void BecomeCurrent(std::shared_ptr<ThreadObject> object);

    DWORD Id() const { return m_id; }
    // The thread's suspension control; null until the thread has started running.
    std::shared_ptr<ThreadControl> Control() const;
    int Priority() const;
    void SetPriority(int priority);
    // STILL_ACTIVE until the thread has ended, then its exit code.
    DWORD ExitCode() const;

    // The thread has ended with code: its handles signal and suspending it returns at once.
    void Finish(DWORD code);

    bool TryAcquireLocked() override { return m_finished; }

private:
    const DWORD m_id;
    std::shared_ptr<ThreadControl> m_control; // guarded by the kernel lock
    int m_priority;                           // guarded by the kernel lock
    DWORD m_exitCode = STILL_ACTIVE;          // guarded by the kernel lock
    bool m_finished = false;                  // guarded by the kernel lock
};
