// PlaySound on a module of waves: what plays, what stays silent, and what the sound sink and the
// event log are told.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/kernel/EventLog.h"
#include "platform/kernel/Resources.h"
#include "platform/kernel/Sound.h"
#include "platform/kernel/SoundSink.h"

extern const ResourceModuleData SoundResources;

namespace {

constexpr DWORD kClickFlags = SND_RESOURCE | SND_ASYNC | SND_NODEFAULT;

HMODULE Module() {
    return RegisterResourceModule(L"\\Windows\\SoundTest.exe", SoundResources);
}

class RecordingSink : public SoundSink {
public:
    RecordingSink() { SoundSink::Install(this); }
    ~RecordingSink() override { SoundSink::Uninstall(this); }
    void Play(std::span<const std::uint8_t> wave, bool wait) override {
        waves.emplace_back(wave.begin(), wave.end());
        waits.push_back(wait);
    }
    std::vector<std::vector<std::uint8_t>> waves;
    std::vector<bool> waits;
};

std::vector<std::string> PlayedEvents() {
    std::vector<std::string> out;
    for (const EventLog::Entry& e : EventLog::Instance().Since())
        if (e.kind == "sound.played")
            out.push_back(e.fields["resource"].dump());
    return out;
}

struct PlayCase {
    const char* what;
    LPCTSTR sound;
    bool ownModule; // false: NULL, the executable
    DWORD flags;
    BOOL played;
};

TEST(SoundTest, OnlyPlayableWaveResourcesPlay) {
    ASSERT_NE(Module(), nullptr);
    ASSERT_EQ(GetModuleHandle(nullptr), Module());
    const PlayCase cases[] = {
        {"ordinal", MAKEINTRESOURCE(143), true, kClickFlags, TRUE},
        {"executable", MAKEINTRESOURCE(143), false, kClickFlags, TRUE},
        {"name in other case", L"CLICK", true, SND_RESOURCE, TRUE},
        {"no such wave", MAKEINTRESOURCE(144), true, kClickFlags, FALSE},
        {"a bitmap, not a wave", MAKEINTRESOURCE(130), true, kClickFlags, FALSE},
        {"not a RIFF file", L"Bitmap", true, kClickFlags, FALSE},
        {"longer than its bytes", L"Truncated", true, kClickFlags, FALSE},
        {"not a resource request", MAKEINTRESOURCE(143), true, SND_ASYNC | SND_NODEFAULT, FALSE},
        {"no name", nullptr, true, kClickFlags, FALSE},
    };
    for (const PlayCase& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingSink sink;
        EventLog::Instance().Clear();
        const std::uint64_t before = SoundSink::PlayedCount();
        EXPECT_EQ(c.played, PlaySound(c.sound, c.ownModule ? Module() : nullptr, c.flags));
        EXPECT_EQ(before + (c.played ? 1 : 0), SoundSink::PlayedCount());
        EXPECT_EQ(c.played ? 1u : 0u, sink.waves.size());
        EXPECT_EQ(c.played ? 1u : 0u, PlayedEvents().size());
    }
}

TEST(SoundTest, SinkHearsTheWaveBytesAndWhetherToWait) {
    RecordingSink sink;
    EventLog::Instance().Clear();
    ASSERT_TRUE(PlaySound(MAKEINTRESOURCE(143), Module(), kClickFlags));
    ASSERT_TRUE(PlaySound(L"Click", Module(), SND_RESOURCE | SND_SYNC));
    ASSERT_EQ(2u, sink.waves.size());
    const std::vector<std::uint8_t> tick = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    EXPECT_EQ(tick, sink.waves[0]);
    EXPECT_EQ(tick, sink.waves[1]);
    EXPECT_EQ((std::vector<bool>{false, true}), sink.waits);
    EXPECT_EQ((std::vector<std::string>{"143", "\"Click\""}), PlayedEvents());
}

TEST(SoundTest, WithoutASinkSoundsAreStillCounted) {
    const std::uint64_t before = SoundSink::PlayedCount();
    { RecordingSink gone; }
    EXPECT_TRUE(PlaySound(MAKEINTRESOURCE(143), Module(), kClickFlags));
    EXPECT_EQ(before + 1, SoundSink::PlayedCount());
}

} // namespace
