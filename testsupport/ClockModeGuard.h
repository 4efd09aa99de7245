// Tests share the process-wide device clock: this guard puts it into the mode a test needs and
// puts back the mode, speed and local time it found.
#pragma once

#include <cstdint>

#include "platform/kernel/DeviceClock.h"

class ClockModeGuard {
public:
    ClockModeGuard()
        : m_wasManual(Clock().IsManual()), m_speed(Clock().Speed()), m_localMs(Clock().LocalMs()) {}
    ~ClockModeGuard() {
        Clock().SetLocalMs(m_localMs);
        if (m_wasManual)
            Clock().SetManual();
        else
            Clock().SetScaled(m_speed);
    }
    ClockModeGuard(const ClockModeGuard&) = delete;
    ClockModeGuard& operator=(const ClockModeGuard&) = delete;

    static DeviceClock& Clock() { return DeviceClock::Instance(); }

private:
    bool m_wasManual;
    double m_speed;
    std::int64_t m_localMs;
};
