// The recording's GIF writer, read back with giflib: delays in device time that add up to the
// recording, a frame only for a change, the changed rectangle only, exact colours up to 256.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "GifFrames.h"
#include "sim/control/GifWriter.h"

namespace {

namespace fs = std::filesystem;

constexpr int kW = 16;
constexpr int kH = 16;

class GifWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/norvane-gif-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        m_dir = dir;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // A picture of one colour with the pixel x, y in another.
    static std::vector<std::uint32_t> Picture(std::uint32_t rgb, int x = -1, int y = -1,
                                              std::uint32_t dot = 0xFFFFFF) {
        std::vector<std::uint32_t> p(std::size_t(kW * kH), rgb);
        if (x >= 0)
            p[std::size_t(y * kW + x)] = dot;
        return p;
    }

    struct Shot {
        std::vector<std::uint32_t> pixels;
        std::uint64_t us;
    };
    // Records the pictures at their times (device microseconds) and reads the file back.
    GifFrames Record(const std::vector<Shot>& shots, std::uint64_t durationUs, int w = kW,
                     int h = kH) {
        const fs::path file = m_dir / "out.gif";
        GifWriter gif(w, h);
        EXPECT_EQ(gif.Open(file, durationUs), "");
        for (const Shot& shot : shots)
            EXPECT_EQ(gif.Add(shot.pixels, shot.us), "");
        EXPECT_EQ(gif.Finish(), "");
        std::string error;
        GifFrames frames = GifFrames::Read(file, error);
        EXPECT_EQ(error, "");
        EXPECT_EQ(gif.Frames(), int(frames.Frames().size()));
        return frames;
    }

    fs::path m_dir;
};

std::vector<int> Delays(const GifFrames& gif) {
    std::vector<int> delays;
    for (const GifFrames::Frame& f : gif.Frames())
        delays.push_back(f.delayCs);
    return delays;
}

TEST_F(GifWriterTest, DelaysAreDeviceTimeAndAddUpToTheRecording) {
    struct Case {
        const char* what;
        std::vector<std::uint64_t> changesUs; // a new picture at each, after the first at 0
        std::uint64_t durationUs;
        std::vector<int> delays;
    };
    const Case cases[] = {
        {"plain", {100'000, 250'000}, 1'000'000, {10, 15, 75}},
        // 2.5 cs each: rounding each frame on its own would make 12 cs of 10.
        {"rounding carried", {25'000, 50'000, 75'000}, 100'000, {3, 2, 3, 2}},
        // Up for less than 2 cs: the later picture takes the frame's place.
        {"too short to show", {5'000, 12'000, 50'000}, 100'000, {5, 5}},
        // Due 1 ms before the end: shown 2 cs before it instead.
        {"at the very end", {99'000}, 100'000, {8, 2}},
        // A still screen longer than a GIF delay can say (65535 cs) is several frames.
        {"an hour of nothing", {}, 3600'000'000, {65535, 65535, 65535, 65535, 65535, 32325}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Shot> shots = {{Picture(0x000000), 0}};
        for (std::size_t i = 0; i < c.changesUs.size(); ++i)
            shots.push_back({Picture(0x000000, int(i), 0), c.changesUs[i]});
        const GifFrames gif = Record(shots, c.durationUs);
        EXPECT_EQ(Delays(gif), c.delays);
        EXPECT_EQ(gif.TotalDelayCs(), int(c.durationUs / 10'000));
    }
}

TEST_F(GifWriterTest, AFrameOnlyWhenThePictureChangedHoldingTheChangedRectangle) {
    const auto a = Picture(0x102030);
    const auto b = Picture(0x102030, 3, 5);
    auto c = b;
    c[std::size_t(9 * kW + 12)] = 0xFF0000;
    const GifFrames gif = Record({{a, 0},
                                  {a, 100'000},
                                  {b, 200'000},
                                  {b, 300'000},
                                  {c, 400'000},
                                  {a, 500'000},
                                  {a, 600'000}},
                                 1'000'000);
    ASSERT_EQ(gif.Frames().size(), 4u);
    EXPECT_EQ(Delays(gif), (std::vector<int>{20, 20, 10, 50}));
    const auto rect = [](const GifFrames::Frame& f) {
        return std::vector<int>{f.left, f.top, f.width, f.height};
    };
    EXPECT_EQ(rect(gif.Frames()[0]), (std::vector<int>{0, 0, kW, kH}));
    EXPECT_EQ(rect(gif.Frames()[1]), (std::vector<int>{3, 5, 1, 1}));
    EXPECT_EQ(rect(gif.Frames()[2]), (std::vector<int>{12, 9, 1, 1}));
    EXPECT_EQ(rect(gif.Frames()[3]), (std::vector<int>{3, 5, 10, 5}));
    const std::vector<std::uint32_t> shown[] = {a, b, c, a};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(gif.Frames()[i].screen, shown[i]) << "frame " << i;

    // Changed and changed back within a frame's time: the time still counts, in a frame of
    // one unchanged pixel.
    const GifFrames back = Record({{a, 0}, {b, 100'000}, {a, 105'000}}, 200'000);
    EXPECT_EQ(Delays(back), (std::vector<int>{10, 10}));
    EXPECT_EQ(rect(back.Frames()[1]), (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(back.Frames()[1].screen, a);
}

TEST_F(GifWriterTest, ColoursAreExactUpTo256AndWithinHalfACubeLevelBeyond) {
    for (const int colours : {2, 256, 257, 320}) {
        SCOPED_TRACE(colours);
        constexpr int kWide = 20;
        std::vector<std::uint32_t> p(std::size_t(kWide * kH), 0);
        // Colours that differ in every channel, so the cube cannot keep them all.
        for (std::size_t i = 0; i < p.size(); ++i) {
            const auto n = std::uint32_t(i % std::size_t(colours));
            p[i] = (n * 97 % 256) << 16 | (n * 61 % 256) << 8 | (n * 13 + n / 256 * 7) % 256;
        }
        const GifFrames gif = Record({{p, 0}}, 100'000, kWide, kH);
        ASSERT_EQ(gif.Frames().size(), 1u);
        const auto& shown = gif.Frames()[0].screen;
        if (colours <= 256) {
            EXPECT_EQ(shown, p);
            continue;
        }
        EXPECT_EQ(gif.Frames()[0].colours, 256);
        for (std::size_t i = 0; i < p.size(); ++i)
            for (const auto& [shift, halfLevel] : {std::pair{16, 26}, {8, 22}, {0, 26}}) {
                const int want = int(p[i] >> shift & 0xFF);
                const int got = int(shown[i] >> shift & 0xFF);
                ASSERT_LE(std::abs(want - got), halfLevel) << "pixel " << i << " shift " << shift;
            }
    }
}

TEST_F(GifWriterTest, RefusesAnUnwritablePathAndARecordingTooShortToShow) {
    GifWriter gif(kW, kH);
    EXPECT_NE(gif.Open(m_dir / "no-such-folder" / "out.gif", 1'000'000).find("No such file"),
              std::string::npos);
    GifWriter brief(kW, kH);
    EXPECT_NE(brief.Open(m_dir / "short.gif", 14'000), "");
    EXPECT_NE(brief.Add(Picture(0), 0), "");
    GifWriter shortest(kW, kH);
    EXPECT_EQ(shortest.Open(m_dir / "shortest.gif", 15'000), "");
    EXPECT_EQ(shortest.Add(Picture(0), 0), "");
    EXPECT_EQ(shortest.Finish(), "");
}

} // namespace
