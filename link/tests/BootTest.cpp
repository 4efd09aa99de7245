#include <string>

#include <gtest/gtest.h>

#include "link/QCoprocLink.h"
#include "link/tests/LinkTest.h"

namespace {

using BootTest = LinkTest;

// The boot pulse after the reset release against the handshake's timing: t0 is 50 ms after
// the release; a pulse that has ended by t0 + 2000 ms passes, and the handshake lasts at least
// until t0 + 1000 ms.
TEST_F(BootTest, BootHandshakeJudgesThePulseByItsEnd) {
    const struct {
        const char* name;
        const char* settings;
        bool result;
        std::uint64_t elapsedMs;
        int releases;
        bool resetHigh; // the reset line afterwards
    } cases[] = {
        {"pulse ends 250 ms after t0: sleeps on to 1000", "boot_rise_ms=100,boot_fall_ms=300", true,
         50 + 1000, 1, true},
        {"pulse ends 1450 ms after t0", "boot_fall_ms=1500", true, 50 + 1450, 1, true},
        {"pulse ends 1999 ms after t0", "boot_fall_ms=2049", true, 50 + 1999, 1, true},
        {"pulse ends 2000 ms after t0: three attempts", "boot_fall_ms=2050", false,
         3 * (50 + 2000 + 200), 3, false},
        {"pulse ends 2500 ms after t0: three attempts", "boot_fall_ms=2550,boot_rise_ms=800", false,
         3 * (50 + 2500 + 200), 3, false},
        {"pulse late by 500 ms", "boot_rise_ms=100,boot_fall_ms=300,boot_late_ms=500", true,
         50 + 1000, 1, true},
        {"pulse missing", "boot_late_ms=0,boot_missing=1", false, 50 + 1000, 1, true},
        {"pulse never ends", "boot_missing=0,boot_fall_ms=5000", false, 50 + 50 + 2000, 1, true},
    };
    QCoprocLink link;
    for (const auto& c : cases) {
        Set(c.settings);
        EXPECT_TRUE(link.HoldReset());
        recorder.edges.clear();
        RestartStopwatch();
        EXPECT_EQ(link.BootHandshake(), c.result) << c.name;
        EXPECT_EQ(ElapsedUs(), c.elapsedMs * 1000) << c.name;
        EXPECT_EQ(recorder.Rises(23), c.releases) << c.name;
        EXPECT_EQ(board.State()["reset_line"], c.resetHigh ? "high" : "low") << c.name;
    }
}

// ResetAndSync: up to five resets, each 50 ms before the handshake and 50 ms after it.
TEST_F(BootTest, ResetAndSyncTimingIsTheSumOfItsSleepsAndPolls) {
    const struct {
        const char* name;
        const char* settings;
        bool result;
        std::uint64_t elapsedMs;
        int releases;
    } cases[] = {
        {"first handshake passes", "boot_rise_ms=100,boot_fall_ms=300", true, 50 + 1050 + 50, 1},
        {"five handshakes of three late pulses", "boot_fall_ms=2550,boot_rise_ms=800", false,
         5 * (50 + 3 * (50 + 2500 + 200) + 50), 15},
        {"five handshakes without a pulse", "boot_missing=1", false, 5 * (50 + 1050 + 50), 5},
    };
    QCoprocLink link;
    for (const auto& c : cases) {
        Set(c.settings);
        recorder.edges.clear();
        RestartStopwatch();
        EXPECT_EQ(link.ResetAndSync(), c.result) << c.name;
        EXPECT_EQ(ElapsedUs(), c.elapsedMs * 1000) << c.name;
        EXPECT_EQ(recorder.Rises(23), c.releases) << c.name;
    }
}

} // namespace
