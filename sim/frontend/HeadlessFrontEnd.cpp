#include "sim/frontend/HeadlessFrontEnd.h"

void HeadlessFrontEnd::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait(lock, [this] { return m_stopped; });
}

void HeadlessFrontEnd::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopped = true;
    }
    m_cv.notify_all();
}
