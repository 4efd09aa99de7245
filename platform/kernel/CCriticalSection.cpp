#include "platform/kernel/CCriticalSection.h"

#include "platform/kernel/ThreadControl.h"
#include "platform/kernel/ThreadObject.h"

BOOL CCriticalSection::Lock() {
    PlatformCheckpoint();
    const DWORD me = ThreadObject::Current()->Id();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_owner == 0 || m_owner == me) {
            m_owner = me;
            ++m_depth;
            return TRUE;
        }
    }
    // Blocking here is a platform wait: a suspended thread parks once it owns the section.
    ThreadControl::WaitScope scope;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait(lock, [this] { return m_owner == 0; });
    m_owner = me;
    m_depth = 1;
    return TRUE;
}

BOOL CCriticalSection::Unlock() {
    PlatformCheckpoint();
    const DWORD me = ThreadObject::Current()->Id();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_owner != me || m_depth == 0)
        return FALSE;
    if (--m_depth == 0) {
        m_owner = 0;
        m_cv.notify_one();
    }
    return TRUE;
}
