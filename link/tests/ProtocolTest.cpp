#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "link/CoprocProtocol.h"
#include "link/QCoprocLink.h"
#include "link/tests/LinkTest.h"
#include "platform/bsp/BoardSupport.h"
#include "sim/board/CoprocModel.h"

namespace {

// A link to a co-processor that has booted and runs an image, so it answers the queries.
class ProtocolTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        link.HoldReset();
        ASSERT_TRUE(link.BootHandshake());
        ASSERT_TRUE(link.DownloadImage(card.Write("app.bin", {1, 2, 3}).c_str()));
        // As the start-up thread does: the start frame has no release wait, so the
        // co-processor gets a moment to lower its ready line before the next exchange.
        Sleep(200);
        recorder.transfers.clear();
        recorder.exchanges.clear();
        RestartStopwatch();
    }
    // The frames the co-processor received since the test's set-up.
    std::size_t Frames() const { return recorder.Commands().size(); }

    QCoprocLink link;
};

std::vector<BYTE> Bytes(const BYTE* p, std::size_t n) {
    return std::vector<BYTE>(p, p + n);
}

TEST_F(ProtocolTest, VersionRequestIsTheDocumentedBytes) {
    BYTE reply[COPROC_REPLY_VERSION] = {};
    ASSERT_EQ(board.Set("firmware_version", "3.1.4.1"), "");
    EXPECT_EQ(link.GetFirmwareVersion(reply), 0u);
    ASSERT_EQ(recorder.exchanges.size(), 1u);
    EXPECT_EQ(recorder.exchanges[0].head,
              (std::vector<std::uint8_t>{0x61, 0, 8, 0, 0x69, 0, 0, 0}));
    EXPECT_EQ(recorder.exchanges[0].bytesIn, 16u);
    // 12 bytes handed over (16 clocked out), then 18 + 4 bytes read as 32.
    EXPECT_EQ(recorder.TransferSizes(), (std::vector<DWORD>{16, 32}));
    LPVOID tx = nullptr;
    DWORD phys = 0;
    ASSERT_TRUE(GetPageBufferRamVariablePtr(L"DMA_TX", &tx, &phys));
    EXPECT_EQ(Bytes(static_cast<BYTE*>(tx), 12),
              (std::vector<BYTE>{0x61, 0, 8, 0, 0x69, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Bytes(reply, 10), (std::vector<BYTE>{0x61, 0, 18, 0, 0, 0, 3, 1, 4, 1}));
}

// Each query returns the reply layout its users read.
TEST_F(ProtocolTest, QueriesFillTheirReplyLayouts) {
    Set("battery_level=0.5,battery_charging=1,battery_warning=1,clock=2008-11-13 09:30:05,"
        "product_code=6");
    BYTE battery[COPROC_REPLY_BATTERY] = {};
    ASSERT_EQ(link.GetBatteryStatus(battery), 0u);
    float level = 0;
    std::memcpy(&level, battery + 8, 4);
    EXPECT_EQ(battery[6], 1);
    EXPECT_EQ(battery[7], 1);
    EXPECT_EQ(level, 0.5f);
    BYTE clock[COPROC_REPLY_CLOCK] = {};
    ASSERT_EQ(link.GetClock(clock), 0u);
    const WORD expected[6] = {5, 30, 9, 13, 11, 2008}; // second .. year at 8, 12, .. 28
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(WORD(clock[8 + 4 * i] | clock[9 + 4 * i] << 8), expected[i]) << i;
    BYTE identity[COPROC_REPLY_IDENTITY] = {};
    ASSERT_EQ(link.GetIdentity(identity), 0u);
    EXPECT_EQ(identity[6], 6);
    EXPECT_EQ(recorder.Commands(),
              (std::vector<std::string>{"GET_BATTERY", "GET_CLOCK", "GET_IDENTITY"}));
}

TEST(ChecksumTest, SetChecksumSumsTheFrameBeforeIt) {
    const struct {
        std::vector<BYTE> frame;
        int at;
        BYTE sum;
    } cases[] = {
        {{0x61, 0, 8, 0, 0, 0, 0, 0}, 4, 0x69},
        {{0x64, 0, 8, 0, 0, 0, 0, 0}, 4, 0x6C},
        {{0x40, 0, 12, 0, 0x00, 0x10, 0x80, 0x00, 0, 0, 0, 0}, 8, 0xDC},
        {{0xFF, 0xFF, 12, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}, 8, 0x06}, // wraps at 256
    };
    for (auto c : cases) {
        std::vector<BYTE> expected = c.frame;
        expected[c.at] = c.sum;
        QCoprocChannel::SetChecksum(c.frame.data());
        EXPECT_EQ(c.frame, expected);
    }
}

// A reply buffer of S bytes with the reply's head, a correct checksum at R - 4 and, when
// given, a second block after the first R bytes. Bytes past S are 0xFF, as if the buffer
// went on with rubbish.
std::vector<BYTE> Reply(int s, int r, bool secondBlock = false, std::vector<BYTE> block = {},
                        DWORD n = 0, int blockSum = -1) {
    std::vector<BYTE> reply(std::size_t(s) + 16, 0xFF);
    std::fill(reply.begin(), reply.begin() + s, 0);
    reply[0] = 0x61;
    reply[1] = secondBlock ? 1 : 0;
    reply[2] = BYTE(r);
    reply[3] = BYTE(r >> 8);
    BYTE sum = 0;
    for (int i = 0; i < r - 4 && i < s; ++i)
        sum = BYTE(sum + reply[i]);
    if (r >= 4 && r - 4 < s)
        reply[r - 4] = sum;
    if (secondBlock) {
        for (int i = 0; i < 4 && r + i < s; ++i)
            reply[r + i] = BYTE(n >> (8 * i));
        BYTE blockTotal = 0;
        for (std::size_t i = 0; i < block.size(); ++i) {
            reply[r + 4 + i] = block[i];
            blockTotal = BYTE(blockTotal + block[i]);
        }
        if (r + 4 + int(block.size()) < s)
            reply[r + 4 + block.size()] = blockSum >= 0 ? BYTE(blockSum) : blockTotal;
    }
    return reply;
}

TEST(ChecksumTest, CheckReplyAcceptsOnlyWholeReplies) {
    auto badSum = Reply(18, 18);
    badSum[14] ^= 1;
    // The block's checksum byte is wrong; the byte just past the reply holds the right sum.
    auto sumPastTheEnd = Reply(20, 10, true, {1, 2, 3, 4, 5}, 5, 0);
    sumPastTheEnd[20] = 15;
    // No room for the empty block's checksum inside S; the byte past S holds its sum, 0.
    auto noRoomForSum = Reply(14, 10, true, {}, 0);
    noRoomForSum[14] = 0;
    const struct {
        const char* name;
        std::vector<BYTE> reply;
        int s;
        bool valid;
    } cases[] = {
        {"R equal to S", Reply(18, 18), 18, true},
        {"R below S", Reply(18, 10), 18, true},
        {"R of 3", Reply(18, 3), 18, false},
        {"R of 4", Reply(18, 4), 18, true},
        {"R above S, checksum right", Reply(24, 24), 18, false},
        {"R one above S, checksum right", Reply(19, 19), 18, false},
        {"checksum wrong", badSum, 18, false},
        {"second block N = 0, R + 5 = S", Reply(15, 10, true, {}, 0), 15, true},
        {"second block N = 0, R + 5 > S", noRoomForSum, 14, false},
        {"second block with its data", Reply(20, 10, true, {1, 2, 3, 4, 5}, 5), 20, true},
        {"second block checksum wrong", Reply(20, 10, true, {1, 2, 3, 4, 5}, 5, 0), 20, false},
        {"right block sum only past S", sumPastTheEnd, 20, false},
        {"second block past S", Reply(20, 10, true, {1, 2, 3, 4, 5, 6}, 6), 20, false},
        // N read past S would be 0xFFFFFFxx; R + 4 + N + 1 wraps in 32 bits.
        {"second block length not inside S", Reply(12, 10, true, {}, 0xFFFFFFF5), 12, false},
        {"second block length wraps in 32 bits", Reply(40, 10, true, {}, 0xFFFFFFF0), 40, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QCoprocChannel::CheckReply(c.reply.data(), c.s), c.valid) << c.name;
        // The same S bytes alone on the heap, so that a read past them shows under the
        // address sanitizer (scripts/test asan).
        const std::vector<BYTE> exact(c.reply.begin(), c.reply.begin() + c.s);
        EXPECT_EQ(QCoprocChannel::CheckReply(exact.data(), c.s), c.valid) << c.name << ", alone";
    }
}

TEST_F(ProtocolTest, ReadyNeverRisingGives101WithNoFrameSent) {
    for (const char* fault : {"never_ready=1", "never_ready=0,unplugged=1"}) {
        Set(fault);
        recorder.edges.clear();
        RestartStopwatch();
        BYTE reply[COPROC_REPLY_VERSION];
        EXPECT_EQ(link.GetFirmwareVersion(reply), COPROC_ERR_NOT_READY) << fault;
        EXPECT_EQ(ElapsedUs(), 200000u) << fault; // 200 polls of 1 ms
        EXPECT_EQ(recorder.Rises(24), 1) << fault;
    }
    EXPECT_EQ(Frames(), 0u);
    EXPECT_TRUE(recorder.transfers.empty());
}

TEST_F(ProtocolTest, ReadyNeverFallingGives102AfterOneFrame) {
    Set("never_released=1");
    BYTE reply[COPROC_REPLY_VERSION];
    EXPECT_EQ(link.GetFirmwareVersion(reply), COPROC_ERR_NOT_RELEASED);
    EXPECT_EQ(Frames(), 1u);
    EXPECT_EQ(recorder.TransferSizes(), std::vector<DWORD>{16});
    EXPECT_EQ(ElapsedMs(), 1u + 200u); // one poll to see ready, 200 for the release
}

// Replies that fail the check are retried, the same frame each time, ten times in all.
TEST_F(ProtocolTest, BadReplyChecksumsAreRetriedTenTimes) {
    const struct {
        int bad;
        DWORD status;
        std::size_t frames;
    } cases[] = {{10, COPROC_ERR_BAD_REPLY, 10}, {9, 0, 10}, {1, 0, 2}};
    for (const auto& c : cases) {
        recorder.exchanges.clear();
        Set("bad_checksums=" + std::to_string(c.bad));
        BYTE reply[COPROC_REPLY_BATTERY];
        EXPECT_EQ(link.GetBatteryStatus(reply), c.status) << c.bad;
        EXPECT_EQ(Frames(), c.frames) << c.bad;
        for (const CoprocExchange& e : recorder.exchanges)
            EXPECT_EQ(e.head, recorder.exchanges[0].head);
    }
}

TEST_F(ProtocolTest, ReplyStatusIsReturned) {
    Set("status.GET_CLOCK=5");
    BYTE reply[COPROC_REPLY_CLOCK];
    EXPECT_EQ(link.GetClock(reply), 5u);
    EXPECT_EQ(QCoprocChannel::ReplyStatus(reply), 5);
    EXPECT_EQ(Frames(), 1u);
}

// A reply of S + 4 above 4000 bytes comes in chunks of 4000; only the first drops the 4 bytes
// that precede the reply, and nothing lands past S.
TEST_F(ProtocolTest, LongRepliesAreReadInChunks) {
    constexpr int kS = 4100;
    std::vector<BYTE> reply(kS + 16, 0xEE);
    BYTE frame[12] = {0x61, 0, 8, 0};
    EXPECT_EQ(link.Transact(8, kS, frame, reply.data()), 0u);
    EXPECT_EQ(recorder.TransferSizes(), (std::vector<DWORD>{16, 4000, 112}));
    EXPECT_EQ(reply[0], 0x61);
    EXPECT_EQ(reply[2], 18);
    for (int i = 18; i < kS; ++i)
        ASSERT_EQ(reply[std::size_t(i)], 0) << i;
    for (int i = kS; i < kS + 16; ++i)
        ASSERT_EQ(reply[std::size_t(i)], 0xEE) << i;
}

// The start-up thread and the UI thread may reach the link at once: each operation holds the
// link until it is done, so neither spoils the other's exchanges.
TEST_F(ProtocolTest, TwoThreadsNeverInterleaveTheirExchanges) {
    // Real time: a host stall on a busy machine must not pass for a 200 ms device time-out.
    DeviceClock::Instance().SetScaled(1);
    std::atomic<int> clockFailures{0};
    std::thread startup([&] {
        for (int i = 0; i < 20; ++i) {
            BYTE reply[COPROC_REPLY_CLOCK] = {};
            if (link.GetClock(reply) != 0 || reply[0] != CMD_GET_CLOCK)
                ++clockFailures;
        }
    });
    int batteryFailures = 0;
    for (int i = 0; i < 20; ++i) {
        BYTE reply[COPROC_REPLY_BATTERY] = {};
        if (link.GetBatteryStatus(reply) != 0 || reply[0] != CMD_GET_BATTERY)
            ++batteryFailures;
    }
    startup.join();
    DeviceClock::Instance().SetManual();
    EXPECT_EQ(clockFailures, 0);
    EXPECT_EQ(batteryFailures, 0);
    EXPECT_EQ(Frames(), 40u);
}

} // namespace
