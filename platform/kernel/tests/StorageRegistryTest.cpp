// The device registry: values through the API, the .reg file they persist in, and the file's
// safety (a file that does not parse is never overwritten; an interrupted flush keeps the old
// file whole).
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/kernel/EventLog.h"
#include "platform/kernel/Registry.h"
#include "testsupport/StorageTempDir.h"

namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\n";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Registry::Instance().Load(File())); }
    void TearDown() override { Registry::Instance().SetBeforeRenameHookForTest(nullptr); }

    std::filesystem::path File() const { return m_dir.Path() / "registry.reg"; }

    static HKEY Create(const wchar_t* path) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    static void SetString(HKEY key, const wchar_t* name, const std::wstring& text) {
        ASSERT_EQ(RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                DWORD((text.size() + 1) * sizeof(TCHAR))),
                  ERROR_SUCCESS);
    }
    static void SetDword(HKEY key, const wchar_t* name, DWORD value) {
        ASSERT_EQ(RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                sizeof value),
                  ERROR_SUCCESS);
    }
    // The value's type and bytes as the device's code reads them, opening the key by path.
    static std::pair<DWORD, std::vector<BYTE>> Query(const wchar_t* keyPath, const wchar_t* name) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
        DWORD type = 0;
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueEx(key, name, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
        std::vector<BYTE> data(size);
        EXPECT_EQ(RegQueryValueEx(key, name, nullptr, &type, data.data(), &size), ERROR_SUCCESS);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        return {type, data};
    }
    static std::vector<BYTE> StringBytes(const std::wstring& text) {
        std::vector<BYTE> bytes((text.size() + 1) * sizeof(TCHAR));
        std::memcpy(bytes.data(), text.c_str(), bytes.size());
        return bytes;
    }

    StorageTempDir m_dir;
};

TEST_F(RegistryTest, ValuesRoundTripThroughTheFileWithCaseInsensitiveNames) {
    const std::wstring product = L"Caldro \"6\" C:\\Norvane 確定";
    const std::wstring twoLines = L"first\nsecond";
    const std::vector<BYTE> blob = {0x00, 0xFF, 0x10};
    HKEY i18n = Create(L"I18N");
    SetDword(i18n, L"Language", 0x404);
    HKEY hardware = Create(L"HARDWARE");
    SetString(hardware, L"Product", product);
    SetString(hardware, L"Notes", twoLines);
    ASSERT_EQ(RegSetValueEx(hardware, L"Blob", 0, REG_BINARY, blob.data(), DWORD(blob.size())),
              ERROR_SUCCESS);
    RegCloseKey(Create(L"Empty\\Leaf"));
    ASSERT_EQ(RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    RegCloseKey(i18n);
    RegCloseKey(hardware);

    const std::string text = StorageTempDir::Read(File());
    EXPECT_EQ(text.rfind(kHeader, 0), 0u) << text;
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\I18N]\n\"Language\"=dword:00000404\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"Product\"=\"Caldro \\\"6\\\" C:\\\\Norvane 確定\"\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\"Blob\"=hex:00,ff,10\n"), std::string::npos) << text;

    ASSERT_TRUE(Registry::Instance().Load(File()));
    EXPECT_EQ(Query(L"i18n", L"LANGUAGE"),
              std::make_pair(REG_DWORD, std::vector<BYTE>{0x04, 0x04, 0x00, 0x00}));
    EXPECT_EQ(Query(L"Hardware", L"product"), std::make_pair(REG_SZ, StringBytes(product)));
    EXPECT_EQ(Query(L"HARDWARE", L"Notes"), std::make_pair(REG_SZ, StringBytes(twoLines)));
    EXPECT_EQ(Query(L"HARDWARE", L"Blob"), std::make_pair(REG_BINARY, blob));
    HKEY leaf = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, L"EMPTY\\leaf", 0, 0, &leaf), ERROR_SUCCESS);
    RegCloseKey(leaf);
    // Saving what was loaded writes the same file again.
    EXPECT_EQ(Registry::Instance().ToText(), text);
}

TEST_F(RegistryTest, FileWrittenByHandLoads) {
    m_dir.Write("registry.reg", std::string("\xEF\xBB\xBF") + kHeader +
                                    "\r\n; the device's settings\r\n"
                                    "[HKEY_LOCAL_MACHINE\\Keyboard]\r\n"
                                    "\"Sound\"=dword:0\r\n"
                                    "@=\"default\"\r\n"
                                    "\"Long\"=hex(7):41,00,\\\r\n"
                                    "  42,00\r\n");
    ASSERT_TRUE(Registry::Instance().Load(File()));
    EXPECT_EQ(Query(L"Keyboard", L"Sound"), std::make_pair(REG_DWORD, std::vector<BYTE>(4, 0)));
    EXPECT_EQ(Query(L"Keyboard", nullptr), std::make_pair(REG_SZ, StringBytes(L"default")));
    EXPECT_EQ(Query(L"Keyboard", L"Long"),
              std::make_pair(DWORD(7), std::vector<BYTE>{0x41, 0x00, 0x42, 0x00}));
}

TEST_F(RegistryTest, ParseErrorNamesTheLineAndTheFileIsNeverOverwritten) {
    const std::string h = kHeader;
    const struct {
        std::string text;
        int line;
    } cases[] = {
        {"", 1},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n", 1},
        {h + "\"Orphan\"=\"value\"\n", 2},
        {h + "[HKEY_CURRENT_USER\\A]\n", 2},
        {h + "[HKEY_LOCAL_MACHINE\\A\n", 2},
        {h + "[HKEY_LOCAL_MACHINE\\A\\\\B]\n", 2},
        {h + "[-HKEY_LOCAL_MACHINE\\A]\n", 2},
        {h + "\n[HKEY_LOCAL_MACHINE\\A]\n\"x\"=dword:zz\n", 4},
        {h + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=dword:123456789\n", 3},
        {h + "[HKEY_LOCAL_MACHINE\\A]\n\"ok\"=\"1\"\n\"x\"=\"unterminated\n", 4},
        {h + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"bad \\n escape\"\n", 3},
        {h + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"a\" trailing\n", 3},
        {h + "[HKEY_LOCAL_MACHINE\\A]\n\"x\" \"y\"\n", 3},
        {h + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=hex:01,\\\n  zz\n", 3},
        {h + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=hex:01,\\\n", 3},
        {h + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=hex(q):01\n", 3},
        {h + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=-\n", 3},
        {h + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=qword:1\n", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        m_dir.Write("registry.reg", c.text);
        const Registry::LoadResult result = Registry::Instance().Load(File());
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.line, c.line) << result.message;
        EXPECT_FALSE(result.message.empty());

        HKEY key = Create(L"HARDWARE");
        SetString(key, L"Product", L"Caldro");
        EXPECT_EQ(RegFlushKey(key), ERROR_ACCESS_DENIED);
        EXPECT_FALSE(Registry::Instance().Save());
        RegCloseKey(key);
        EXPECT_EQ(StorageTempDir::Read(File()), c.text);
    }
}

TEST_F(RegistryTest, MissingFileIsAnEmptyRegistryAndKeysAreCreatedOnce) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, L"I18N", 0, KEY_ALL_ACCESS, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"HARDWARE\\Sub", 0, nullptr, 0, KEY_ALL_ACCESS,
                             nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"hardware\\SUB", 0, nullptr, 0, KEY_ALL_ACCESS,
                             nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);
}

TEST_F(RegistryTest, QueriesFollowThePlatformsSizeAndErrorRules) {
    HKEY key = Create(L"HARDWARE");
    SetString(key, L"Product", L"Caldro");
    const DWORD needed = 7 * sizeof(TCHAR);

    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(key, L"Product", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, needed);

    // Too small a buffer: ERROR_MORE_DATA, the size needed, and the buffer untouched.
    BYTE small[8];
    std::memset(small, 0xAB, sizeof small);
    size = sizeof small;
    EXPECT_EQ(RegQueryValueEx(key, L"Product", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(small[0], 0xAB);

    // A DWORD-sized read of a string value reports the stored type; the caller checks it.
    DWORD number = 0;
    size = sizeof number;
    type = REG_DWORD;
    EXPECT_EQ(
        RegQueryValueEx(key, L"Product", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size),
        ERROR_MORE_DATA);
    EXPECT_EQ(type, REG_SZ);

    // The launcher's 260-byte read of a present value succeeds with the exact size.
    TCHAR text[130] = {};
    size = sizeof text;
    EXPECT_EQ(
        RegQueryValueEx(key, L"Product", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(std::wstring(text), L"Caldro");

    EXPECT_EQ(RegQueryValueEx(key, L"Missing", nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueEx(key, L"Product", nullptr, &type, small, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key, L"bad\nname", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key, L"NoData", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);

    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueEx(key, L"Product", nullptr, &type, nullptr, &size),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueEx(key, L"Product", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegFlushKey(key), ERROR_INVALID_HANDLE);
    HKEY sub = nullptr;
    EXPECT_EQ(RegOpenKeyEx(key, L"Sub", 0, 0, &sub), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, FlushInterruptedBeforeTheRenameLeavesTheOldFileWhole) {
    HKEY key = Create(L"HARDWARE");
    SetString(key, L"Product", L"Norvane");
    ASSERT_EQ(RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    const std::string before = StorageTempDir::Read(File());

    SetString(key, L"Product", L"Caldro");
    bool hookRan = false;
    Registry::Instance().SetBeforeRenameHookForTest([&] {
        hookRan = true;
        return false;
    });
    const auto flushedBefore = EventLog::Instance().Since().size();
    EXPECT_EQ(RegFlushKey(key), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(hookRan);
    EXPECT_EQ(StorageTempDir::Read(File()), before);
    // The abandoned new file is cleaned up.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
    const auto events = EventLog::Instance().Since();
    ASSERT_GT(events.size(), flushedBefore);
    EXPECT_EQ(events.back().kind, "registry.flushed");
    EXPECT_EQ(events.back().fields["ok"], false);

    // The next flush writes the value that was kept in memory.
    Registry::Instance().SetBeforeRenameHookForTest(nullptr);
    EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_TRUE(Registry::Instance().Load(File()));
    EXPECT_EQ(Query(L"HARDWARE", L"Product"), std::make_pair(REG_SZ, StringBytes(L"Caldro")));
}

} // namespace
