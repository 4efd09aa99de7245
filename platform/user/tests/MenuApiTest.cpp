// The menu API without tracking: items and their flags, what GetMenuItemInfo reports and when
// it refuses, item lookup by position and by command, check and enable states, destruction.
#include <gtest/gtest.h>

#include <string>

#include "platform/kernel/LastError.h"
#include "platform/user/WinUser.h"

namespace {

constexpr UINT kAll = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;

MENUITEMINFO Query(HMENU menu, UINT item, BOOL byPosition, UINT mask = kAll) {
    MENUITEMINFO info;
    info.cbSize = kMenuItemInfoSize;
    info.fMask = mask;
    EXPECT_TRUE(GetMenuItemInfo(menu, item, byPosition, &info)) << "item " << item;
    return info;
}

// A menu of every kind of item: text, checked and grayed text, owner-drawn with data, an
// owner-drawn separator, and a submenu holding one text item.
struct SampleMenu {
    SampleMenu() {
        EXPECT_TRUE(AppendMenu(sub, MF_STRING, 31, L"Deep"));
        EXPECT_TRUE(AppendMenu(menu, MF_STRING, 10, L"Plain"));
        EXPECT_TRUE(AppendMenu(menu, MF_STRING | MF_CHECKED | MF_GRAYED, 11, L"Both"));
        EXPECT_TRUE(AppendMenu(menu, MF_OWNERDRAW, 12, reinterpret_cast<LPCTSTR>(&data)));
        EXPECT_TRUE(
            AppendMenu(menu, MF_OWNERDRAW | MF_SEPARATOR, 0, reinterpret_cast<LPCTSTR>(&data)));
        EXPECT_TRUE(AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"More"));
    }
    ~SampleMenu() { DestroyMenu(menu); }
    int data = 7;
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
};

TEST(MenuApiTest, ItemsReportTheirTypeStateIdSubmenuAndData) {
    SampleMenu m;
    ASSERT_EQ(GetMenuItemCount(m.menu), 5);
    struct Expected {
        UINT type, state, id;
        HMENU submenu;
        DWORD_PTR data;
    };
    const DWORD_PTR data = reinterpret_cast<DWORD_PTR>(&m.data);
    const Expected expected[] = {
        {MFT_STRING, 0, 10, nullptr, 0},
        {MFT_STRING, MFS_CHECKED | MFS_GRAYED, 11, nullptr, 0},
        {MFT_OWNERDRAW, 0, 12, nullptr, data},
        {MFT_OWNERDRAW | MFT_SEPARATOR, 0, 0, nullptr, data},
        {MFT_STRING, 0, UINT(reinterpret_cast<UINT_PTR>(m.sub)), m.sub, 0},
    };
    for (UINT i = 0; i < 5; ++i) {
        const MENUITEMINFO info = Query(m.menu, i, TRUE);
        EXPECT_EQ(info.fType, expected[i].type) << i;
        EXPECT_EQ(info.fState, expected[i].state) << i;
        EXPECT_EQ(info.wID, expected[i].id) << i;
        EXPECT_EQ(info.hSubMenu, expected[i].submenu) << i;
        EXPECT_EQ(info.dwItemData, expected[i].data) << i;
    }
    EXPECT_EQ(GetSubMenu(m.menu, 4), m.sub);
    EXPECT_EQ(GetSubMenu(m.menu, 0), nullptr);
    EXPECT_EQ(GetMenuItemID(m.menu, 1), 11u);
    EXPECT_EQ(GetMenuItemID(m.menu, 4), 0xFFFFFFFFu); // opens a submenu
    EXPECT_EQ(GetMenuItemID(m.menu, 5), 0xFFFFFFFFu);
}

TEST(MenuApiTest, OnlyTheFieldsOfTheMaskAreWritten) {
    SampleMenu m;
    MENUITEMINFO info;
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_DATA;
    info.wID = 999;
    info.fState = 0x55;
    ASSERT_TRUE(GetMenuItemInfo(m.menu, 12, FALSE, &info));
    EXPECT_EQ(info.dwItemData, reinterpret_cast<DWORD_PTR>(&m.data));
    EXPECT_EQ(info.wID, 999u);
    EXPECT_EQ(info.fState, 0x55u);
}

TEST(MenuApiTest, StructureSizeOtherThanTheDevicesIsRefused) {
    SampleMenu m;
    for (UINT size : {0u, 43u, 48u, UINT(sizeof(MENUITEMINFO))}) {
        MENUITEMINFO info;
        info.cbSize = size;
        info.fMask = MIIM_ID;
        SetLastError(0);
        EXPECT_FALSE(GetMenuItemInfo(m.menu, 0, TRUE, &info)) << size;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER)) << size;
        EXPECT_EQ(info.wID, 0u) << size;
        EXPECT_FALSE(InsertMenuItem(m.menu, 0, TRUE, &info)) << size;
    }
    EXPECT_EQ(GetMenuItemCount(m.menu), 5);
    EXPECT_FALSE(GetMenuItemInfo(m.menu, 0, TRUE, nullptr));
}

TEST(MenuApiTest, ByCommandSearchesSubmenusAndFailsForUnknownItems) {
    SampleMenu m;
    const MENUITEMINFO deep = Query(m.menu, 31, FALSE, MIIM_ID | MIIM_TYPE);
    EXPECT_EQ(deep.wID, 31u);
    MENUITEMINFO info;
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_ID;
    EXPECT_FALSE(GetMenuItemInfo(m.menu, 99, FALSE, &info));
    EXPECT_FALSE(GetMenuItemInfo(m.menu, 5, TRUE, &info));
    EXPECT_FALSE(GetMenuItemInfo(nullptr, 0, TRUE, &info));
    // A menu that holds itself is searched without end of stack.
    HMENU loop = CreatePopupMenu();
    ASSERT_TRUE(AppendMenu(loop, MF_POPUP, reinterpret_cast<UINT_PTR>(loop), L"Me"));
    EXPECT_FALSE(GetMenuItemInfo(loop, 1234, FALSE, &info));
    EXPECT_TRUE(DestroyMenu(loop));
}

TEST(MenuApiTest, TextIsCopiedUpToTheBufferWithItsLengthInCch) {
    SampleMenu m;
    wchar_t buffer[8];
    MENUITEMINFO info;
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_TYPE;
    info.dwTypeData = buffer;
    info.cch = 4;
    ASSERT_TRUE(GetMenuItemInfo(m.menu, 10, FALSE, &info));
    EXPECT_EQ(std::wstring(buffer), L"Pla");
    EXPECT_EQ(info.cch, 3u);
    info.dwTypeData = nullptr;
    info.cch = 0;
    ASSERT_TRUE(GetMenuItemInfo(m.menu, 11, FALSE, &info));
    EXPECT_EQ(info.cch, 4u);
}

TEST(MenuApiTest, CheckAndEnableReturnThePreviousStateOrMinusOne) {
    SampleMenu m;
    EXPECT_EQ(CheckMenuItem(m.menu, 10, MF_BYCOMMAND | MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(m.menu, 0, MF_BYPOSITION | MF_UNCHECKED), DWORD(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(m.menu, 31, MF_CHECKED), DWORD(MF_UNCHECKED)); // in the submenu
    EXPECT_EQ(Query(m.sub, 0, TRUE).fState, MFS_CHECKED);
    EXPECT_EQ(CheckMenuItem(m.menu, 77, MF_CHECKED), 0xFFFFFFFF);

    EXPECT_EQ(EnableMenuItem(m.menu, 11, MF_ENABLED), BOOL(MF_GRAYED));
    EXPECT_EQ(Query(m.menu, 11, FALSE).fState, MFS_CHECKED);
    EXPECT_EQ(EnableMenuItem(m.menu, 0, MF_BYPOSITION | MF_DISABLED), BOOL(MF_ENABLED));
    EXPECT_EQ(EnableMenuItem(m.menu, 10, MF_GRAYED), BOOL(MF_DISABLED));
    EXPECT_EQ(Query(m.menu, 10, FALSE).fState, MFS_GRAYED);
    EXPECT_EQ(EnableMenuItem(m.menu, 77, MF_GRAYED), -1);
}

TEST(MenuApiTest, InsertMenuItemPlacesBeforeTheNamedItem) {
    HMENU menu = CreatePopupMenu();
    auto insert = [&](UINT where, BOOL byPosition, UINT id) {
        MENUITEMINFO info;
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE;
        info.fType = MFT_STRING;
        info.fState = MFS_CHECKED;
        info.wID = id;
        wchar_t text[] = L"x";
        info.dwTypeData = text;
        return InsertMenuItem(menu, where, byPosition, &info);
    };
    EXPECT_TRUE(insert(0, TRUE, 1));
    EXPECT_TRUE(insert(99, TRUE, 3)); // past the end: appended
    EXPECT_TRUE(insert(3, FALSE, 2)); // before the item with command 3
    EXPECT_FALSE(insert(42, FALSE, 4));
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(GetMenuItemID(menu, i), UINT(i + 1));
    EXPECT_EQ(Query(menu, 2, FALSE).fState, MFS_CHECKED);
    DestroyMenu(menu);
}

TEST(MenuApiTest, DestroyMenuTakesItsSubmenusAndHandlesStayInvalid) {
    SampleMenu m;
    ASSERT_TRUE(IsMenu(m.sub));
    HMENU menu = m.menu;
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsMenu(m.sub));
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_FALSE(AppendMenu(menu, MF_STRING, 1, L"late"));
    EXPECT_NE(CreatePopupMenu(), menu); // never reused
    // A popup item needs a live submenu.
    HMENU other = CreatePopupMenu();
    EXPECT_FALSE(AppendMenu(other, MF_POPUP, reinterpret_cast<UINT_PTR>(m.sub), L"gone"));
    EXPECT_EQ(GetMenuItemCount(other), 0);
    DestroyMenu(other);
}

} // namespace
