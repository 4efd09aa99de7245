// Device paths on the host: the card and state roots, case-insensitive matching, and the
// confinement that keeps every device path inside its root; CFile reading through them.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/kernel/CFile.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/DeviceStorage.h"
#include "platform/kernel/LastError.h"
#include "testsupport/StorageTempDir.h"

namespace fs = std::filesystem;

namespace {

std::string Utf8(const wchar_t* text) {
    return text ? CString(text).ToUtf8() : "(null)";
}

constexpr const char* kCatalogue = "[Zentra]\nPara=-demo\n";

// card/ is the storage card, state/ the state directory, outside/ a folder no device path may
// reach; the card holds one link that stays inside it and one that points out.
class DevicePathTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir.Write("card/Norvane/App/NorvaneApp.ini", kCatalogue);
        m_dir.Write("card/Norvane/Dup.txt", "mixed");
        m_dir.Write("card/Norvane/DUP.TXT", "upper");
        m_dir.Write("state/root/Windows/Boot.txt", "boot");
        m_dir.Write("outside/secret.txt", "secret");
        fs::create_directory_symlink("App", Card() / "Norvane/Inside");
        fs::create_directory_symlink("../../outside", Card() / "Norvane/Escape");
        fs::create_directory_symlink("/", State() / "root/Host");
        DeviceStorage::Configure(State(), Card());
    }
    void TearDown() override { DeviceStorage::Configure({}, {}); }

    fs::path Card() const { return m_dir.Path() / "card"; }
    fs::path State() const { return m_dir.Path() / "state"; }

    StorageTempDir m_dir;
};

TEST_F(DevicePathTest, ResolvesInsideTheRootsOrRefuses) {
    const struct {
        const wchar_t* device;
        std::optional<std::string> host; // relative to the test folder; nothing when refused
    } cases[] = {
        {L"\\Storage Card\\Norvane\\App\\NorvaneApp.ini", "card/Norvane/App/NorvaneApp.ini"},
        {L"\\storage card\\NORVANE\\app\\norvaneapp.ini", "card/Norvane/App/NorvaneApp.ini"},
        {L"\\Storage Card\\Norvane\\.\\App\\..\\App\\NorvaneApp.ini",
         "card/Norvane/App/NorvaneApp.ini"},
        {L"\\Storage Card\\Norvane\\App\\", "card/Norvane/App"},
        {L"\\Storage Card", "card"},
        {L"\\Storage Card\\Norvane\\Zentra\\Zentra.exe", "card/Norvane/Zentra/Zentra.exe"},
        {L"\\Storage Card\\Norvane\\Inside\\NorvaneApp.ini", "card/Norvane/App/NorvaneApp.ini"},
        {L"\\Storage Card\\Norvane\\Dup.txt", "card/Norvane/Dup.txt"},
        {L"\\Storage Card\\Norvane\\dup.txt", "card/Norvane/DUP.TXT"},
        {L"\\Windows\\Boot.txt", "state/root/Windows/Boot.txt"},
        {L"\\WINDOWS\\boot.TXT", "state/root/Windows/Boot.txt"},
        {L"\\Storage Card\\..\\Windows\\Boot.txt", "state/root/Windows/Boot.txt"},
        {L"\\Storage Card2\\x", "state/root/Storage Card2/x"},
        {L"\\", "state/root"},
        // Refused: climbing above the device's root, host and relative paths, network paths.
        {L"\\..\\etc\\passwd", std::nullopt},
        {L"\\Storage Card\\..\\..\\outside\\secret.txt", std::nullopt},
        {L"/etc/passwd", std::nullopt},
        {L"", std::nullopt},
        {L"Norvane\\App\\NorvaneApp.ini", std::nullopt},
        {L"\\\\server\\share\\x", std::nullopt},
        // Refused: links that lead out of the root.
        {L"\\Storage Card\\Norvane\\Escape\\secret.txt", std::nullopt},
        {L"\\Storage Card\\Norvane\\Escape", std::nullopt},
        {L"\\Host\\etc\\passwd", std::nullopt},
        // Refused: characters the card's file system cannot hold.
        {L"\\Storage Card\\a:b", std::nullopt},
        {L"\\Storage Card\\a*", std::nullopt},
        {L"\\Storage Card\\a?", std::nullopt},
        {L"\\Storage Card\\a|b", std::nullopt},
        {L"\\Storage Card\\a\"b", std::nullopt},
        {L"\\Storage Card\\a<b>", std::nullopt},
        {L"\\Storage Card\\a\x01"
         L"b",
         std::nullopt},
        {L"\\Storage Card\\Norvane/../../outside/secret.txt", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << Utf8(c.device));
        const auto resolved = DeviceStorage::Resolve(c.device);
        if (c.host)
            EXPECT_EQ(resolved, std::optional<fs::path>(m_dir.Path() / *c.host));
        else
            EXPECT_EQ(resolved, std::nullopt) << *resolved;
    }
    EXPECT_EQ(DeviceStorage::Resolve(nullptr), std::nullopt);
}

TEST_F(DevicePathTest, NothingResolvesUnderARootThatIsNotConfigured) {
    DeviceStorage::Configure(State(), {});
    EXPECT_EQ(DeviceStorage::Resolve(L"\\Storage Card\\Norvane\\App\\NorvaneApp.ini"),
              std::nullopt);
    EXPECT_EQ(DeviceStorage::Resolve(L"\\Windows\\Boot.txt"),
              std::optional<fs::path>(State() / "root/Windows/Boot.txt"));
    DeviceStorage::Configure({}, Card());
    EXPECT_EQ(DeviceStorage::Resolve(L"\\Windows\\Boot.txt"), std::nullopt);
}

TEST_F(DevicePathTest, CFileReadsAWholeFileInPieces) {
    CFile file;
    ASSERT_TRUE(file.Open(L"\\STORAGE CARD\\norvane\\App\\NORVANEAPP.INI",
                          CFile::modeRead | CFile::typeBinary));
    ASSERT_EQ(file.GetLength(), std::string(kCatalogue).size());
    std::string read;
    char piece[5];
    while (UINT n = file.Read(piece, sizeof piece))
        read.append(piece, n);
    EXPECT_EQ(read, kCatalogue);
    file.Close();
    EXPECT_EQ(file.Read(piece, sizeof piece), 0u);
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST_F(DevicePathTest, CFileOpenFailuresSetTheLastError) {
    const struct {
        const wchar_t* path;
        UINT flags;
        DWORD error;
    } cases[] = {
        {L"\\Storage Card\\Norvane\\App\\Missing.ini", CFile::modeRead, ERROR_FILE_NOT_FOUND},
        {L"\\Storage Card\\Norvane\\NoDir\\NorvaneApp.ini", CFile::modeRead, ERROR_PATH_NOT_FOUND},
        {L"\\Storage Card\\Norvane\\App", CFile::modeRead, ERROR_ACCESS_DENIED},
        {L"\\Storage Card\\Norvane\\Escape\\secret.txt", CFile::modeRead, ERROR_FILE_NOT_FOUND},
        {L"\\Storage Card\\..\\..\\outside\\secret.txt", CFile::modeRead, ERROR_FILE_NOT_FOUND},
        {L"/etc/passwd", CFile::modeRead, ERROR_FILE_NOT_FOUND},
        {L"", CFile::modeRead, ERROR_FILE_NOT_FOUND},
        {nullptr, CFile::modeRead, ERROR_FILE_NOT_FOUND},
        {L"\\Storage Card\\Norvane\\App\\NorvaneApp.ini", 0x0001, ERROR_INVALID_PARAMETER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << Utf8(c.path));
        CFile file;
        SetLastError(0);
        EXPECT_FALSE(file.Open(c.path, c.flags));
        EXPECT_EQ(GetLastError(), c.error);
        char byte;
        EXPECT_EQ(file.Read(&byte, 1), 0u);
    }
}

} // namespace
