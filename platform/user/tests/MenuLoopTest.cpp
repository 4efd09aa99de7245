// TrackPopupMenu's modal loop: what the owner is sent and when, the keys and the stylus that
// work the menu, where the popups show, owner-drawn items, and the loop ending cleanly however
// it is asked to (Escape, a tap outside, WM_QUIT, a destroyed owner or menu).
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <nlohmann/json.hpp>

#include "WindowFixture.h"
#include "platform/gdi/WinGdi.h"
#include "platform/user/MenuTree.h"

namespace {

// What the owner window was sent about the menu.
struct OwnerEvent {
    UINT message = 0;
    UINT id = 0;          // WM_MEASUREITEM, WM_DRAWITEM: the item; WM_COMMAND: the command
    UINT action = 0;      // WM_DRAWITEM
    UINT state = 0;       // WM_DRAWITEM
    RECT rect;            // WM_DRAWITEM
    HMENU menu = nullptr; // WM_INITMENUPOPUP, WM_DRAWITEM
    LPARAM lParam = 0;
};

std::vector<OwnerEvent> g_events;
// Run, one each, when the loop dispatches the WM_USER messages Inspect posted.
std::deque<std::function<void()>> g_inspections;

constexpr COLORREF kItemFace = RGB(0, 160, 0);
constexpr COLORREF kSelectedFace = RGB(200, 0, 0);
constexpr LONG kItemWidth = 60;

// The owner measures an owner-drawn item kItemWidth wide and as high as its item data says, and
// paints it in one colour: red when selected, else green.
LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        g_events.push_back(OwnerEvent{message, 0, 0, 0, {}, nullptr, 0});
        return 0;
    case WM_INITMENUPOPUP:
        g_events.push_back(
            OwnerEvent{message, 0, 0, 0, {}, reinterpret_cast<HMENU>(wParam), lParam});
        return 0;
    case WM_COMMAND:
        g_events.push_back(OwnerEvent{message, UINT(wParam), 0, 0, {}, nullptr, lParam});
        return 0;
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        EXPECT_EQ(wParam, 0u);
        EXPECT_EQ(mis->CtlType, ODT_MENU);
        mis->itemWidth = kItemWidth;
        mis->itemHeight = UINT(mis->itemData);
        g_events.push_back(OwnerEvent{message, mis->itemID, 0, 0, {}, nullptr, 0});
        return TRUE;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        EXPECT_EQ(dis->CtlType, ODT_MENU);
        HBRUSH brush =
            CreateSolidBrush((dis->itemState & ODS_SELECTED) ? kSelectedFace : kItemFace);
        RECT wide{-50, -50, 500, 500}; // the context is clipped to the item
        FillRect(dis->hDC, &wide, brush);
        DeleteObject(brush);
        g_events.push_back(OwnerEvent{message, dis->itemID, dis->itemAction, dis->itemState,
                                      dis->rcItem, reinterpret_cast<HMENU>(dis->hwndItem), 0});
        return TRUE;
    }
    case WM_USER:
        if (!g_inspections.empty()) {
            auto inspect = std::move(g_inspections.front());
            g_inspections.pop_front();
            inspect();
        }
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

LPCTSTR OwnerClass() {
    static const bool registered = [] {
        WNDCLASS wc;
        wc.lpfnWndProc = OwnerProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_WINDOW + 1));
        wc.lpszClassName = L"MenuOwner";
        return RegisterClass(&wc) != 0;
    }();
    return registered ? L"MenuOwner" : nullptr;
}

COLORREF ScreenPixel(POINT p) {
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(nullptr, dc);
    return c;
}

LPCTSTR Height(std::uintptr_t h) {
    return reinterpret_cast<LPCTSTR>(h);
}

// Item positions of the sample menu.
enum : int { kFirst, kSeparator, kGrayed, kChecked, kPopup };

class MenuLoopTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        g_events.clear();
        g_inspections.clear();
        MakeOwner();
        BuildMenus();
    }
    void TearDown() override {
        DestroyMenu(m_menu);
        WindowTest::TearDown();
    }

    // Full screen at 0, 0: its client points are screen points.
    void MakeOwner() {
        m_owner = CreateWindowEx(0, OwnerClass(), L"owner", WS_VISIBLE, 0, 0, 240, 320, nullptr,
                                 nullptr, nullptr, nullptr);
        m_windows.push_back(m_owner);
        PumpUntilIdle();
    }
    // 101 (20 high), a separator (6), 102 grayed, 103 checked, and 104 opening 201 and 202.
    void BuildMenus() {
        m_menu = CreatePopupMenu();
        m_sub = CreatePopupMenu();
        AppendMenu(m_sub, MF_OWNERDRAW, 201, Height(20));
        AppendMenu(m_sub, MF_OWNERDRAW, 202, Height(20));
        AppendMenu(m_menu, MF_OWNERDRAW, 101, Height(20));
        AppendMenu(m_menu, MF_OWNERDRAW | MF_SEPARATOR, 0, Height(6));
        AppendMenu(m_menu, MF_OWNERDRAW | MF_GRAYED, 102, Height(20));
        AppendMenu(m_menu, MF_OWNERDRAW | MF_CHECKED, 103, Height(20));
        InsertMenuItem(m_menu, 99, TRUE, PopupItem(104, m_sub));
    }

    static const MENUITEMINFO* PopupItem(UINT id, HMENU sub) {
        static MENUITEMINFO info;
        info = MENUITEMINFO{};
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA;
        info.fType = MFT_OWNERDRAW;
        info.wID = id;
        info.hSubMenu = sub;
        info.dwItemData = 20;
        return &info;
    }

    void Key(UINT key) { PostMessage(m_owner, WM_KEYDOWN, key, 0); }
    void Stylus(UINT message, POINT screen, HWND to = nullptr) {
        to = to ? to : m_owner;
        ScreenToClient(to, &screen);
        PostMessage(to, message, message == WM_LBUTTONUP ? 0 : 1,
                    MAKELPARAM(WORD(screen.x), WORD(screen.y)));
    }
    void Tap(POINT screen) {
        Stylus(WM_LBUTTONDOWN, screen);
        Stylus(WM_LBUTTONUP, screen);
    }
    void Inspect(std::function<void()> inspect) {
        g_inspections.push_back(std::move(inspect));
        PostMessage(m_owner, WM_USER, 0, 0);
    }
    // Tracked at (10, 10), the menu's window is (10, 10, 72, 98) and its items start at 11, 11.
    UINT Track(UINT flags = 0, int x = 10, int y = 10) {
        return UINT(TrackPopupMenu(m_menu, flags | TPM_RETURNCMD, x, y, 0, m_owner, nullptr));
    }
    static POINT ItemCentre(int position) {
        const LONG tops[] = {0, 20, 26, 46, 66};
        const LONG heights[] = {20, 6, 20, 20, 20};
        return POINT{11 + kItemWidth / 2, 11 + tops[position] + heights[position] / 2};
    }
    std::vector<OwnerEvent> EventsOf(UINT message) const {
        std::vector<OwnerEvent> found;
        for (const OwnerEvent& e : g_events)
            if (e.message == message)
                found.push_back(e);
        return found;
    }
    static nlohmann::json OpenMenus() { return DescribeOpenMenus(); }

    HWND m_owner = nullptr;
    HMENU m_menu = nullptr;
    HMENU m_sub = nullptr;
};

TEST_F(MenuLoopTest, OwnerHearsTheLoopAndGetsTheCommandPostedAfterIt) {
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_TRUE(TrackPopupMenu(m_menu, 0, 10, 10, 0, m_owner, nullptr));
    std::vector<UINT> order;
    for (const OwnerEvent& e : g_events)
        if (order.empty() || order.back() != e.message)
            order.push_back(e.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_MEASUREITEM,
                                        WM_DRAWITEM, WM_EXITMENULOOP}));
    ASSERT_EQ(EventsOf(WM_INITMENUPOPUP).size(), 1u);
    EXPECT_EQ(EventsOf(WM_INITMENUPOPUP)[0].menu, m_menu);
    EXPECT_EQ(EventsOf(WM_INITMENUPOPUP)[0].lParam, MAKELPARAM(0, FALSE));
    PumpUntilIdle();
    const auto commands = EventsOf(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].id, MAKEWPARAM(101, 0));
    EXPECT_EQ(commands[0].lParam, 0);
}

struct KeyCase {
    const char* name;
    std::vector<UINT> keys;
    UINT chosen;
};

TEST_F(MenuLoopTest, KeysMoveOverItemsAndChoose) {
    const KeyCase cases[] = {
        {"down chooses the first", {VK_DOWN, VK_RETURN}, 101},
        {"the separator is skipped", {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 103},
        {"a grayed item is passed over by enter", {VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}, 0},
        {"up starts at the last", {VK_UP, VK_UP, VK_RETURN}, 103},
        {"down wraps", {VK_UP, VK_DOWN, VK_RETURN}, 101},
        {"right opens only a submenu", {VK_DOWN, VK_RIGHT, VK_RETURN}, 101},
        {"right opens the submenu at its first", {VK_UP, VK_RIGHT, VK_RETURN}, 201},
        {"keys work the submenu", {VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}, 202},
        {"left closes it", {VK_UP, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RETURN}, 101},
        {"escape closes one level", {VK_UP, VK_RETURN, VK_ESCAPE, VK_ESCAPE}, 0},
        {"other keys are ignored", {VK_SPACE, VK_DOWN, VK_RETURN}, 101},
        {"escape closes the menu", {VK_ESCAPE, VK_DOWN, VK_RETURN}, 0},
    };
    for (const KeyCase& c : cases) {
        for (UINT key : c.keys)
            Key(key);
        EXPECT_EQ(Track(), c.chosen) << c.name;
        EXPECT_TRUE(OpenMenus().empty()) << c.name;
        PumpUntilIdle(); // keys left over go to the owner
    }
    EXPECT_TRUE(EventsOf(WM_COMMAND).empty()); // TPM_RETURNCMD notifies nothing
}

TEST_F(MenuLoopTest, StylusFollowsAndChoosesAndATapOutsideCloses) {
    struct StylusCase {
        const char* name;
        std::function<void()> input;
        UINT chosen;
    };
    const POINT outside{200, 200};
    const StylusCase cases[] = {
        {"tap on an item", [&] { Tap(ItemCentre(kChecked)); }, 103},
        {"drag to another item",
         [&] {
             Stylus(WM_LBUTTONDOWN, ItemCentre(kFirst));
             Stylus(WM_MOUSEMOVE, ItemCentre(kChecked));
             Stylus(WM_LBUTTONUP, ItemCentre(kChecked));
         },
         103},
        {"tap outside", [&] { Tap(outside); }, 0},
        {"lifting outside closes nothing",
         [&] {
             Stylus(WM_LBUTTONUP, outside);
             Tap(ItemCentre(kFirst));
         },
         101},
        {"separator and grayed item choose nothing",
         [&] {
             Tap(ItemCentre(kSeparator));
             Tap(ItemCentre(kGrayed));
             Key(VK_ESCAPE);
         },
         0},
        {"a tap opens the submenu beside its item, a tap there chooses",
         [&] {
             Tap(ItemCentre(kPopup));
             Tap(POINT{72 + 1 + 10, 76 + 1 + 30}); // the submenu's second item
         },
         202},
    };
    for (const StylusCase& c : cases) {
        c.input();
        EXPECT_EQ(Track(), c.chosen) << c.name;
        PumpUntilIdle();
    }
}

TEST_F(MenuLoopTest, ATapPostedToAnotherWindowCountsByItsScreenPoint) {
    HWND other = MakeChild(m_owner, {100, 150, 200, 250}, 5);
    Stylus(WM_LBUTTONDOWN, ItemCentre(kChecked), other);
    Stylus(WM_LBUTTONUP, ItemCentre(kChecked), other);
    EXPECT_EQ(Track(), 103u);
    Stylus(WM_LBUTTONDOWN, POINT{150, 200}, other); // outside the menu
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(Track(), 0u);
    PumpUntilIdle();
}

TEST_F(MenuLoopTest, OwnerDrawnItemsAreMeasuredOncePerTrackingAndDrawnWithTheirState) {
    Key(VK_DOWN);
    Key(VK_UP);
    Key(VK_RIGHT);
    Key(VK_LEFT);
    Key(VK_RIGHT); // the submenu a second time
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    Track();
    std::vector<UINT> measured;
    for (const OwnerEvent& e : EventsOf(WM_MEASUREITEM))
        measured.push_back(e.id);
    EXPECT_EQ(measured, (std::vector<UINT>{101, 0, 102, 103, 104, 201, 202}));

    // The first drawing of the top popup: every item whole, stacked from 0, 0, in its state.
    const auto draws = EventsOf(WM_DRAWITEM);
    ASSERT_GE(draws.size(), 5u);
    const UINT states[] = {0, 0, ODS_GRAYED | ODS_DISABLED, ODS_CHECKED, 0};
    const LONG tops[] = {0, 20, 26, 46, 66, 86};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(draws[std::size_t(i)].action, UINT(ODA_DRAWENTIRE)) << i;
        EXPECT_EQ(draws[std::size_t(i)].state, states[i]) << i;
        EXPECT_EQ(draws[std::size_t(i)].menu, m_menu) << i;
        const RECT r = draws[std::size_t(i)].rect;
        EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<LONG>{0, tops[i], kItemWidth, tops[i + 1]}))
            << i;
    }
    // Down: the first item drawn again, selected.
    EXPECT_EQ(draws[5].id, 101u);
    EXPECT_EQ(draws[5].action, UINT(ODA_SELECT));
    EXPECT_EQ(draws[5].state, UINT(ODS_SELECTED));

    g_events.clear();
    Key(VK_ESCAPE);
    Track();
    EXPECT_EQ(EventsOf(WM_MEASUREITEM).size(), 5u); // a new tracking measures again
}

TEST_F(MenuLoopTest, MenuIsPlacedAsTheFlagsSayAndKeptOnTheScreen) {
    struct PlaceCase {
        UINT flags;
        int x, y;
        LONG left, top;
    };
    // The window is 62 x 88: 60 x 86 of items in a one-pixel frame.
    const PlaceCase cases[] = {
        {TPM_LEFTALIGN | TPM_TOPALIGN, 10, 10, 10, 10},
        {TPM_RIGHTALIGN, 100, 10, 38, 10},
        {TPM_CENTERALIGN, 100, 10, 69, 10},
        {TPM_BOTTOMALIGN, 10, 200, 10, 112},
        {TPM_VCENTERALIGN, 10, 200, 10, 156},
        {0, 230, 300, 178, 232},
        {TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 5, 5, 0, 0},
    };
    for (const PlaceCase& c : cases) {
        nlohmann::json seen;
        Inspect([&] { seen = OpenMenus(); });
        Key(VK_ESCAPE);
        Track(c.flags, c.x, c.y);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0]["rect"], nlohmann::json({c.left, c.top, c.left + 62, c.top + 88}))
            << c.flags << " at " << c.x << ", " << c.y;
    }
}

TEST_F(MenuLoopTest, SubmenuOpensBesideItsItemOrToTheLeftWhenThereIsNoRoom) {
    for (const auto& [x, left] : {std::pair{10, 72L}, std::pair{170, 108L}}) {
        nlohmann::json seen;
        Key(VK_UP);
        Key(VK_RIGHT);
        Inspect([&] { seen = OpenMenus(); });
        Key(VK_ESCAPE);
        Key(VK_ESCAPE);
        g_events.clear();
        Track(0, x, 10);
        ASSERT_EQ(seen.size(), 2u);
        // Its top at the top of the item (66 into the parent's items, whose frame is at 10).
        EXPECT_EQ(seen[1]["rect"], nlohmann::json({left, 76, left + 62, 76 + 42})) << x;
        const auto popups = EventsOf(WM_INITMENUPOPUP);
        ASSERT_EQ(popups.size(), 2u);
        EXPECT_EQ(popups[1].menu, m_sub);
        EXPECT_EQ(popups[1].lParam, MAKELPARAM(kPopup, FALSE));
    }
}

TEST_F(MenuLoopTest, StatusDescribesEachOpenLevelAndNothingOnceClosed) {
    nlohmann::json seen;
    Key(VK_UP);
    Key(VK_RIGHT);
    Inspect([&] { seen = OpenMenus(); });
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    Track();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0]["menu"], reinterpret_cast<std::uintptr_t>(m_menu));
    const nlohmann::json& items = seen[0]["items"];
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[kSeparator]["separator"], true);
    EXPECT_EQ(items[kGrayed]["grayed"], true);
    EXPECT_EQ(items[kChecked]["checked"], true);
    EXPECT_EQ(items[kChecked]["id"], 103);
    EXPECT_EQ(items[kPopup]["submenu"], true);
    EXPECT_EQ(items[kPopup]["selected"], true);
    EXPECT_EQ(items[kFirst]["selected"], false);
    EXPECT_EQ(items[kFirst]["owner_drawn"], true);
    EXPECT_EQ(seen[1]["items"][0]["selected"], true);
    EXPECT_EQ(seen[1]["items"][0]["id"], 201);
    EXPECT_TRUE(OpenMenus().empty());
}

TEST_F(MenuLoopTest, MenuShowsOverEverythingWithoutTakingFocusAndLeavesNoTrace) {
    HWND topMost = CreateWindowEx(WS_EX_TOPMOST, ProbeClass(), L"above", WS_POPUP | WS_VISIBLE, 0,
                                  0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    m_windows.push_back(topMost);
    SetFocus(m_owner);
    PumpUntilIdle();
    COLORREF frame = 0, item = 0, selected = 0;
    HWND focus = nullptr, active = nullptr;
    Key(VK_DOWN);
    Inspect([&] {
        frame = ScreenPixel(POINT{10, 10});
        item = ScreenPixel(ItemCentre(kChecked));
        selected = ScreenPixel(ItemCentre(kFirst));
        focus = GetFocus();
        active = GetActiveWindow();
    });
    Key(VK_ESCAPE);
    Track();
    EXPECT_EQ(frame, GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(item, kItemFace);
    EXPECT_EQ(selected, kSelectedFace);
    EXPECT_EQ(focus, m_owner);
    EXPECT_EQ(active, m_owner);
    EXPECT_EQ(FindWindow(L"#32768", nullptr), nullptr);
    PumpUntilIdle();
    EXPECT_EQ(ScreenPixel(POINT{40, 40}), GetSysColor(COLOR_WINDOW)); // repainted beneath
}

TEST_F(MenuLoopTest, PlatformDrawsItsOwnTextItems) {
    HMENU plain = CreatePopupMenu();
    AppendMenu(plain, MF_STRING, 1, L"One");
    AppendMenu(plain, MF_SEPARATOR, 0, nullptr);
    AppendMenu(plain, MF_STRING, 2, L"Two");
    nlohmann::json seen;
    COLORREF first = 0, second = 0;
    Key(VK_DOWN);
    Inspect([&] {
        seen = OpenMenus();
        first = ScreenPixel(POINT{12, 12});
        second = ScreenPixel(POINT{12, 11 + 18 + 8 + 2});
    });
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(plain, TPM_RETURNCMD, 10, 10, 0, m_owner, nullptr), 2);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0]["items"][0]["text"], "One");
    EXPECT_EQ(seen[0]["items"][0]["owner_drawn"], false);
    EXPECT_EQ(seen[0]["items"][1]["separator"], true);
    const auto& r = seen[0]["rect"];
    EXPECT_EQ(r[3].get<int>() - r[1].get<int>(), 18 + 8 + 18 + 2);
    EXPECT_EQ(first, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(second, GetSysColor(COLOR_MENU));
    EXPECT_TRUE(EventsOf(WM_MEASUREITEM).empty());
    DestroyMenu(plain);
}

TEST_F(MenuLoopTest, NothingIsShownForAnEmptyMenuOrAnOwnerThatIsNoWindow) {
    HMENU empty = CreatePopupMenu();
    HWND gone = MakeTopLevel({0, 0, 10, 10});
    DestroyWindow(gone);
    EXPECT_FALSE(TrackPopupMenu(empty, 0, 10, 10, 0, m_owner, nullptr));
    EXPECT_FALSE(TrackPopupMenu(empty, TPM_RETURNCMD, 10, 10, 0, m_owner, nullptr));
    EXPECT_FALSE(TrackPopupMenu(m_menu, 0, 10, 10, 0, gone, nullptr));
    EXPECT_FALSE(TrackPopupMenu(m_menu, 0, 10, 10, 0, nullptr, nullptr));
    DestroyMenu(empty);
    EXPECT_FALSE(TrackPopupMenu(empty, 0, 10, 10, 0, m_owner, nullptr));
    EXPECT_TRUE(g_events.empty());
    EXPECT_EQ(FindWindow(L"#32768", nullptr), nullptr);
}

TEST_F(MenuLoopTest, LoopEndsWithoutACommandWhenOwnerOrMenuIsDestroyed) {
    enum class Gone { Owner, OpenSubmenu, Menu };
    for (Gone gone : {Gone::Owner, Gone::OpenSubmenu, Gone::Menu}) {
        Key(VK_UP);
        Key(VK_RIGHT);
        Inspect([&] {
            if (gone == Gone::Owner)
                DestroyWindow(m_owner);
            else
                DestroyMenu(gone == Gone::Menu ? m_menu : m_sub);
        });
        Key(VK_RETURN); // would choose 201, were the menu still there
        EXPECT_TRUE(TrackPopupMenu(m_menu, 0, 10, 10, 0, m_owner, nullptr));
        EXPECT_TRUE(OpenMenus().empty());
        EXPECT_EQ(FindWindow(L"#32768", nullptr), nullptr);
        PumpUntilIdle();
        EXPECT_TRUE(EventsOf(WM_COMMAND).empty());
        DestroyWindow(m_owner);
        DestroyMenu(m_menu);
        MakeOwner();
        BuildMenus();
        g_events.clear();
    }
}

TEST_F(MenuLoopTest, QuitEndsTheLoopAndIsPostedAgainForTheLoopOutside) {
    Key(VK_DOWN);
    Inspect([] { PostQuitMessage(5); });
    EXPECT_EQ(Track(), 0u);
    EXPECT_TRUE(OpenMenus().empty());
    EXPECT_EQ(EventsOf(WM_EXITMENULOOP).size(), 1u);
    MSG msg;
    EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(MenuLoopTest, AMenuCannotBeTrackedFromInsideAnother) {
    BOOL nested = TRUE;
    Inspect([&] { nested = TrackPopupMenu(m_sub, 0, 0, 0, 0, m_owner, nullptr); });
    Key(VK_ESCAPE);
    Track();
    EXPECT_FALSE(nested);
}

} // namespace
