#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/bsp/BoardSupport.h"
#include "sim/board/Board.h"
#include "testsupport/BoardRecorder.h"
#include "testsupport/ManualClock.h"

namespace {

constexpr DWORD kPin23 = 1u << 23, kPin24 = 1u << 24, kPin27 = 1u << 27;

// A board with its NSSP port and DMA channels set up for 32-bit master transfers between two
// page buffers, written as plain stores of the final register values.
class BoardTest : public ManualClock {
protected:
    void SetUp() override {
        ManualClock::SetUp();
        board.AddObserver(&recorder);
        ASSERT_TRUE(CreatePageBufferRamVariable(L"TX", 4096));
        ASSERT_TRUE(CreatePageBufferRamVariable(L"RX", 4096));
        LPVOID tx = nullptr, rx = nullptr;
        ASSERT_TRUE(GetPageBufferRamVariablePtr(L"TX", &tx, &txPhys));
        ASSERT_TRUE(GetPageBufferRamVariablePtr(L"RX", &rx, &rxPhys));
        this->tx = static_cast<BYTE*>(tx);
        this->rx = static_cast<BYTE*>(rx);
        for (int i = 0; i < 4096; ++i)
            this->tx[i] = BYTE(i * 7 + 1);
        SetUpPort();
    }
    void TearDown() override { board.RemoveObserver(&recorder); }

    void SetUpPort() {
        std::memset(rx, 0xEE, 4096);
        Reg(gXScaleGpioRegs, GPDR2) = 0x000FFFFF;
        Reg(gXScaleGpioRegs, GAFR2_U) = 0x00000254;
        Reg(gXScaleNsspRegs, SSCR0) = 0x0010009F;
        Reg(gXScaleNsspRegs, SSCR1) = 0x00300C00;
        Reg(gXScaleClockRegs, CKEN) |= 0x200;
        Reg(gXScaleDmaRegs, DRCMR16) = 0x8A;
        Reg(gXScaleDmaRegs, DRCMR15) = 0x82;
        Reg(gXScaleDmaRegs, DCSR10) = 0x40000000;
        Reg(gXScaleDmaRegs, DTADR10) = 0x41400010;
        Reg(gXScaleDmaRegs, DCMD10) = 0xA002C000;
        Reg(gXScaleDmaRegs, DCSR2) = 0x40000000;
        Reg(gXScaleDmaRegs, DSADR2) = 0x41400010;
        Reg(gXScaleDmaRegs, DCMD2) = 0x5002C000;
    }

    // Starts a transfer of length bytes as the link does: transmit channel first.
    void StartTransfer(DWORD length) {
        Reg(gXScaleDmaRegs, DSADR10) = txPhys;
        Reg(gXScaleDmaRegs, DCMD10) |= length;
        Reg(gXScaleDmaRegs, DTADR2) = rxPhys;
        Reg(gXScaleDmaRegs, DCMD2) |= length;
        Reg(gXScaleDmaRegs, DCSR10) |= DCSR_RUN;
        Reg(gXScaleDmaRegs, DCSR2) |= DCSR_RUN;
    }
    bool Running() { return Reg(gXScaleDmaRegs, DCSR2) & DCSR_RUN; }

    Board board;
    BoardRecorder recorder;
    BYTE* tx = nullptr;
    BYTE* rx = nullptr;
    DWORD txPhys = 0;
    DWORD rxPhys = 0;
};

// Set and clear registers read as 0, so a read-modify-write of them drives only its own bits.
TEST_F(BoardTest, SetAndClearRegistersDriveOnlyTheirBits) {
    Reg(gXScaleGpioRegs, GPDR0) = kPin23 | kPin24;
    Reg(gXScaleGpioRegs, GPSR0) = kPin23;
    EXPECT_EQ(DWORD(Reg(gXScaleGpioRegs, GPSR0)), 0u);
    EXPECT_EQ(DWORD(Reg(gXScaleGpioRegs, GPCR0)), 0u);
    Reg(gXScaleGpioRegs, GPSR0) |= kPin24;
    EXPECT_EQ(Reg(gXScaleGpioRegs, GPLR0) & (kPin23 | kPin24), kPin23 | kPin24);
    Reg(gXScaleGpioRegs, GPCR0) |= kPin24;
    EXPECT_EQ(Reg(gXScaleGpioRegs, GPLR0) & (kPin23 | kPin24), kPin23);
    // The pulse on 24 reached the board as a rise and a fall; 23 rose once and stayed.
    EXPECT_EQ(recorder.Rises(24), 1);
    EXPECT_EQ(recorder.Rises(23), 1);
    EXPECT_EQ(board.State()["reset_line"], "high");
}

// A pin drives the board only as a GPIO output (function 0); otherwise it reads what the
// board drives, and the link lines are pulled low.
TEST_F(BoardTest, OnlyGpioOutputsDriveTheirLatch) {
    const struct {
        const char* name;
        DWORD direction;
        DWORD function; // GAFR0_U
        bool level;
    } cases[] = {
        {"input", 0, 0, false},
        {"output", kPin23, 0, true},
        {"output with alternate function", kPin23, 0x4000, false},
    };
    for (const auto& c : cases) {
        Reg(gXScaleGpioRegs, GPSR0) = kPin23; // the latch is set whatever the direction
        Reg(gXScaleGpioRegs, GAFR0_U) = c.function;
        Reg(gXScaleGpioRegs, GPDR0) = c.direction;
        EXPECT_EQ((Reg(gXScaleGpioRegs, GPLR0) & kPin23) != 0, c.level) << c.name;
        EXPECT_EQ(board.State()["reset_line"], c.level ? "high" : "low") << c.name;
    }
}

// GPLR0 bit 27 is the co-processor's ready line: its boot pulse 100-300 ms after reset release.
TEST_F(BoardTest, ReadyInputFollowsTheCoprocessorInDeviceTime) {
    Reg(gXScaleGpioRegs, GPDR0) = kPin23;
    Reg(gXScaleGpioRegs, GPSR0) = kPin23;
    const std::uint64_t release = NowUs();
    const struct {
        std::uint64_t atMs;
        bool ready;
    } samples[] = {{0, false}, {99, false}, {100, true}, {299, true}, {300, false}};
    for (const auto& s : samples) {
        DeviceClock::Instance().AdvanceTo(release + s.atMs * 1000);
        EXPECT_EQ((Reg(gXScaleGpioRegs, GPLR0) & kPin27) != 0, s.ready) << s.atMs << " ms";
    }
}

// A transfer takes LENGTH * 8 bits at 13 MHz / (SCR + 1); RUN reads 1 and LENGTH counts down
// until then; at the end the channels have advanced and flagged the end.
TEST_F(BoardTest, TransferTakesWireTimeAtTheBitRate) {
    const struct {
        DWORD scr;
        DWORD length;
        std::uint64_t wireUs;
    } cases[] = {{0, 16, 10}, {0, 4032, 2482}, {1, 16, 20}, {12, 4000, 32000}};
    for (const auto& c : cases) {
        Reg(gXScaleNsspRegs, SSCR0) = 0x0010009F | (c.scr << 8);
        RestartStopwatch();
        StartTransfer(c.length);
        EXPECT_TRUE(Running());
        DeviceClock::Instance().AdvanceTo(NowUs() + c.wireUs / 2);
        EXPECT_TRUE(Running());
        const DWORD left = Reg(gXScaleDmaRegs, DCMD10) & 0x1FFF;
        EXPECT_GT(left, 0u);
        EXPECT_LT(left, c.length);
        DeviceClock::Instance().AdvanceTo(NowUs() - c.wireUs / 2 + c.wireUs - 1);
        EXPECT_TRUE(Running()) << c.length;
        DeviceClock::Instance().AdvanceTo(NowUs() + 1);
        EXPECT_FALSE(Running()) << c.length;
        EXPECT_EQ(ElapsedUs(), c.wireUs);
        EXPECT_EQ(Reg(gXScaleDmaRegs, DCMD10) & 0x1FFF, 0u);
        EXPECT_EQ(Reg(gXScaleDmaRegs, DCMD2) & 0x1FFF, 0u);
        EXPECT_EQ(DWORD(Reg(gXScaleDmaRegs, DSADR10)), txPhys + c.length);
        EXPECT_EQ(DWORD(Reg(gXScaleDmaRegs, DTADR2)), rxPhys + c.length);
        EXPECT_EQ(Reg(gXScaleDmaRegs, DCSR2) & DCSR_ENDINTR, DCSR_ENDINTR);
        // Clearing RUN writes the end flag back, which clears it.
        Reg(gXScaleDmaRegs, DCSR2) &= ~DCSR_RUN;
        EXPECT_EQ(Reg(gXScaleDmaRegs, DCSR2) & DCSR_ENDINTR, 0u);
    }
    EXPECT_EQ(recorder.TransferSizes(), (std::vector<DWORD>{16, 4032, 16, 4000}));
    EXPECT_TRUE(recorder.faults.empty());
}

// Under the manual clock a thread polling with Sleep(0) reaches the end of a transfer.
TEST_F(BoardTest, ManualClockYieldReachesTheTransferEnd) {
    StartTransfer(4000);
    int polls = 0;
    while (Running() && polls < 10) {
        DeviceClock::Instance().Yield();
        ++polls;
    }
    EXPECT_FALSE(Running());
    EXPECT_EQ(polls, 1);
    EXPECT_EQ(ElapsedUs(), 2462u);
}

// Every register value the hardware could not run a transfer with: the transfer moves
// nothing, ends at once and is reported.
TEST_F(BoardTest, MisconfiguredTransferMovesNothingAndEndsAtOnce) {
    struct Case {
        const char* reason;
        std::function<void(BoardTest&)> spoil;
        DWORD length = 16;
    };
    const Case cases[] = {
        {"clock is off", [](BoardTest&) { Reg(gXScaleClockRegs, CKEN) &= ~DWORD(0x200); }},
        {"disabled", [](BoardTest&) { Reg(gXScaleNsspRegs, SSCR0) &= ~DWORD(0x80); }},
        {"frame format", [](BoardTest&) { Reg(gXScaleNsspRegs, SSCR0) &= ~DWORD(0x30); }},
        {"data size is 16 bits",
         [](BoardTest&) { Reg(gXScaleNsspRegs, SSCR0) &= ~DWORD(0x100000); }},
        {"clock and frame master", [](BoardTest&) { Reg(gXScaleNsspRegs, SSCR1) |= 0x02000000; }},
        {"DMA service requests", [](BoardTest&) { Reg(gXScaleNsspRegs, SSCR1) = 0x00000C00; }},
        {"not routed", [](BoardTest&) { Reg(gXScaleGpioRegs, GAFR2_U) = 0; }},
        {"DRCMR16", [](BoardTest&) { Reg(gXScaleDmaRegs, DRCMR16) = 0x82; }},
        {"DRCMR15", [](BoardTest&) { Reg(gXScaleDmaRegs, DRCMR15) = 0x02; }},
        {"descriptor mode", [](BoardTest&) { Reg(gXScaleDmaRegs, DCSR10) = 0; }},
        {"DTADR10", [](BoardTest&) { Reg(gXScaleDmaRegs, DTADR10) = 0x41400000; }},
        {"4-byte words", [](BoardTest&) { Reg(gXScaleDmaRegs, DCMD2) = 0x50028000; }},
        {"channel lengths differ", [](BoardTest&) { Reg(gXScaleDmaRegs, DCMD2) |= 32; }},
        {"not inside a page buffer", [](BoardTest&) {}, 4096 + 16},
    };
    std::size_t faults = 0;
    for (const Case& c : cases) {
        SetUpPort();
        c.spoil(*this);
        StartTransfer(c.length & 0x1FFC);
        EXPECT_FALSE(Running()) << c.reason;
        EXPECT_EQ(ElapsedUs(), 0u) << c.reason;
        EXPECT_EQ(rx[0], 0xEE) << c.reason;
        ASSERT_EQ(recorder.faults.size(), ++faults) << c.reason;
        EXPECT_NE(recorder.faults.back().find(c.reason), std::string::npos)
            << recorder.faults.back();
        ASSERT_EQ(Events("board.fault").size(), faults) << c.reason;
        EXPECT_EQ(Events("board.fault").back().fields["reason"], recorder.faults.back());
    }
    EXPECT_TRUE(recorder.transfers.empty());
}

// Words left in the receive FIFO come first in the next transfer; what the wire brings
// beyond the transfer's length waits in the FIFO.
TEST_F(BoardTest, LeftoverReceiveWordsComeFirst) {
    board.PreloadReceiveFifo({0x44332211, 0x88776655});
    EXPECT_EQ(Reg(gXScaleNsspRegs, SSSR) & SSSR_RNE, SSSR_RNE);
    StartTransfer(16);
    DeviceClock::Instance().Yield();
    EXPECT_FALSE(Running());
    const BYTE expected[16] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    EXPECT_EQ(std::memcmp(rx, expected, 16), 0);
    EXPECT_EQ(Reg(gXScaleNsspRegs, SSSR) & SSSR_RNE, SSSR_RNE);
    EXPECT_EQ(DWORD(Reg(gXScaleNsspRegs, SSDR)), 0u);
    EXPECT_EQ(DWORD(Reg(gXScaleNsspRegs, SSDR)), 0u);
    EXPECT_EQ(Reg(gXScaleNsspRegs, SSSR) & SSSR_RNE, 0u);
}

TEST_F(BoardTest, UnmappedRegistersReadZeroAndAreLogged) {
    EXPECT_EQ(DWORD(Reg(gXScaleDmaRegs, 0x100)), 0u);
    Reg(gXScaleNsspRegs, 0x40) = 1;
    const auto events = Events("board.unmapped");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].fields["block"], "dma");
    EXPECT_EQ(events[0].fields["offset"], "0x100");
    EXPECT_EQ(events[1].fields["access"], "write");
}

TEST_F(BoardTest, PageBuffersAreDistinctAndNamedOnce) {
    EXPECT_TRUE(DoesRamVariableExist(L"TX"));
    EXPECT_FALSE(DoesRamVariableExist(L"tx"));
    EXPECT_FALSE(CreatePageBufferRamVariable(L"TX", 4096));
    EXPECT_FALSE(CreatePageBufferRamVariable(L"HUGE", 0x40000000));
    EXPECT_GE(rxPhys, txPhys + 4096);
    EXPECT_EQ(txPhys % 4096, 0u);
    EXPECT_EQ(rxPhys % 4096, 0u);
}

TEST_F(BoardTest, BoardLeavesTheBoardSupportApiWhenDestroyed) {
    {
        Board second; // replaces the fixture's board while it lives
        EXPECT_FALSE(DoesRamVariableExist(L"TX"));
    }
    EXPECT_FALSE(DoesRamVariableExist(L"TX"));
    EXPECT_EQ(DWORD(Reg(gXScaleNsspRegs, SSCR0)), 0u);
}

} // namespace
