// The program list's keypad handling: in the icon view the keypad's arrows do what the
// keyboard's arrows do; in the report view they move row by row and leave the list at its ends;
// the enter key notifies the parent; every other key goes to the parent unchanged.
#include "keypad/QAppList.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "keypad/Keypad.h"
#include "testsupport/ClockModeGuard.h"

namespace {

constexpr int kListId = 1001;

using Keys = std::vector<std::pair<WPARAM, LPARAM>>;

struct Heard {
    std::vector<UINT> notes; // WM_NOTIFY codes from the list
    Keys keys;               // WM_KEYPAD
    LRESULT answer = 0;      // what WM_NOTIFY returns
};
Heard g_parent;
Heard g_owner;

// Records what reaches it; hears NMHDR only, which is all the list promises.
template <Heard& heard>
LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        EXPECT_EQ(UINT(kListId), header->idFrom);
        EXPECT_EQ(UINT(kListId), UINT(wParam));
        EXPECT_EQ(kListId, GetDlgCtrlID(header->hwndFrom));
        // State-change notes come from the list-view control itself and are its tests' concern.
        if (header->code != LVN_ITEMCHANGED)
            heard.notes.push_back(header->code);
        return heard.answer;
    }
    if (message == WM_KEYPAD) {
        heard.keys.emplace_back(wParam, lParam);
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
}

HWND MakeWindow(LPCTSTR className, WNDPROC proc) {
    WNDCLASS wc;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = className;
    RegisterClass(&wc); // again for later tests: the class stays
    return CreateWindowEx(0, className, L"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr,
                          nullptr, nullptr, nullptr);
}

class QAppListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClockModeGuard::Clock().SetManual();
        g_parent = Heard{};
        g_owner = Heard{};
        m_parent = MakeWindow(L"AppListParent", RecordingProc<g_parent>);
        ASSERT_NE(nullptr, m_parent);
    }
    void TearDown() override {
        DestroyWindow(m_parent);
        Pump();
    }

    void MakeList(CListCtrl& list, DWORD style, int count, int x = 10) {
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | style, RECT{x, 30, x + 222, 275},
                                CWnd::FromHandle(m_parent), kListId));
        for (int i = 0; i < count; ++i)
            list.InsertItem(i, (L"item " + std::to_wstring(i)).c_str(), 0);
    }
    void Press(BYTE key, LPARAM repeat = 1) {
        m_list.PostMessage(WM_KEYPAD, key, repeat);
        Pump();
    }
    static int Focused(const CListCtrl& list) { return list.GetNextItem(-1, LVNI_FOCUSED); }
    std::vector<int> Selected() const {
        std::vector<int> found;
        for (int i = m_list.GetNextItem(-1, LVNI_SELECTED); i >= 0;
             i = m_list.GetNextItem(i, LVNI_SELECTED))
            found.push_back(i);
        return found;
    }
    void FocusItem(int item, UINT mask) {
        m_list.SetItemState(-1, 0, LVIS_FOCUSED | LVIS_SELECTED);
        if (item >= 0)
            m_list.SetItemState(item, mask, mask);
    }

    ClockModeGuard m_clock;
    HWND m_parent = nullptr;
    QAppList m_list;
};

TEST_F(QAppListTest, IconViewArrowsMoveLikeTheKeyboardsArrows) {
    CListCtrl twin; // the same list, driven by the keyboard
    MakeList(m_list, LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 10);
    MakeList(twin, LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 10, 0);
    const std::pair<BYTE, UINT> keys[] = {
        {KEY_RIGHT, VK_RIGHT}, {KEY_RIGHT, VK_RIGHT}, {KEY_RIGHT, VK_RIGHT}, {KEY_DOWN, VK_DOWN},
        {KEY_DOWN, VK_DOWN},   {KEY_LEFT, VK_LEFT},   {KEY_UP, VK_UP},       {KEY_DOWN, VK_DOWN},
        {KEY_DOWN, VK_DOWN},   {KEY_DOWN, VK_DOWN},   {KEY_LEFT, VK_LEFT},   {KEY_LEFT, VK_LEFT},
    };
    std::vector<int> path;
    for (const auto& [keypad, keyboard] : keys) {
        Press(keypad);
        twin.PostMessage(WM_KEYDOWN, keyboard, 0);
        Pump();
        EXPECT_EQ(Focused(twin), Focused(m_list));
        EXPECT_EQ(std::vector<int>{Focused(m_list)}, Selected());
        path.push_back(Focused(m_list));
    }
    EXPECT_NE(path.front(), path.back()) << "the focus travelled";
    EXPECT_TRUE(g_parent.keys.empty());
    EXPECT_TRUE(g_parent.notes.empty());
}

TEST_F(QAppListTest, EnterNotifiesTheParentAndOtherKeysGoUpUnchanged) {
    for (DWORD view : {LVS_ICON, LVS_REPORT}) {
        g_parent = Heard{};
        MakeList(m_list, view | LVS_SINGLESEL, 3);
        FocusItem(1, LVIS_FOCUSED | LVIS_SELECTED);
        Press(KEY_ENTER);
        EXPECT_EQ(std::vector<UINT>{NM_DBLCLK}, g_parent.notes);
        for (BYTE key : {KEY_SELECT, KEY_1, KEY_ABOUT, KEY_9, KEY_10})
            Press(key, 7);
        const Keys up = {{KEY_SELECT, 7}, {KEY_1, 7}, {KEY_ABOUT, 7}, {KEY_9, 7}, {KEY_10, 7}};
        EXPECT_EQ(view == LVS_ICON ? up : Keys(up.begin() + 1, up.end()), g_parent.keys)
            << "a single-selection report list ignores KEY_SELECT";
        EXPECT_EQ(1, Focused(m_list));
        m_list.DestroyWindow();
    }
}

TEST_F(QAppListTest, ReportViewMovesRowByRowAndLeavesAtItsEnds) {
    struct ReportCase {
        DWORD style;
        int focused; // before the key; -1: none
        BYTE key;
        int focusedAfter;
        std::vector<int> selectedAfter;
        bool toParent;
    };
    const DWORD single = LVS_REPORT | LVS_SINGLESEL;
    const DWORD multi = LVS_REPORT;
    const ReportCase cases[] = {
        {single, 4, KEY_DOWN, 4, {4}, true},      {single, 0, KEY_UP, 0, {0}, true},
        {single, 2, KEY_UP, 1, {1}, false},       {single, 2, KEY_DOWN, 3, {3}, false},
        {single, -1, KEY_DOWN, 0, {0}, false},    {single, -1, KEY_UP, -1, {}, true},
        {single, 2, KEY_LEFT, 2, {2}, false},     {single, 2, KEY_RIGHT, 2, {2}, false},
        {multi, 2, KEY_DOWN, 3, {2}, false},      {multi, 2, KEY_UP, 1, {2}, false},
        {multi, 4, KEY_DOWN, 4, {2}, true},       {multi, 2, KEY_SELECT, 2, {}, false},
        {multi, 3, KEY_SELECT, 3, {2, 3}, false},
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE("focus " + std::to_string(c.focused) + " key " + std::to_string(c.key));
        g_parent = Heard{};
        MakeList(m_list, c.style, 5);
        // The single-selection list has its focused item selected; the other has item 2
        // selected wherever its focus is.
        if (c.style == single) {
            FocusItem(c.focused, LVIS_FOCUSED | LVIS_SELECTED);
        } else {
            FocusItem(c.focused, LVIS_FOCUSED);
            m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
        }
        Press(c.key, 2);
        EXPECT_EQ(c.focusedAfter, Focused(m_list));
        EXPECT_EQ(c.selectedAfter, Selected());
        const Keys up = {{c.key, 2}};
        EXPECT_EQ(c.toParent ? up : Keys{}, g_parent.keys);
        m_list.DestroyWindow();
    }
}

TEST_F(QAppListTest, SelectTwiceUnmarksAndWithoutAFocusedItemMarksNothing) {
    MakeList(m_list, LVS_REPORT, 5);
    FocusItem(3, LVIS_FOCUSED);
    Press(KEY_SELECT);
    EXPECT_EQ(std::vector<int>{3}, Selected());
    Press(KEY_SELECT);
    EXPECT_TRUE(Selected().empty());
    FocusItem(-1, LVIS_FOCUSED);
    Press(KEY_SELECT);
    EXPECT_TRUE(Selected().empty());
}

TEST_F(QAppListTest, NotificationsGoToTheOwnerWhenOneIsSet) {
    MakeList(m_list, LVS_ICON, 1);
    HWND owner = MakeWindow(L"AppListOwner", RecordingProc<g_owner>);
    g_owner.answer = 42;
    m_list.SetOwner(CWnd::FromHandle(owner));
    EXPECT_EQ(42, m_list.NotifyParent(NM_DBLCLK));
    EXPECT_EQ(std::vector<UINT>{NM_DBLCLK}, g_owner.notes);
    EXPECT_TRUE(g_parent.notes.empty());
    DestroyWindow(owner);
    g_parent.answer = 7;
    EXPECT_EQ(7, m_list.NotifyParent(NM_CLICK)) << "a dead owner: the parent";

    QAppList alone; // no parent and no owner
    ASSERT_TRUE(alone.CreateEx(0, WC_LISTVIEW, L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(0, alone.NotifyParent(NM_DBLCLK));
    alone.DestroyWindow();
}

TEST_F(QAppListTest, ScrollingLeftRepaintsTheWholeList) {
    MakeList(m_list, LVS_REPORT, 3);
    RECT client;
    GetClientRect(m_list.m_hWnd, &client);
    // The platform's documented scroll codes: SB_LINELEFT 0, SB_PAGELEFT 2, SB_THUMBTRACK 5 and
    // SB_LEFT 6 scroll leftward.
    const std::set<UINT> leftwardCodes = {0, 2, 5, 6};
    for (UINT code = 0; code <= 8; ++code) {
        Pump();
        RECT update;
        ASSERT_FALSE(GetUpdateRect(m_list.m_hWnd, &update, FALSE));
        m_list.SendMessage(WM_HSCROLL, MAKEWPARAM(WORD(code), 0), 0);
        const bool leftward = leftwardCodes.count(code) != 0;
        EXPECT_EQ(leftward, bool(GetUpdateRect(m_list.m_hWnd, &update, FALSE))) << "code " << code;
        if (leftward) {
            EXPECT_TRUE(update.left == client.left && update.top == client.top &&
                        update.right == client.right && update.bottom == client.bottom)
                << "code " << code << ": not the whole list";
        }
    }
}

} // namespace
