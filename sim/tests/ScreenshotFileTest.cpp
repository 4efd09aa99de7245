// The window's screenshot key: PNG files beside the state directory, numbered so that none is
// written over, and a place that cannot be written said so.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "ScreenImage.h"
#include "sim/shell/ScreenshotFile.h"

namespace {

namespace fs = std::filesystem;

TEST(ScreenshotFileTest, SavesBesideTheStateDirectoryUnderTheNextFreeName) {
    char base[] = "/tmp/norvane-screenshot-test-XXXXXX";
    ASSERT_NE(::mkdtemp(base), nullptr);
    const fs::path state = fs::path(base) / "state";
    fs::create_directory(state);
    // A picture whose corners differ, so one cut, turned or with its channels swapped fails.
    std::vector<std::uint32_t> pixels(6 * 4, 0x000000);
    pixels[0] = 0xFF0000;
    pixels[5] = 0x00FF00;
    pixels[23] = 0x0000FF;
    // -2 is taken already: it stays as it was and the third shot goes to -3.
    std::ofstream(fs::path(base) / "state-screen-2.png") << "someone else's";

    std::string error;
    // The trailing separator of a state directory named so does not change where it goes.
    const fs::path first = ScreenshotFile::Save(state.string() + "/", pixels, 6, 4, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(first, fs::path(base) / "state-screen-1.png");
    const fs::path second = ScreenshotFile::Save(state, pixels, 6, 4, error);
    EXPECT_EQ(second, fs::path(base) / "state-screen-3.png");
    std::ifstream taken(fs::path(base) / "state-screen-2.png");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(taken), {}), "someone else's");

    const ScreenImage image = ScreenImage::Read(second);
    ASSERT_EQ(image.Width(), 6);
    ASSERT_EQ(image.Height(), 4);
    EXPECT_EQ(image.At(0, 0), "#FF0000");
    EXPECT_EQ(image.At(5, 0), "#00FF00");
    EXPECT_EQ(image.At(5, 3), "#0000FF");
    EXPECT_EQ(image.At(1, 1), "#000000");

    const fs::path nowhere =
        ScreenshotFile::Save(fs::path(base) / "gone" / "state", pixels, 6, 4, error);
    EXPECT_TRUE(nowhere.empty());
    EXPECT_NE(error.find("cannot write " + (fs::path(base) / "gone").string()), std::string::npos)
        << error;
    fs::remove_all(base);
}

} // namespace
