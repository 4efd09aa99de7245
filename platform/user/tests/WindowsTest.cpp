// Windows: the tree, destruction order, stale handles, geometry, z-order, lookup.
#include "WindowFixture.h"

#include "platform/user/WinUser.h"

namespace {

using WindowsTest = WindowTest;

TEST_F(WindowsTest, DestructionSendsDestroyParentFirstAndNcDestroyChildrenFirst) {
    HWND top = MakeTopLevel({0, 0, 100, 100});
    HWND a = MakeChild(top, {0, 0, 10, 10}, 1);
    HWND a1 = MakeChild(a, {0, 0, 5, 5}, 11);
    HWND b = MakeChild(top, {20, 0, 30, 10}, 2);
    ClearProbeLog();
    ASSERT_TRUE(DestroyWindow(top));

    std::vector<std::pair<HWND, UINT>> seen;
    for (const ProbeMessage& m : ProbeLog())
        if (m.message == WM_DESTROY || m.message == WM_NCDESTROY)
            seen.emplace_back(m.hwnd, m.message);
    const std::vector<std::pair<HWND, UINT>> expected = {
        {top, WM_DESTROY}, {a, WM_DESTROY}, {a1, WM_DESTROY},  {a1, WM_NCDESTROY},
        {a, WM_NCDESTROY}, {b, WM_DESTROY}, {b, WM_NCDESTROY}, {top, WM_NCDESTROY}};
    EXPECT_EQ(seen, expected);
    for (HWND h : {top, a, a1, b})
        EXPECT_FALSE(IsWindow(h));
}

TEST_F(WindowsTest, EveryCallOnADestroyedWindowFailsCleanly) {
    HWND top = MakeTopLevel({0, 0, 50, 50});
    HWND child = MakeChild(top, {0, 0, 10, 10}, 7);
    ASSERT_TRUE(DestroyWindow(child));
    RECT r;
    POINT p{};
    wchar_t text[8] = L"x";
    PAINTSTRUCT ps;
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_FALSE(DestroyWindow(child));
    EXPECT_EQ(GetParent(child), nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), 0);
    EXPECT_EQ(GetDlgItem(top, 7), nullptr);
    EXPECT_FALSE(ShowWindow(child, SW_SHOW));
    EXPECT_FALSE(SetWindowPos(child, HWND_TOP, 0, 0, 1, 1, 0));
    EXPECT_FALSE(GetWindowRect(child, &r));
    EXPECT_FALSE(GetClientRect(child, &r));
    EXPECT_FALSE(ClientToScreen(child, &p));
    EXPECT_FALSE(SetWindowText(child, L"y"));
    EXPECT_EQ(GetWindowText(child, text, 8), 0);
    EXPECT_EQ(GetWindowLong(child, GWL_STYLE), 0);
    EXPECT_EQ(SendMessage(child, WM_USER, 1, 2), 0);
    EXPECT_FALSE(PostMessage(child, WM_USER, 1, 2));
    EXPECT_EQ(SetTimer(child, 1, 10, nullptr), 0u);
    EXPECT_FALSE(KillTimer(child, 1));
    EXPECT_EQ(SetFocus(child), nullptr);
    EXPECT_FALSE(InvalidateRect(child, nullptr, TRUE));
    EXPECT_FALSE(UpdateWindow(child));
    EXPECT_EQ(BeginPaint(child, &ps), nullptr);
    EXPECT_EQ(GetDC(child), nullptr);
    EXPECT_FALSE(EnableWindow(child, FALSE));
}

TEST_F(WindowsTest, GeometryCountsTheOnePixelBorderAsTheOnlyFrame) {
    HWND top = MakeTopLevel({10, 20, 110, 120}, WS_VISIBLE | WS_BORDER);
    HWND child = MakeChild(top, {5, 6, 25, 16}, 3, WS_VISIBLE | WS_BORDER);
    RECT r;
    ASSERT_TRUE(GetWindowRect(top, &r));
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
              (std::vector<LONG>{10, 20, 110, 120}));
    ASSERT_TRUE(GetClientRect(top, &r));
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
              (std::vector<LONG>{0, 0, 98, 98}));
    // The child's position counts from the parent's client area, inside the parent's frame.
    ASSERT_TRUE(GetWindowRect(child, &r));
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
              (std::vector<LONG>{16, 27, 36, 37}));
    POINT p{0, 0};
    ASSERT_TRUE(ClientToScreen(child, &p));
    EXPECT_EQ(p.x, 17);
    EXPECT_EQ(p.y, 28);
    ASSERT_TRUE(ScreenToClient(top, &p));
    EXPECT_EQ(p.x, 6);
    EXPECT_EQ(p.y, 7);

    HWND full = CreateWindowEx(0, ProbeClass(), L"full", 0, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    m_windows.push_back(full);
    ASSERT_TRUE(GetWindowRect(full, &r));
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
              (std::vector<LONG>{0, 0, 240, 320}));
}

TEST_F(WindowsTest, ChildrenStackBelowEarlierSiblingsUntilRaised) {
    HWND top = MakeTopLevel({0, 0, 100, 100});
    HWND first = MakeChild(top, {0, 0, 10, 10}, 1);
    HWND second = MakeChild(top, {0, 0, 10, 10}, 2);
    EXPECT_EQ(GetWindow(top, GW_CHILD), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    ASSERT_TRUE(SetWindowPos(second, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(GetWindow(top, GW_CHILD), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), first);
}

TEST_F(WindowsTest, LookupsFindWindowsByClassTitleIdAndOwner) {
    HWND top = MakeTopLevel({0, 0, 100, 100});
    SetWindowText(top, L"Connected to USB");
    HWND hidden = MakeTopLevel({0, 0, 10, 10}, 0);
    SetWindowText(hidden, L"Hidden One");
    HWND popup = CreateWindowEx(0, ProbeClass(), L"popup", WS_POPUP, 0, 0, 5, 5, top, nullptr,
                                nullptr, nullptr);
    m_windows.push_back(popup);
    HWND item = MakeChild(top, {0, 0, 5, 5}, 1004);

    EXPECT_EQ(FindWindow(L"probe", L"connected to usb"), top);
    EXPECT_EQ(FindWindow(nullptr, L"Hidden One"), hidden);
    EXPECT_EQ(FindWindow(L"Dialog", L"Connected to USB"), nullptr);
    EXPECT_EQ(FindWindow(L"NoSuchClass", nullptr), nullptr);
    EXPECT_EQ(GetDlgItem(top, 1004), item);
    EXPECT_EQ(GetParent(item), top);
    EXPECT_EQ(GetParent(popup), top); // a popup's parent is its owner
    EXPECT_EQ(GetParent(top), nullptr);
}

} // namespace
