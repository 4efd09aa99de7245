// MFC's CCriticalSection: a recursive lock of device threads. A thread blocked in Lock counts
// as stopped for SuspendThread, as in any platform wait.
#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/kernel/WinTypes.h"

class CCriticalSection {
public:
    CCriticalSection() = default;
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    // Blocks until the calling thread owns the section; the owner may lock it again, and
    // releases it with as many Unlock calls.
    BOOL Lock();
    // FALSE when the calling thread does not own the section.
    BOOL Unlock();

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    DWORD m_owner = 0; // thread id; 0 when free
    int m_depth = 0;
};
