#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/CoprocProtocol.h"
#include "link/QCoprocLink.h"
#include "link/QHandshakeLines.h"
#include "link/QNsspPort.h"
#include "link/tests/LinkTest.h"
#include "platform/bsp/BoardSupport.h"
#include "testsupport/CountingBackend.h"

namespace {

using TransportTest = LinkTest;

// A transfer moves n raised to a multiple of 16 bytes, in the wire time of that many bytes at
// 13 Mbit/s.
TEST_F(TransportTest, TransferMovesWholeBursts) {
    QNsspPort port;
    const struct {
        unsigned n;
        DWORD moved;
        std::uint64_t wireUs;
    } cases[] = {{12, 16, 10}, {16, 16, 10}, {4000, 4000, 2462}, {4020, 4032, 2482}};
    for (const auto& c : cases) {
        recorder.transfers.clear();
        RestartStopwatch();
        port.Transfer(c.n);
        EXPECT_EQ(recorder.TransferSizes(), std::vector<DWORD>{c.moved}) << c.n;
        EXPECT_EQ(ElapsedUs(), c.wireUs) << c.n;
    }
    EXPECT_TRUE(recorder.faults.empty());
}

// WaitReady reads the line once per 1 ms poll; WaitReleased is its mirror image.
TEST_F(TransportTest, WaitsPollOncePerMillisecond) {
    QHandshakeLines lines;
    const struct {
        const char* name;
        bool released; // WaitReleased instead of WaitReady
        int count;
        std::uint64_t bootMs; // device time since reset release when the wait starts
        bool result;
        int reads;
        std::uint64_t elapsedMs;
    } cases[] = {
        {"count 0", false, 0, 150, false, 0, 0},
        {"line already high", false, 200, 150, true, 1, 0},
        {"line never high", false, 200, 400, false, 200, 200},
        {"line rises after 50 ms", false, 200, 50, true, 51, 50},
        {"released: line already low", true, 200, 400, true, 1, 0},
        {"released: line falls after 100 ms", true, 200, 200, true, 101, 100},
        {"released: line high throughout", true, 50, 150, false, 50, 50},
    };
    for (const auto& c : cases) {
        lines.HoldReset();
        lines.ReleaseReset();
        DeviceClock::Instance().AdvanceTo(NowUs() + c.bootMs * 1000);
        CountingBackend counting(board);
        RestartStopwatch();
        const bool result = c.released ? lines.WaitReleased(c.count) : lines.WaitReady(c.count);
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(counting.Reads(XScaleBlock::Gpio, GPLR0), c.reads) << c.name;
        EXPECT_EQ(ElapsedUs(), c.elapsedMs * 1000) << c.name;
    }
}

// Construction leaves each register as the set-up steps do, starting from a board whose
// registers hold ones wherever the steps must clear something.
TEST_F(TransportTest, ConstructionLeavesTheRegistersAsSetUp) {
    const struct {
        const RegisterBlock* block;
        DWORD offset;
        DWORD value;
    } presets[] = {
        {gXScaleGpioRegs, GPDR0, 0xFFFFFFFF},   {gXScaleGpioRegs, GPDR2, 0},
        {gXScaleGpioRegs, GAFR0_U, 0xFFFFFFFF}, {gXScaleGpioRegs, GAFR2_U, 0xFFFFFFFF},
        {gXScaleNsspRegs, SSCR0, 0xFFFFFFFF},   {gXScaleNsspRegs, SSCR1, 0xFFFFFFFF},
        {gXScaleClockRegs, CKEN, 0xFFFFFFFF},   {gXScaleDmaRegs, DCMD10, 0x1FFF},
        {gXScaleDmaRegs, DCMD2, 0x1FFF},
    };
    for (const auto& p : presets)
        Reg(p.block, p.offset) = p.value;
    board.PreloadReceiveFifo({1, 2, 3});

    CountingBackend counting(board);
    QCoprocLink link;

    const nlohmann::json registers = board.State()["registers"];
    const struct {
        const char* block;
        const char* name;
        const char* value;
    } expected[] = {
        {"gpio", "GPDR0", "0xF7FFFFFF"},   // 23-26 outputs, 27 input
        {"gpio", "GPDR2", "0x000FFFFF"},   // 64-83 outputs, 84 input
        {"gpio", "GAFR0_U", "0xFF003FFF"}, // 23-27 function 0
        {"gpio", "GAFR2_U", "0x00000257"}, // 80 kept, 81-83 function 1, 84 function 2
        {"gpio", "GPLR0", "0x00000000"},   // reset line not yet driven high, strobes low
        {"nssp", "SSCR0", "0xFFF000DF"},   // SCR 0, TI format, 32-bit, enabled
        {"nssp", "SSCR1", "0x00300C00"},   // DMA requests, RFT 3, master
        {"nssp", "SSSR", "0x00000004"},    // receive FIFO drained
        {"clock", "CKEN", "0xFFFFFDFF"},   // NSSP clock off again
        {"dma", "DRCMR16", "0x0000008A"},  {"dma", "DRCMR15", "0x00000082"},
        {"dma", "DCSR10", "0x40000008"},   {"dma", "DCSR2", "0x40000008"},
        {"dma", "DTADR10", "0x41400010"},  {"dma", "DSADR2", "0x41400010"},
        {"dma", "DCMD10", "0xA002C000"},   {"dma", "DCMD2", "0x5002C000"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(registers[e.block][e.name], e.value) << e.name;
    // The FIFO was drained by a write and a read of SSDR per word left in it.
    EXPECT_EQ(counting.Writes(XScaleBlock::Nssp, SSDR), 3);
    EXPECT_EQ(counting.Reads(XScaleBlock::Nssp, SSDR), 3);
    EXPECT_EQ(counting.Reads(XScaleBlock::Nssp, SSSR), 4);
    EXPECT_EQ(counting.creations, 2);
    EXPECT_TRUE(DoesRamVariableExist(L"DMA_TX"));
    EXPECT_TRUE(DoesRamVariableExist(L"DMA_RX"));
    EXPECT_TRUE(recorder.transfers.empty());

    // A second link on the same board finds both page buffers and creates nothing.
    QCoprocLink second;
    EXPECT_EQ(counting.creations, 2);
    EXPECT_EQ(counting.Writes(XScaleBlock::Nssp, SSDR), 3);
}

TEST_F(TransportTest, InstanceIsBuiltOnceWithTheHardwareSetUp) {
    CountingBackend counting(board);
    QCoprocLink& first = QCoprocLink::Instance();
    const int setUpAccesses = counting.Accesses();
    EXPECT_GT(setUpAccesses, 40);
    EXPECT_EQ(&QCoprocLink::Instance(), &first);
    EXPECT_EQ(counting.Accesses(), setUpAccesses);
}

// A port that has lost its set-up moves nothing; each exchange fails within its bounded
// retries, and the board says why.
TEST_F(TransportTest, MisconfiguredPortFailsWithoutHanging) {
    const struct {
        const char* reason;
        const RegisterBlock* block;
        DWORD offset;
        DWORD value;
    } cases[] = {
        {"disabled", gXScaleNsspRegs, SSCR0, 0x0010001F},
        {"frame format", gXScaleNsspRegs, SSCR0, 0x0010008F},
        {"DRCMR16", gXScaleDmaRegs, DRCMR16, 0},
        {"not routed", gXScaleGpioRegs, GAFR2_U, 0},
    };
    for (const auto& c : cases) {
        QCoprocLink link;
        link.HoldReset();
        ASSERT_TRUE(link.BootHandshake());
        Reg(c.block, c.offset) = c.value;
        const std::size_t faultsBefore = recorder.faults.size();
        BYTE reply[COPROC_REPLY_VERSION];
        EXPECT_EQ(link.GetFirmwareVersion(reply), COPROC_ERR_BAD_REPLY) << c.reason;
        ASSERT_GT(recorder.faults.size(), faultsBefore) << c.reason;
        EXPECT_NE(recorder.faults.back().find(c.reason), std::string::npos)
            << recorder.faults.back();
        EXPECT_FALSE(Events("board.fault").empty());
    }
}

} // namespace
