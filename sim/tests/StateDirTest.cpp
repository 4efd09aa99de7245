#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

#include "sim/shell/StateDir.h"

namespace {

unsigned ModeOf(const std::filesystem::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? unsigned(st.st_mode & 0777) : 0u;
}

TEST(StateDirTest, FreshDirectoryIsPrivateAndGoneAfterwards) {
    std::filesystem::path path;
    {
        std::string error;
        const auto state = StateDir::Open("", error);
        ASSERT_TRUE(state) << error;
        path = state->Path();
        EXPECT_TRUE(state->IsTemporary());
        EXPECT_EQ(ModeOf(path), 0700u);
        std::ofstream(state->RegistryPath()) << "Windows Registry Editor Version 5.00\n";
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(StateDirTest, GivenDirectoryIsMadePrivateAndKeptWithItsClockOffset) {
    char base[] = "/tmp/norvane-statedir-test-XXXXXX";
    ASSERT_NE(::mkdtemp(base), nullptr);
    const std::filesystem::path dir = std::filesystem::path(base) / "state";
    std::string error;
    {
        const auto state = StateDir::Open(dir, error);
        ASSERT_TRUE(state) << error;
        EXPECT_FALSE(state->IsTemporary());
        EXPECT_EQ(ModeOf(dir), 0700u);
        EXPECT_EQ(state->LoadClockOffset(error), 0); // nothing saved yet
        EXPECT_EQ(state->SaveClockOffset(-86'400'123), "");
    }
    const auto again = StateDir::Open(dir, error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(again->LoadClockOffset(error), -86'400'123);
    std::filesystem::remove_all(base);
}

TEST(StateDirTest, ClockOffsetThatIsNotANumberIsRefusedAndLeftAlone) {
    std::string error;
    const auto state = StateDir::Open("", error);
    ASSERT_TRUE(state) << error;
    for (const char* bad : {"", "12x\n", "one hour\n", "99999999999999999999999\n"}) {
        SCOPED_TRACE(bad);
        std::ofstream(state->ClockOffsetPath()) << bad;
        error.clear();
        EXPECT_FALSE(state->LoadClockOffset(error));
        EXPECT_EQ(error, state->ClockOffsetPath().string() +
                             " does not hold a clock offset in milliseconds");
    }
}

TEST(StateDirTest, AStateDirectoryThatIsAFileIsRefused) {
    std::string error;
    const auto tmp = StateDir::Open("", error);
    ASSERT_TRUE(tmp) << error;
    const std::filesystem::path file = tmp->Path() / "file";
    std::ofstream(file) << "x";
    EXPECT_FALSE(StateDir::Open(file, error));
    EXPECT_EQ(error, "the state directory " + file.string() + " is not a directory");
}

} // namespace
