// The two device settings the launcher honours, read from a registry file in a temporary
// state directory: the language of its texts and the key click.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/KeySound.h"
#include "app/QLanguage.h"
#include "platform/kernel/Registry.h"
#include "res/NorvaneAppResources.h"

namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "norvane-language-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        ASSERT_NE(RegisterNorvaneAppResources(), nullptr);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Replaces the registry with a file of these lines, as the device would find it at start.
    void LoadRegistry(const std::string& body) {
        const fs::path file = m_dir / "registry.reg";
        std::ofstream(file) << "Windows Registry Editor Version 5.00\n\n" << body;
        const Registry::LoadResult loaded = Registry::Instance().Load(file);
        ASSERT_TRUE(loaded) << loaded.message;
    }
    // Another program changes a DWORD value while the launcher runs.
    static void SetDword(const wchar_t* keyName, const wchar_t* valueName, DWORD value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, keyName, 0, nullptr, 0, KEY_ALL_ACCESS,
                                 nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueEx(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                sizeof value),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    fs::path m_dir;
};

const char* const kChineseRegistry = "[HKEY_LOCAL_MACHINE\\I18N]\n\"Language\"=dword:00000404\n";

TEST_F(SettingsTest, LanguageFromTheRegistry) {
    struct Case {
        const char* what;
        bool startChinese; // the language read before, from a registry that said 1028
        const char* registry;
        WORD language;
        const wchar_t* cancel;
    };
    const Case cases[] = {
        {"no I18N key", false, "", 1033, L"Cancel"},
        {"no I18N key keeps the language", true, "[HKEY_LOCAL_MACHINE\\Keyboard]\n", 1028, L"取消"},
        {"no Language value", true, "[HKEY_LOCAL_MACHINE\\I18N]\n", 1033, L"Cancel"},
        {"1028", false, kChineseRegistry, 1028, L"取消"},
        {"1033", true, "[HKEY_LOCAL_MACHINE\\I18N]\n\"Language\"=dword:00000409\n", 1033,
         L"Cancel"},
        {"2052", true, "[HKEY_LOCAL_MACHINE\\I18N]\n\"Language\"=dword:00000804\n", 1033,
         L"Cancel"},
        {"high bits over 1028", false, "[HKEY_LOCAL_MACHINE\\I18N]\n\"Language\"=dword:00010404\n",
         1028, L"取消"},
        {"high bits over 1033", true, "[HKEY_LOCAL_MACHINE\\I18N]\n\"Language\"=dword:ffff0409\n",
         1033, L"Cancel"},
        {"binary, type not examined", false,
         "[HKEY_LOCAL_MACHINE\\I18N]\n\"Language\"=hex:04,04,00,00\n", 1028, L"取消"},
        {"a string does not fit four bytes", true,
         "[HKEY_LOCAL_MACHINE\\I18N]\n\"Language\"=\"1028\"\n", 1033, L"Cancel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QLanguage language;
        if (c.startChinese) {
            LoadRegistry(kChineseRegistry);
            ASSERT_EQ(ReadLanguage(language), 1028);
        }
        LoadRegistry(c.registry);
        EXPECT_EQ(ReadLanguage(language), c.language);
        EXPECT_EQ(language.Id(), c.language);
        EXPECT_EQ(LoadLocalString(language, IDS_CANCEL), c.cancel);
    }
}

TEST_F(SettingsTest, EveryTextLoadsThroughItsEnglishId) {
    LoadRegistry(kChineseRegistry);
    QLanguage chinese;
    ReadLanguage(chinese);
    const QLanguage english;
    EXPECT_EQ(StringIdOffset(1033), 0u);
    EXPECT_EQ(StringIdOffset(1028), 10000u);
    EXPECT_EQ(StringIdOffset(2052), 0u);
    EXPECT_EQ(LoadLocalString(english, IDS_EXIT_PROGRAM), L"Exit Program");
    EXPECT_EQ(LoadLocalString(chinese, IDS_EXIT_PROGRAM), L"關閉程式");
    EXPECT_EQ(LoadLocalString(english, IDS_FIRMWARE_VERSION),
              L"Firmware:\n V%d.%d.%d (Build %d)\n %04d/%02d/%02d");
    EXPECT_EQ(LoadLocalString(chinese, IDS_REMOTE_CONNECTION), L"遠端連線");
}

TEST_F(SettingsTest, LanguageChangesOnlyAtTheNextRead) {
    LoadRegistry(kChineseRegistry);
    QLanguage& language = GetLanguage(); // first use reads the registry
    EXPECT_EQ(language.Id(), 1028);
    EXPECT_EQ(&GetLanguage(), &language);

    SetDword(L"I18N", L"Language", 1033); // another program switches to English
    EXPECT_EQ(GetLanguage().Id(), 1028);
    EXPECT_EQ(LoadLocalString(GetLanguage(), IDS_CONNECTING), L"連線中 ..");

    EXPECT_EQ(ReadLanguage(GetLanguage()), 1033); // after a launched program exits
    EXPECT_EQ(LoadLocalString(GetLanguage(), IDS_EXIT_PROGRAM), L"Exit Program");
}

TEST_F(SettingsTest, KeyClickIsOnAtStart) {
    EXPECT_EQ(KeySoundEnabled.load(), 1u);
}

TEST_F(SettingsTest, KeyClickFromTheRegistry) {
    struct Case {
        const char* what;
        DWORD before;
        const char* registry;
        DWORD after;
    };
    const Case cases[] = {
        {"no Keyboard key", 1, "", 1},
        {"no Keyboard key keeps clicks off", 0, "[HKEY_LOCAL_MACHINE\\I18N]\n", 0},
        {"no Sound value", 1, "[HKEY_LOCAL_MACHINE\\Keyboard]\n", 1},
        {"no Sound value keeps clicks off", 0, "[HKEY_LOCAL_MACHINE\\Keyboard]\n", 0},
        {"Sound = 0", 1, "[HKEY_LOCAL_MACHINE\\Keyboard]\n\"Sound\"=dword:00000000\n", 0},
        {"Sound = 1", 0, "[HKEY_LOCAL_MACHINE\\Keyboard]\n\"Sound\"=dword:00000001\n", 1},
        {"the whole 32 bits", 0, "[HKEY_LOCAL_MACHINE\\Keyboard]\n\"Sound\"=dword:00010000\n",
         0x10000},
        {"a string does not fit four bytes", 1, "[HKEY_LOCAL_MACHINE\\Keyboard]\n\"Sound\"=\"0\"\n",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KeySoundEnabled = c.before;
        LoadRegistry(c.registry);
        EXPECT_EQ(ReadKeySoundSetting(), c.after);
        EXPECT_EQ(KeySoundEnabled.load(), c.after);
    }
}

TEST_F(SettingsTest, KeyClickChangesOnlyAtTheNextRead) {
    LoadRegistry("[HKEY_LOCAL_MACHINE\\Keyboard]\n\"Sound\"=dword:00000000\n");
    EXPECT_EQ(ReadKeySoundSetting(), 0u);
    SetDword(L"Keyboard", L"Sound", 1);
    EXPECT_EQ(KeySoundEnabled.load(), 0u);
    EXPECT_EQ(ReadKeySoundSetting(), 1u);
    EXPECT_EQ(KeySoundEnabled.load(), 1u);
}

} // namespace
