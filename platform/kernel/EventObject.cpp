#include "platform/kernel/EventObject.h"

void EventObject::Set() {
    std::lock_guard<std::mutex> lock(Lock());
    m_signalled = true;
    NotifyAllLocked();
}

void EventObject::Reset() {
    std::lock_guard<std::mutex> lock(Lock());
    m_signalled = false;
}

void EventObject::Pulse() {
    std::lock_guard<std::mutex> lock(Lock());
    m_signalled = false;
    if (m_waiters == 0)
        return;
    ++m_pulses;
    m_pulseReleases = m_manualReset ? m_waiters : 1;
    NotifyAllLocked();
}

bool EventObject::TryAcquireLocked() {
    if (!m_signalled)
        return false;
    if (!m_manualReset)
        m_signalled = false;
    return true;
}

std::uint64_t EventObject::BeginWaitLocked() {
    ++m_waiters;
    return m_pulses;
}

bool EventObject::TryAcquireLocked(std::uint64_t waitingSince) {
    if (TryAcquireLocked())
        return true;
    if (m_pulseReleases == 0 || waitingSince == m_pulses)
        return false;
    --m_pulseReleases;
    return true;
}

void EventObject::EndWaitLocked() {
    --m_waiters;
}
