// The version calls on a module compiled by norvane-rc: the fixed file information, the
// translation words and string values as host text, names the block does not hold, the files
// that give no size, and buffers smaller than the size asked for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kernel/DeviceStorage.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Resources.h"
#include "platform/kernel/VersionInfo.h"
#include "testsupport/StorageTempDir.h"

extern const ResourceModuleData VersionFixtureResources;

namespace {

constexpr LPCTSTR kModule = L"\\Windows\\VersionFixture.dll";

class VersionInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(RegisterResourceModule(L"\\Windows\\VersionTest.exe", VersionFixtureResources),
                  nullptr);
        ASSERT_NE(RegisterResourceModule(kModule, VersionFixtureResources), nullptr);
        DeviceStorage::Configure(dir.Path() / "state", dir.Path() / "card");
    }

    // The module's version information in a buffer of the size asked for (or of size bytes),
    // followed by guard bytes that the call must leave alone.
    std::vector<BYTE> Read(LPCTSTR file, DWORD size = 0) {
        const DWORD needed = GetFileVersionInfoSize(file, nullptr);
        EXPECT_GT(needed, 0u);
        if (size == 0)
            size = needed;
        std::vector<BYTE> buffer(size + kGuard, kGuardByte);
        EXPECT_TRUE(GetFileVersionInfo(file, 0, size, buffer.data()));
        for (std::size_t i = size; i < buffer.size(); ++i)
            EXPECT_EQ(buffer[i], kGuardByte) << "written past the buffer at " << i;
        buffer.resize(size);
        return buffer;
    }

    static constexpr std::size_t kGuard = 64;
    static constexpr BYTE kGuardByte = 0xCC;
    StorageTempDir dir;
};

TEST_F(VersionInfoTest, RootBlockGivesTheFixedFileInformation) {
    const std::vector<BYTE> block = Read(kModule);
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValue(block.data(), L"\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwStrucVersion, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionMS, (3u << 16) | 1u);
    EXPECT_EQ(fixed->dwFileVersionLS, (4u << 16) | 15u);
    EXPECT_EQ(fixed->dwProductVersionMS, (2u << 16) | 7u);
    EXPECT_EQ(fixed->dwProductVersionLS, (1u << 16) | 8u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileOS, 4u);
    EXPECT_EQ(fixed->dwFileType, 2u);
    EXPECT_EQ(fixed->dwFileDateMS, 0u);
    EXPECT_EQ(static_cast<const void*>(fixed), static_cast<const void*>(block.data() + 40))
        << "the fixed part is the root's value, inside the caller's buffer";
}

TEST_F(VersionInfoTest, StringsAreHostTextInsideTheBuffer) {
    const std::vector<BYTE> block = Read(kModule);
    const struct {
        LPCTSTR path;
        std::wstring text;
    } cases[] = {
        {L"\\StringFileInfo\\040904b0\\FileVersion", L"3.1.4"},
        {L"\\stringfileinfo\\040904B0\\FILEVERSION", L"3.1.4"},
        {L"\\StringFileInfo\\040904b0\\ProductName", L"Fixture"},
        // A character beyond 16 bits is one pair of UTF-16 units in the block, one host
        // character here.
        {L"\\StringFileInfo\\040904b0\\Comments", L"確定 \U0001D11E!"},
    };
    for (const auto& c : cases) {
        LPVOID value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValue(block.data(), c.path, &value, &length)) << c.path;
        const auto* text = static_cast<const wchar_t*>(value);
        EXPECT_EQ(std::wstring(text), c.text) << c.path;
        EXPECT_EQ(length, c.text.size() + 1) << c.path << ": characters with the null";
        EXPECT_GE(static_cast<const BYTE*>(value), block.data());
        EXPECT_LT(static_cast<const BYTE*>(value), block.data() + block.size());
    }
}

TEST_F(VersionInfoTest, TranslationIsTheLanguageAndCodePageWords) {
    // The executable's own path, as GetModuleFileName gives it, reads the same tables.
    wchar_t exe[260];
    ASSERT_GT(GetModuleFileName(nullptr, exe, 260), 0u);
    const std::vector<BYTE> block = Read(exe);
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValue(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    const auto* words = static_cast<const WORD*>(value);
    EXPECT_EQ(words[0], 0x0409);
    EXPECT_EQ(words[1], 1200);
}

TEST_F(VersionInfoTest, NamesTheBlockDoesNotHoldAreNotFound) {
    const std::vector<BYTE> block = Read(kModule);
    for (LPCTSTR path : {L"\\StringFileInfo\\040904b0\\CompanyName", L"\\Nothing",
                         L"\\StringFileInfo\\041104b0\\FileVersion",
                         L"\\VarFileInfo\\Translation\\More", L"\\StringFileInfo\\040904b"}) {
        LPVOID value = nullptr;
        UINT length = 7;
        EXPECT_FALSE(VerQueryValue(block.data(), path, &value, &length)) << path;
    }
    // A block is there but holds no value of its own.
    LPVOID value = nullptr;
    UINT length = 7;
    EXPECT_TRUE(VerQueryValue(block.data(), L"\\StringFileInfo", &value, &length));
    EXPECT_EQ(length, 0u);
}

TEST_F(VersionInfoTest, FilesWithoutAVersionBlockGiveNoSize) {
    static const ResourceModuleData noVersion{};
    ASSERT_NE(RegisterResourceModule(L"\\Windows\\Plain.dll", noVersion), nullptr);
    dir.Write("card/Norvane/Zentra/Zentra.exe", "not a module of this device");
    const struct {
        LPCTSTR file;
        DWORD error;
    } cases[] = {
        {L"\\Windows\\Plain.dll", DWORD(ERROR_RESOURCE_TYPE_NOT_FOUND)},
        {L"\\Storage Card\\Norvane\\Zentra\\Zentra.exe", DWORD(ERROR_RESOURCE_DATA_NOT_FOUND)},
        {L"\\Storage Card\\Norvane\\Zentra\\Missing.exe", DWORD(ERROR_FILE_NOT_FOUND)},
        {L"\\Windows\\Missing.dll", DWORD(ERROR_FILE_NOT_FOUND)},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        DWORD handle = 99;
        EXPECT_EQ(GetFileVersionInfoSize(c.file, &handle), 0u) << c.file;
        EXPECT_EQ(GetLastError(), c.error) << c.file;
        EXPECT_EQ(handle, 0u) << c.file;
        BYTE buffer[256] = {};
        SetLastError(0);
        EXPECT_FALSE(GetFileVersionInfo(c.file, 0, sizeof buffer, buffer)) << c.file;
        EXPECT_EQ(GetLastError(), c.error) << c.file;
    }
}

TEST_F(VersionInfoTest, ABufferTooSmallHoldsOnlyWhatFitsWhole) {
    const DWORD needed = GetFileVersionInfoSize(kModule, nullptr);
    LPVOID value = nullptr;
    UINT length = 0;

    // One byte short: the block is whole, but no host text fits.
    const std::vector<BYTE> almost = Read(kModule, needed - 1);
    EXPECT_TRUE(VerQueryValue(almost.data(), L"\\", &value, &length));
    EXPECT_TRUE(VerQueryValue(almost.data(), L"\\VarFileInfo\\Translation", &value, &length));
    EXPECT_FALSE(
        VerQueryValue(almost.data(), L"\\StringFileInfo\\040904b0\\FileVersion", &value, &length));

    // The root's header fits, its fixed part does not.
    const std::vector<BYTE> cut = Read(kModule, 64);
    EXPECT_FALSE(VerQueryValue(cut.data(), L"\\", &value, &length));
    EXPECT_FALSE(VerQueryValue(cut.data(), L"\\VarFileInfo\\Translation", &value, &length));

    BYTE tiny[8];
    SetLastError(0);
    EXPECT_FALSE(GetFileVersionInfo(kModule, 0, sizeof tiny, tiny));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
}

} // namespace
