#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "sim/board/CoprocModel.h"
#include "sim/board/Sha256.h"
#include "testsupport/ManualClock.h"

namespace {

constexpr std::uint64_t kMs = 1000;

// Drives the co-processor model's lines and wire directly, as the board would, at explicit
// device times.
class CoprocModelTest : public ManualClock {
protected:
    void SetUp() override {
        ManualClock::SetUp();
        coproc.SetReadyListener([this](bool level, std::uint64_t us) {
            readyEdges.push_back({level, us});
        });
        coproc.SetExchangeListener([this](const CoprocExchange& e) { exchanges.push_back(e); });
    }

    void Pulse(int line) {
        coproc.LineChanged(line, true, now);
        coproc.LineChanged(line, false, now);
    }
    // Reset, release and wait out the boot pulse.
    void Boot() {
        coproc.LineChanged(CoprocModel::kResetLine, false, now);
        coproc.LineChanged(CoprocModel::kResetLine, true, now);
        now += 400 * kMs;
    }
    // One exchange: the frame (raised to 16 bytes) between the strobes, then S + 4 bytes back.
    // Returns the S bytes after the 4 the co-processor sends first.
    std::vector<std::uint8_t> Exchange(std::vector<std::uint8_t> frame, std::size_t replySize) {
        const std::uint16_t length = std::uint16_t(frame[2] | frame[3] << 8);
        std::uint8_t sum = 0;
        for (int i = 0; i < length - 4; ++i)
            sum = std::uint8_t(sum + frame[i]);
        frame[length - 4] = sum;
        frame.resize((frame.size() + 15) / 16 * 16);
        Pulse(CoprocModel::kRequestLine);
        now += kMs;
        EXPECT_TRUE(coproc.ReadyLevel(now));
        coproc.Shift(frame, now);
        Pulse(CoprocModel::kReleaseLine);
        now += kMs;
        EXPECT_FALSE(coproc.ReadyLevel(now));
        std::vector<std::uint8_t> in((replySize + 4 + 15) / 16 * 16, 0);
        const std::vector<std::uint8_t> out = coproc.Shift(in, now);
        EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 4),
                  std::vector<std::uint8_t>(4, 0xA5));
        return std::vector<std::uint8_t>(out.begin() + 4, out.begin() + 4 + long(replySize));
    }
    static std::vector<std::uint8_t> Frame(std::uint16_t command, std::uint16_t length,
                                           std::uint32_t word = 0) {
        std::vector<std::uint8_t> frame(length + 4, 0);
        frame[0] = std::uint8_t(command);
        frame[1] = std::uint8_t(command >> 8);
        frame[2] = std::uint8_t(length);
        frame[3] = std::uint8_t(length >> 8);
        if (length >= 12)
            std::memcpy(&frame[4], &word, 4);
        return frame;
    }
    static std::vector<std::uint8_t> Block(std::uint32_t offset,
                                           const std::vector<std::uint8_t>& data) {
        std::vector<std::uint8_t> frame = Frame(0x60, 4016, offset);
        frame[8] = std::uint8_t(data.size());
        frame[9] = std::uint8_t(data.size() >> 8);
        std::copy(data.begin(), data.end(), frame.begin() + 10);
        return frame;
    }
    static int Status(const std::vector<std::uint8_t>& reply) { return reply[4] | reply[5] << 8; }
    // The load sequence of an image; returns the statuses of its frames.
    std::vector<int> Load(const std::vector<std::uint8_t>& image) {
        std::vector<int> statuses{Status(Exchange(Frame(0x40, 12, 0x00801000), 10))};
        for (std::size_t at = 0; at < image.size(); at += 4000) {
            const std::size_t n = std::min<std::size_t>(4000, image.size() - at);
            statuses.push_back(Status(Exchange(
                Block(std::uint32_t(at), {image.begin() + long(at), image.begin() + long(at + n)}),
                10)));
        }
        Exchange(Frame(0x71, 12, 0x80000000), 0);
        return statuses;
    }

    struct Edge {
        bool level;
        std::uint64_t us;
        bool operator==(const Edge&) const = default;
    };
    CoprocModel coproc;
    std::uint64_t now = 1000 * kMs;
    std::vector<Edge> readyEdges;
    std::vector<CoprocExchange> exchanges;
};

TEST_F(CoprocModelTest, BootPulseFollowsItsSettingsAndFaults) {
    const struct {
        std::vector<std::pair<const char*, const char*>> settings;
        std::vector<Edge> pulse; // relative to the release
    } cases[] = {
        {{}, {{true, 100 * kMs}, {false, 300 * kMs}}},
        {{{"boot_fall_ms", "2550"}, {"boot_rise_ms", "800"}},
         {{true, 800 * kMs}, {false, 2550 * kMs}}},
        {{{"boot_rise_ms", "100"}, {"boot_fall_ms", "300"}, {"boot_late_ms", "250"}},
         {{true, 350 * kMs}, {false, 550 * kMs}}},
        {{{"boot_late_ms", "0"}, {"boot_missing", "1"}}, {}},
        {{{"boot_missing", "0"}, {"never_ready", "1"}}, {}},
    };
    for (const auto& c : cases) {
        for (const auto& [key, value] : c.settings)
            ASSERT_EQ(coproc.Set(key, value, now), "") << key;
        readyEdges.clear();
        coproc.LineChanged(CoprocModel::kResetLine, false, now);
        const std::uint64_t release = now;
        coproc.LineChanged(CoprocModel::kResetLine, true, release);
        now += 5000 * kMs;
        coproc.SettleTo(now);
        std::vector<Edge> expected;
        for (Edge e : c.pulse)
            expected.push_back({e.level, release + e.us});
        EXPECT_EQ(readyEdges, expected) << c.settings.size();
    }
}

TEST_F(CoprocModelTest, RequestsAreAnsweredOnlyAfterBoot) {
    Pulse(CoprocModel::kRequestLine); // held in reset since power-on
    coproc.LineChanged(CoprocModel::kResetLine, true, now);
    now += 200 * kMs;
    Pulse(CoprocModel::kRequestLine); // in the middle of the boot pulse
    now += 200 * kMs;
    coproc.SettleTo(now);
    readyEdges.clear();
    Pulse(CoprocModel::kRequestLine);
    coproc.SettleTo(now + 30);
    ASSERT_EQ(exchanges.size(), 2u);
    EXPECT_EQ(exchanges[0].error, "request not answered: held in reset");
    EXPECT_EQ(exchanges[1].error, "request not answered: still booting");
    EXPECT_EQ(readyEdges, (std::vector<Edge>{{true, now + 30}}));
}

// The loader takes the header, keeps each block at its offset and starts the image; a reset
// leaves nothing behind.
TEST_F(CoprocModelTest, LoadsKeepBytesAtTheirOffsetsUntilReset) {
    Boot();
    std::vector<std::uint8_t> image(9001);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = std::uint8_t(i * 13 + i / 256);
    EXPECT_EQ(Load(image), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(coproc.Image(), image);
    EXPECT_TRUE(coproc.Started());
    const nlohmann::json state = coproc.State();
    EXPECT_EQ(state["image"]["size"], 9001);
    EXPECT_EQ(state["image"]["sha256"], Sha256::Hex(image.data(), image.size()));
    EXPECT_EQ(state["last_command"]["name"], "START");
    const auto started = Events("coproc.started");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].fields["size"], 9001);

    coproc.LineChanged(CoprocModel::kResetLine, false, now);
    EXPECT_TRUE(coproc.Image().empty());
    EXPECT_FALSE(coproc.Started());
}

TEST_F(CoprocModelTest, QueriesAnswerFromSettingsOnceTheImageRuns) {
    Boot();
    EXPECT_EQ(Status(Exchange(Frame(0x61, 8), 18)), CoprocModel::kStatusUnknownCommand);
    Load({1, 2, 3});
    for (const char* kv : {"firmware_version=2.7.0.19", "battery=0.25", "charging=1",
                           "battery_warning=0", "clock=2008-11-13 09:30:05", "product_code=6"}) {
        const std::string s = kv;
        ASSERT_EQ(coproc.Set(s.substr(0, s.find('=')), s.substr(s.find('=') + 1), now), "") << kv;
    }
    const auto version = Exchange(Frame(0x61, 8), 18);
    EXPECT_EQ(std::vector<std::uint8_t>(version.begin() + 6, version.begin() + 10),
              (std::vector<std::uint8_t>{2, 7, 0, 19}));
    const auto battery = Exchange(Frame(0x62, 8), 16);
    float level = 0;
    std::memcpy(&level, &battery[8], 4);
    EXPECT_EQ(battery[6], 0);
    EXPECT_EQ(battery[7], 1);
    EXPECT_EQ(level, 0.25f);
    const auto clock = Exchange(Frame(0x63, 8), 48);
    const std::uint32_t expected[6] = {5, 30, 9, 13, 11, 2008};
    for (int i = 0; i < 6; ++i) {
        std::uint32_t word = 0;
        std::memcpy(&word, &clock[8 + 4 * i], 4);
        EXPECT_EQ(word, expected[i]) << i;
    }
    const auto identity = Exchange(Frame(0x64, 8), 14);
    EXPECT_EQ(identity[6], 6);
    // The checksums worked by hand: the identity's is 0x64 + 14 + 6 = 0x78.
    const std::pair<const std::vector<std::uint8_t>*, std::uint8_t> sums[] = {
        {&version, 0x8F}, {&battery, 0x31}, {&clock, 0xB6}, {&identity, 0x78}};
    for (const auto& [reply, sum] : sums) {
        const int r = (*reply)[2] | (*reply)[3] << 8;
        EXPECT_EQ(std::size_t(r), reply->size());
        EXPECT_EQ((*reply)[r - 4], sum) << "reply " << int((*reply)[0]);
        EXPECT_EQ(Status(*reply), 0);
    }
}

// Frames the co-processor refuses, and the status it answers with.
TEST_F(CoprocModelTest, RefusedFramesGetTheirOwnStatus) {
    Boot();
    const struct {
        const char* name;
        std::vector<std::uint8_t> frame;
        int status;
    } cases[] = {
        {"block before header", Block(0, {1}), CoprocModel::kStatusOutOfSequence},
        {"wrong header word", Frame(0x40, 12, 0x1234), CoprocModel::kStatusBadArgument},
        {"wrong length for the command", Frame(0x40, 16, 0x00801000), CoprocModel::kStatusBadFrame},
        {"unknown command", Frame(0x55, 8), CoprocModel::kStatusUnknownCommand},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Status(Exchange(c.frame, 10)), c.status) << c.name;

    // Frames spoilt after their checksum was written: a wrong checksum, a length past the
    // bytes clocked in.
    const struct {
        const char* name;
        int spoilAt;
        std::uint8_t value;
        int status;
        std::optional<bool> checksumOk;
    } spoilt[] = {
        {"checksum", 8, 0x00, CoprocModel::kStatusBadChecksum, false},
        {"length", 3, 0x01, CoprocModel::kStatusBadFrame, std::nullopt},
    };
    for (const auto& c : spoilt) {
        auto frame = Frame(0x40, 12, 0x00801000);
        frame[8] = 0x40 + 12 + 0x10 + 0x80;
        frame.resize(16);
        frame[c.spoilAt] = c.value;
        Pulse(CoprocModel::kRequestLine);
        now += kMs;
        coproc.Shift(frame, now);
        Pulse(CoprocModel::kReleaseLine);
        EXPECT_EQ(exchanges.back().checksumOk, c.checksumOk) << c.name;
        EXPECT_EQ(exchanges.back().status, c.status) << c.name;
    }
}

TEST_F(CoprocModelTest, FaultsShapeTheReplies) {
    Boot();
    ASSERT_EQ(coproc.Set("status.LOAD_HEADER", "7", now), "");
    EXPECT_EQ(Status(Exchange(Frame(0x40, 12, 0x00801000), 10)), 7);
    ASSERT_EQ(coproc.Set("status.0x40", "0", now), "");
    ASSERT_EQ(coproc.Set("bad_checksums", "2", now), "");
    for (int i = 0; i < 3; ++i) {
        const auto reply = Exchange(Frame(0x40, 12, 0x00801000), 10);
        // The right sum is 0x40 + 10 = 0x4A.
        EXPECT_EQ(reply[6] == 0x4A, i == 2) << i;
    }
    EXPECT_EQ(coproc.State()["faults"]["bad_checksums"], 0);
}

TEST_F(CoprocModelTest, SetRejectsWhatItCannotUse) {
    const struct {
        const char* key;
        const char* value;
        const char* error; // a part of the answer
    } cases[] = {
        {"volume", "3", "unknown setting 'volume'"},
        {"battery_level", "full", "bad value 'full' for battery_level"},
        {"battery_charging", "2", "0 or 1"},
        {"clock", "2008-11-13", "YYYY-MM-DD hh:mm:ss"},
        {"firmware_version", "1.2.3.256", "a.b.c.d"},
        {"product_code", "-1", "0-255"},
        {"boot_rise_ms", "400", "must not be after boot_fall_ms"},
        {"status.REBOOT", "7", "unknown command 'REBOOT'"},
        {"status.GET_CLOCK", "70000", "status code"},
    };
    const nlohmann::json before = coproc.State();
    for (const auto& c : cases) {
        const std::string error = coproc.Set(c.key, c.value, now);
        EXPECT_NE(error.find(c.error), std::string::npos) << c.key << ": " << error;
    }
    EXPECT_EQ(coproc.State(), before);
    // An impossible date is kept as given: the co-processor sends what its clock says.
    EXPECT_EQ(coproc.Set("clock", "2008-13-32 24:60:61", now), "");
    EXPECT_EQ(coproc.State()["settings"]["clock"], "2008-13-32 24:60:61");
}

TEST_F(CoprocModelTest, UnpluggedAnswersNothing) {
    Boot();
    ASSERT_EQ(coproc.Set("unplugged", "1", now), "");
    coproc.LineChanged(CoprocModel::kResetLine, false, now);
    coproc.LineChanged(CoprocModel::kResetLine, true, now);
    Pulse(CoprocModel::kRequestLine);
    now += 5000 * kMs;
    EXPECT_FALSE(coproc.ReadyLevel(now));
    EXPECT_EQ(coproc.Shift(std::vector<std::uint8_t>(16, 0x55), now),
              std::vector<std::uint8_t>(16, 0));
    EXPECT_EQ(coproc.State()["exchanges"], 0);
}

} // namespace
