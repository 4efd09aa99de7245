#include "platform/kernel/ThreadControl.h"

namespace {
thread_local std::shared_ptr<ThreadControl> t_control;
} // namespace

std::shared_ptr<ThreadControl> ThreadControl::CurrentShared() {
    if (!t_control)
        t_control = std::make_shared<ThreadControl>();
    return t_control;
}

ThreadControl& ThreadControl::Current() {
    return *CurrentShared();
}

void ThreadControl::ParkLocked(std::unique_lock<std::mutex>& lock) {
    while (m_suspendCount > 0) {
        m_parked = true;
        m_cv.notify_all();
        m_cv.wait(lock);
    }
    m_parked = false;
}

void ThreadControl::Checkpoint() {
    std::unique_lock<std::mutex> lock(m_mutex);
    ParkLocked(lock);
}

int ThreadControl::Suspend() {
    if (this == t_control.get()) {
        std::unique_lock<std::mutex> lock(m_mutex);
        const int previous = m_suspendCount++;
        ParkLocked(lock);
        return previous;
    }
    // Waiting for the target is itself a platform wait: a third thread (or the target) that
    // suspends the caller meanwhile must not wait for the target to stop.
    WaitScope scope;
    std::unique_lock<std::mutex> lock(m_mutex);
    const int previous = m_suspendCount++;
    m_cv.wait(lock, [this] { return m_parked || m_waitDepth > 0 || m_finished; });
    return previous;
}

int ThreadControl::Resume() {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int previous = m_suspendCount;
    if (m_suspendCount > 0)
        --m_suspendCount;
    m_cv.notify_all();
    return previous;
}

int ThreadControl::SuspendCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_suspendCount;
}

void ThreadControl::MarkFinished() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_finished = true;
    m_cv.notify_all();
}

ThreadControl::WaitScope::WaitScope() : m_control(Current()) {
    std::unique_lock<std::mutex> lock(m_control.m_mutex);
    m_control.ParkLocked(lock);
    ++m_control.m_waitDepth;
    m_control.m_cv.notify_all();
}

ThreadControl::WaitScope::~WaitScope() {
    std::unique_lock<std::mutex> lock(m_control.m_mutex);
    --m_control.m_waitDepth;
    m_control.ParkLocked(lock);
}
