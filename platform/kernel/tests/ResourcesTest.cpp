// The resource runtime on a module compiled by norvane-rc: the module registry, strings,
// dialog templates and byte resources, each found by the names a program would use.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/kernel/CString.h"
#include "platform/kernel/Resources.h"

extern const ResourceModuleData FixtureResources;

namespace {

// The same tables registered as a plug-in library and as the executable; every test registers
// both in this order, so the library, registered first, must not count as the executable.
struct Modules {
    HINSTANCE library;
    HINSTANCE exe;
};
Modules Register() {
    return {RegisterResourceModule(L"\\Storage Card\\Plugin.dll", FixtureResources),
            RegisterResourceModule(L"\\Windows\\Fixture.exe", FixtureResources)};
}

TEST(ResourcesTest, ModulesAreFoundByHandlePathAndFileName) {
    const Modules m = Register();
    ASSERT_NE(m.library, nullptr);
    ASSERT_NE(m.exe, nullptr);
    EXPECT_NE(m.library, m.exe);
    EXPECT_EQ(Register().exe, m.exe) << "registering again gives the same module";
    static const ResourceModuleData other{};
    EXPECT_EQ(RegisterResourceModule(L"\\windows\\FIXTURE.EXE", other), nullptr)
        << "a path already taken by other tables";

    EXPECT_EQ(GetModuleHandle(nullptr), m.exe);
    EXPECT_EQ(AfxGetInstanceHandle(), m.exe);
    EXPECT_EQ(GetModuleHandle(L"fixture.exe"), m.exe);
    EXPECT_EQ(GetModuleHandle(L"\\STORAGE CARD\\plugin.dll"), m.library);
    EXPECT_EQ(GetModuleHandle(L"Plugin"), nullptr);
    EXPECT_EQ(GetModuleHandle(L"Missing.dll"), nullptr);
}

TEST(ResourcesTest, ModuleFileNameIsCutToTheBuffer) {
    const Modules m = Register();
    struct Case {
        HMODULE module;
        DWORD size;
        DWORD result;
        const wchar_t* text;
    };
    const Case cases[] = {
        {nullptr, 260, 20, L"\\Windows\\Fixture.exe"},
        {m.library, 260, 24, L"\\Storage Card\\Plugin.dll"},
        {m.exe, 21, 20, L"\\Windows\\Fixture.exe"}, // just room for the null
        {m.exe, 20, 20, L"\\Windows\\Fixture.ex"},  // one short: cut, terminated, size returned
        {m.exe, 1, 1, L""},
        {reinterpret_cast<HMODULE>(std::uintptr_t(0x1234)), 260, 0, L"untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        wchar_t buffer[260];
        std::wcscpy(buffer, L"untouched");
        EXPECT_EQ(GetModuleFileName(c.module, buffer, c.size), c.result);
        EXPECT_STREQ(buffer, c.text);
    }
}

TEST(ResourcesTest, StringsComeFromTheResourceModule) {
    const Modules m = Register();
    struct Case {
        UINT id;
        const wchar_t* text;
    };
    const Case cases[] = {
        {7, L"plain"},
        {8, L"quote \" backslash \\ tab\tnew\nline"},
        {9, L"確定 \U0001D11E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const auto found = FindStringResource(m.library, c.id);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(*found, c.text);
        CString loaded;
        EXPECT_TRUE(loaded.LoadString(c.id));
        EXPECT_EQ(loaded, c.text);
    }
    EXPECT_FALSE(FindStringResource(m.library, 6).has_value());
    EXPECT_FALSE(FindStringResource(m.library, 10).has_value());
    EXPECT_FALSE(FindStringResource(reinterpret_cast<HINSTANCE>(0x1234), 7).has_value());

    // The framework loads from the module that AfxSetResourceHandle chose.
    AfxSetResourceHandle(m.library);
    EXPECT_EQ(AfxGetResourceHandle(), m.library);
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), m.exe);
}

TEST(ResourcesTest, DialogTemplatesByOrdinalOrName) {
    const Modules m = Register();
    const DialogTemplate* small = FindDialogTemplate(m.exe, MAKEINTRESOURCE(20));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->style, 0x80C000C0u); // WS_POPUP | DS_MODALFRAME + DS_SETFONT + WS_CAPTION
    EXPECT_EQ(small->x, 1);
    EXPECT_EQ(small->y, 2);
    EXPECT_EQ(small->cx, 30);
    EXPECT_EQ(small->cy, 40);
    EXPECT_EQ(small->caption, L"Small");
    EXPECT_EQ(small->fontSize, 9);
    EXPECT_EQ(small->fontFace, L"System");
    ASSERT_EQ(small->items.size(), 1u);
    EXPECT_EQ(small->items[0].className, L"Button");
    EXPECT_EQ(small->items[0].text, L"OK");
    EXPECT_EQ(small->items[0].id, 1);
    EXPECT_EQ(small->items[0].style,
              0x50010001u); // WS_CHILD|WS_VISIBLE|WS_TABSTOP|BS_DEFPUSHBUTTON

    const DialogTemplate* named = FindDialogTemplate(m.exe, L"named");
    ASSERT_NE(named, nullptr);
    EXPECT_TRUE(named->items.empty());
    EXPECT_EQ(FindDialogTemplate(m.exe, MAKEINTRESOURCE(21)), nullptr);
    EXPECT_EQ(FindDialogTemplate(m.exe, L"Other"), nullptr);
}

TEST(ResourcesTest, ByteResourcesHoldTheirFiles) {
    const Modules m = Register();
    struct Case {
        LPCTSTR name;
        LPCTSTR type;
        std::string bytes;
    };
    const std::string bmp("BM\x3a\0\0\0\0\0\0\0\x36\0\0\0", 14);
    const std::string ico("\0\0\x01\0\x01\0", 6);
    const std::string wav("RIFF\x04\0\0\0WAVE", 12);
    const Case cases[] = {
        {MAKEINTRESOURCE(30), RT_BITMAP, bmp},
        {MAKEINTRESOURCE(31), RT_GROUP_ICON, ico},
        {MAKEINTRESOURCE(32), L"WAVE", wav},
        {MAKEINTRESOURCE(32), L"wave", wav},
        {L"tock", L"Wave", wav},
    };
    for (const Case& c : cases) {
        HRSRC found = FindResource(m.exe, c.name, c.type);
        ASSERT_NE(found, nullptr);
        const DWORD size = SizeofResource(m.exe, found);
        const void* data = LockResource(LoadResource(m.exe, found));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::string(static_cast<const char*>(data), size), c.bytes);
    }
}

TEST(ResourcesTest, ByteResourcesThatDoNotExistAreNotFound) {
    const Modules m = Register();
    EXPECT_EQ(FindResource(m.exe, MAKEINTRESOURCE(30), RT_GROUP_ICON), nullptr) << "wrong type";
    EXPECT_EQ(FindResource(m.exe, MAKEINTRESOURCE(33), L"WAVE"), nullptr) << "wrong id";
    EXPECT_EQ(FindResource(m.exe, L"tick", L"WAVE"), nullptr) << "a name is not an ordinal";
    EXPECT_EQ(FindResource(m.exe, MAKEINTRESOURCE(20), RT_DIALOG), nullptr)
        << "dialogs are found with FindDialogTemplate";
    EXPECT_EQ(FindResource(reinterpret_cast<HMODULE>(0x1234), MAKEINTRESOURCE(30), RT_BITMAP),
              nullptr);

    // A resource handle of one module is not one of another module's.
    static const RawResource stray{};
    HRSRC foreign = reinterpret_cast<HRSRC>(const_cast<RawResource*>(&stray));
    EXPECT_EQ(SizeofResource(m.exe, foreign), 0u);
    EXPECT_EQ(LoadResource(m.exe, foreign), nullptr);
    EXPECT_EQ(LoadResource(m.exe, nullptr), nullptr);
}

} // namespace
