#include "platform/kernel/DeviceClock.h"

#include <ctime>
#include <thread>

namespace {

// The host's local wall time as milliseconds since 1970, counted as if it were UTC.
std::int64_t HostLocalWallMs() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t secs = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&secs, &local);
    const std::int64_t ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    return std::int64_t(timegm(&local)) * 1000 + ms;
}

} // namespace

DeviceClock& DeviceClock::Instance() {
    static DeviceClock clock;
    return clock;
}

DeviceClock::DeviceClock()
    : m_hostBase(std::chrono::steady_clock::now()), m_localEpochMs(HostLocalWallMs()) {}

std::uint64_t DeviceClock::NowUs() const {
    if (IsManual())
        return m_manualUs.load(std::memory_order_acquire);
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto elapsed = std::chrono::steady_clock::now() - m_hostBase;
    const double us =
        double(std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count()) / 1000.0 *
        m_speed;
    return m_baseUs + std::uint64_t(us);
}

void DeviceClock::SetScaled(double speed) {
    const std::uint64_t now = NowUs();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_baseUs = now;
    m_hostBase = std::chrono::steady_clock::now();
    m_speed = speed > 0 ? speed : 1.0;
    m_manual.store(false, std::memory_order_release);
}

void DeviceClock::SetManual() {
    const std::uint64_t now = NowUs();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_manualUs.store(now, std::memory_order_release);
    m_manual.store(true, std::memory_order_release);
}

double DeviceClock::Speed() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_speed;
}

std::chrono::steady_clock::time_point DeviceClock::HostTimeFor(std::uint64_t us) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const double hostNs = double(us > m_baseUs ? us - m_baseUs : 0) * 1000.0 / m_speed;
    return m_hostBase + std::chrono::nanoseconds(std::int64_t(hostNs));
}

void DeviceClock::SleepUs(std::uint64_t us) {
    if (IsManual()) {
        AdvanceTo(NowUs() + us);
        return;
    }
    if (us == 0) {
        std::this_thread::yield();
        return;
    }
    const std::uint64_t deadline = NowUs() + us;
    std::this_thread::sleep_until(HostTimeFor(deadline));
    // sleep_until may wake a hair early on some hosts; device time must have passed.
    while (NowUs() < deadline)
        std::this_thread::yield();
}

void DeviceClock::Yield() {
    if (!IsManual()) {
        std::this_thread::yield();
        return;
    }
    std::uint64_t target = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const std::uint64_t now = m_manualUs.load();
        m_deadlines.erase(m_deadlines.begin(), m_deadlines.upper_bound(now));
        if (m_deadlines.empty())
            return;
        target = *m_deadlines.begin();
        m_deadlines.erase(m_deadlines.begin());
    }
    AdvanceTo(target);
}

void DeviceClock::AdvanceTo(std::uint64_t us) {
    std::uint64_t cur = m_manualUs.load();
    while (cur < us && !m_manualUs.compare_exchange_weak(cur, us)) {
    }
}

void DeviceClock::NoteDeadline(std::uint64_t us) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_deadlines.insert(us);
}

std::int64_t DeviceClock::LocalMs() const {
    return m_localEpochMs + m_localOffsetMs.load() + std::int64_t(NowMs());
}

void DeviceClock::SetLocalMs(std::int64_t localMs) {
    m_localOffsetMs.store(localMs - m_localEpochMs - std::int64_t(NowMs()));
}
