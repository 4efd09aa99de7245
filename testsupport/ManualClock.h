// Test fixture base: puts the device clock in manual mode on a whole millisecond, so that
// sleeps and polls advance it exactly and elapsed device time can be asserted to the ms.
#pragma once

#include <cstdint>

#include <gtest/gtest.h>

#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "testsupport/LogEvents.h"

class ManualClock : public ::testing::Test {
protected:
    void SetUp() override {
        DeviceClock& clock = DeviceClock::Instance();
        clock.SetManual();
        clock.AdvanceTo((clock.NowUs() / 1000 + 1) * 1000);
        m_startUs = clock.NowUs();
        m_logSeq = EventLog::Instance().LastSeq();
    }

    std::uint64_t NowUs() const { return DeviceClock::Instance().NowUs(); }
    std::uint64_t ElapsedUs() const { return NowUs() - m_startUs; }
    void RestartStopwatch() { m_startUs = NowUs(); }
    // Event-log entries of one kind recorded since the test began.
    std::vector<EventLog::Entry> Events(const std::string& kind) const {
        return EventsOfKind(kind, m_logSeq);
    }

private:
    std::uint64_t m_startUs = 0;
    std::uint64_t m_logSeq = 0;
};
