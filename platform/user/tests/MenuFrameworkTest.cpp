// The framework's CMenu: its handle maps, the menu it destroys with itself, the owner window's
// default handling that hands owner-drawn items to the menu objects, and the application's
// pre-translation inside the menu loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "WindowFixture.h"
#include "platform/user/CMenu.h"
#include "platform/user/CWinApp.h"
#include "platform/user/CWnd.h"

namespace {

using MenuFrameworkTest = WindowTest;

// Answers for its own items and notes which it was asked about.
class RecordingMenu : public CMenu {
public:
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
        measured.push_back(mis->itemID);
        mis->itemWidth = 50;
        mis->itemHeight = 15;
    }
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        drawn.push_back(dis->itemID);
        EXPECT_EQ(reinterpret_cast<HMENU>(dis->hwndItem), m_hMenu);
    }
    std::vector<UINT> measured;
    std::vector<UINT> drawn;
};

TEST_F(MenuFrameworkTest, HandleMapsKnowAttachedObjectsAndTheObjectDestroysItsMenu) {
    HMENU handle = CreatePopupMenu();
    CMenu* temporary = CMenu::FromHandle(handle);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(temporary->m_hMenu, handle);
    EXPECT_EQ(CMenu::FromHandle(handle), temporary);
    EXPECT_EQ(CMenu::FromHandlePermanent(handle), nullptr);
    {
        CMenu menu;
        ASSERT_TRUE(menu.Attach(handle));
        EXPECT_FALSE(menu.Attach(CreatePopupMenu())); // one handle at a time
        EXPECT_EQ(CMenu::FromHandle(handle), &menu);
        EXPECT_EQ(CMenu::FromHandlePermanent(handle), &menu);
        EXPECT_EQ(menu.Detach(), handle);
        EXPECT_EQ(CMenu::FromHandlePermanent(handle), nullptr);
    }
    EXPECT_TRUE(IsMenu(handle)); // detached: it outlives the object
    {
        CMenu menu;
        menu.Attach(handle);
    }
    EXPECT_FALSE(IsMenu(handle));
    EXPECT_EQ(CMenu::FromHandle(nullptr), nullptr);
}

TEST_F(MenuFrameworkTest, OwnerWindowHandsOwnerDrawnItemsToTheObjectOfTheirMenu) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxWndClassName(), L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 240,
                               320, nullptr, nullptr));
    RecordingMenu menu;
    auto* sub = new RecordingMenu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(sub->CreatePopupMenu());
    int data = 0;
    const auto item = reinterpret_cast<LPCTSTR>(&data);
    sub->AppendMenu(MF_OWNERDRAW, 21, item);
    menu.AppendMenu(MF_OWNERDRAW, 11, item);
    menu.AppendMenu(MF_POPUP | MF_OWNERDRAW, reinterpret_cast<UINT_PTR>(sub->m_hMenu), item);
    const UINT popupId = UINT(reinterpret_cast<UINT_PTR>(sub->m_hMenu));
    // A submenu without an object: nobody answers for its item, which stays empty.
    HMENU bare = CreatePopupMenu();
    AppendMenu(bare, MF_OWNERDRAW, 31, item);
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(bare), L"bare");
    PumpUntilIdle();

    // Into the bare submenu and out, then into the other and choose its item.
    for (UINT key : {VK_UP, VK_RIGHT, VK_LEFT, VK_UP, VK_RIGHT, VK_RETURN})
        owner.PostMessage(WM_KEYDOWN, key, 0);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, &owner), 21);
    EXPECT_EQ(menu.measured, (std::vector<UINT>{11, popupId}));
    EXPECT_EQ(sub->measured, (std::vector<UINT>{21}));
    EXPECT_EQ(menu.drawn.front(), 11u);
    EXPECT_NE(std::find(sub->drawn.begin(), sub->drawn.end(), 21u), sub->drawn.end());

    const HMENU subHandle = sub->m_hMenu;
    delete sub; // destroys the submenu
    EXPECT_FALSE(IsMenu(subHandle));
    owner.DestroyWindow();
}

// Eats the posted messages it is told to, and counts what it was offered.
class CountingApp : public CWinApp {
public:
    BOOL PreTranslateMessage(MSG* msg) override {
        offered.push_back(msg->message);
        return msg->message == WM_USER + 5;
    }
    std::vector<UINT> offered;
};

TEST_F(MenuFrameworkTest, MenuLoopPreTranslatesWhatIsNotMenuInput) {
    CountingApp app;
    ASSERT_EQ(AfxGetApp(), &app);
    HWND owner = MakeTopLevel({0, 0, 240, 320});
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 7, L"Seven");
    PumpUntilIdle();
    ClearProbeLog();
    PostMessage(owner, WM_USER + 5, 0, 0);
    PostMessage(owner, WM_USER + 6, 0, 0);
    PostMessage(owner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessage(owner, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, CWnd::FromHandle(owner)), 7);
    ASSERT_GE(app.offered.size(), 2u);
    const std::vector<UINT> offered(app.offered.begin(), app.offered.begin() + 2);
    EXPECT_EQ(offered, (std::vector<UINT>{WM_USER + 5, WM_USER + 6}));
    EXPECT_EQ(std::count(app.offered.begin(), app.offered.end(), WM_KEYDOWN), 0);
    EXPECT_TRUE(ProbeLogOf(WM_USER + 5).empty()); // eaten
    EXPECT_EQ(ProbeLogOf(WM_USER + 6).size(), 1u);
}

} // namespace
