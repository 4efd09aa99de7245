// The launcher's own resources: every text of the string table in both languages, the two
// dialog templates and the version block, as the launcher will load them.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/kernel/CString.h"
#include "platform/kernel/Resources.h"
#include "res/NorvaneAppResources.h"
#include "res/resource.h"

namespace {

constexpr DWORD kChildVisibleGroup = 0x50020000; // WS_CHILD | WS_VISIBLE | WS_GROUP

class NorvaneAppResourcesTest : public ::testing::Test {
protected:
    void SetUp() override { m_module = RegisterNorvaneAppResources(); }
    HINSTANCE m_module = nullptr;
};

struct TextCase {
    UINT id;
    const wchar_t* english;
    const wchar_t* chinese;
};

TEST_F(NorvaneAppResourcesTest, EveryTextLoadsInBothLanguages) {
    const TextCase cases[] = {
        {IDS_OK, L"OK", L"確定"},
        {IDS_CANCEL, L"Cancel", L"取消"},
        {IDS_ABORT, L"Abort", L"中斷"},
        {IDS_RETRY, L"Retry", L"重試"},
        {IDS_IGNORE, L"Ignore", L"忽略"},
        {IDS_YES, L"Yes", L"是"},
        {IDS_NO, L"No", L"否"},
        {IDS_CLOSE, L"Close", L"關閉"},
        {IDS_HELP, L"Help", L"說明"},
        {IDS_LOAD_INI_FAILED, L"Load ini failed", L"無法載入設定檔"},
        {IDS_CONNECTING, L"Connecting ..", L"連線中 .."},
        {IDS_DISCONNECTED, L"Disconnected", L"斷線"},
        {IDS_LOADING_PROGRAM, L"Loading Program ..", L"載入程式中 .."},
        {IDS_LOAD_PROGRAM_FAILED, L"Load program failed", L"無法載入程式"},
        {IDS_EXIT_PROGRAM, L"Exit Program", L"關閉程式"},
        {IDS_ABOUT_TITLE, L"About NorvaneApp", L"關於 NorvaneApp"},
        {IDS_SOFTWARE_VERSION, L"Software:\n V%d.%d.%d (Build %d)\n %04d/%02d/%02d",
         L"軟體:\n V%d.%d.%d (Build %d)\n %04d/%02d/%02d"},
        {IDS_FIRMWARE_VERSION, L"Firmware:\n V%d.%d.%d (Build %d)\n %04d/%02d/%02d",
         L"軔體:\n V%d.%d.%d (Build %d)\n %04d/%02d/%02d"},
        {IDS_REMOTE_CONNECTION, L"Remote Connection", L"遠端連線"},
    };
    ASSERT_EQ(AfxGetResourceHandle(), m_module);
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.id);
        CString english;
        CString chinese;
        ASSERT_TRUE(english.LoadString(c.id));
        ASSERT_TRUE(chinese.LoadString(c.id + IDS_CHINESE_OFFSET));
        EXPECT_EQ(english, c.english);
        EXPECT_EQ(chinese, c.chinese);
    }
}

TEST_F(NorvaneAppResourcesTest, AnIdOutsideTheTableDoesNotLoadAndLeavesTheText) {
    for (UINT id : {0u, 999u, 1009u, 10999u, 14001u}) {
        CString text(L"before");
        EXPECT_FALSE(text.LoadString(id)) << id;
        EXPECT_EQ(text, L"before");
    }
}

TEST_F(NorvaneAppResourcesTest, TheExecutableModuleIsTheLauncher) {
    EXPECT_EQ(GetModuleHandle(nullptr), m_module);
    EXPECT_EQ(AfxGetInstanceHandle(), m_module);
    EXPECT_EQ(GetModuleHandle(L"norvaneapp.EXE"), m_module);
    wchar_t path[260] = {};
    EXPECT_EQ(GetModuleFileName(nullptr, path, 260), 23u);
    EXPECT_STREQ(path, L"\\Windows\\NorvaneApp.exe");
}

struct ItemCase {
    const wchar_t* className;
    const wchar_t* text;
    WORD textId;
    WORD id;
    DWORD style;
    short x, y, cx, cy;
};

void ExpectItems(const DialogTemplate& dialog, const std::vector<ItemCase>& expected) {
    ASSERT_EQ(dialog.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const DialogItemTemplate& item = dialog.items[i];
        const ItemCase& want = expected[i];
        EXPECT_EQ(item.className, want.className);
        EXPECT_EQ(item.text, want.text);
        EXPECT_EQ(item.textId, want.textId);
        EXPECT_EQ(item.id, want.id);
        EXPECT_EQ(item.style, want.style);
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
    }
}

TEST_F(NorvaneAppResourcesTest, LauncherFormTemplate) {
    const DialogTemplate* form = FindDialogTemplate(m_module, MAKEINTRESOURCE(101));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->style, 0x40000040u); // WS_CHILD | DS_SETFONT
    EXPECT_EQ(form->exStyle, 0u);
    EXPECT_EQ(form->x, 0);
    EXPECT_EQ(form->y, 0);
    EXPECT_EQ(form->cx, 137);
    EXPECT_EQ(form->cy, 183);
    EXPECT_EQ(form->fontSize, 10);
    EXPECT_EQ(form->fontFace, L"System");
    EXPECT_EQ(form->caption, L"");
    ExpectItems(*form, {
                           // WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_ICON | LVS_SINGLESEL |
                           // LVS_SHOWSELALWAYS
                           {L"SysListView32", L"", 0, 1001, 0x5001000C, 10, 30, 127, 140},
                           {L"Static", L"", 0, 1003, kChildVisibleGroup, 94, 175, 10, 8},
                           {L"Static", L"", 0, 1002, kChildVisibleGroup, 106, 173, 30, 8},
                           {L"Static", L"Sound && Vibration Analyzer", 0, 1004, kChildVisibleGroup,
                            0, 171, 137, 12},
                       });
}

TEST_F(NorvaneAppResourcesTest, RemoteConnectionTemplate) {
    const DialogTemplate* notice = FindDialogTemplate(m_module, MAKEINTRESOURCE(140));
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->style, 0x80800040u); // WS_POPUP | WS_BORDER | DS_SETFONT, not visible
    EXPECT_EQ(notice->x, 0);
    EXPECT_EQ(notice->y, 0);
    EXPECT_EQ(notice->cx, 108);
    EXPECT_EQ(notice->cy, 29);
    EXPECT_EQ(notice->fontSize, 10);
    EXPECT_EQ(notice->fontFace, L"System");
    ExpectItems(*notice,
                {
                    {L"Static", L"Remote Connection", 0, 1005, kChildVisibleGroup, 37, 11, 64, 8},
                    // WS_CHILD | WS_VISIBLE | SS_ICON, icon 141
                    {L"Static", L"", 141, 0xFFFF, 0x50000003, 9, 7, 18, 16},
                });
}

TEST_F(NorvaneAppResourcesTest, VersionBlockCarriesFileAndProductVersion) {
    HRSRC found = FindResource(m_module, MAKEINTRESOURCE(1), RT_VERSION);
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(m_module, found)));
    const DWORD size = SizeofResource(m_module, found);
    ASSERT_NE(bytes, nullptr);
    ASSERT_GE(size, 40u + 52u);
    auto dword = [&](std::size_t at) {
        DWORD v;
        std::memcpy(&v, bytes + at, 4);
        return v;
    };
    // wLength covers the whole block; the fixed information follows "VS_VERSION_INFO" at 40.
    EXPECT_EQ(bytes[0] | (bytes[1] << 8), int(size));
    EXPECT_EQ(dword(40), 0xFEEF04BDu);
    EXPECT_EQ(dword(48), 0x00010002u); // dwFileVersionMS: 1.2
    EXPECT_EQ(dword(52), 0x0002000Cu); // dwFileVersionLS: 2.12
    EXPECT_EQ(dword(56), 0x00010002u);
    EXPECT_EQ(dword(60), 0x0002000Cu);
}

} // namespace
