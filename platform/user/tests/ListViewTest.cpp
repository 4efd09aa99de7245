// The list-view control as the launcher's program list and report lists use it: items and their
// data, the whole-text search, focus and selection, deletion notes, arrow-key navigation in the
// icon grid and in rows, scrolling the focused item into view, taps, and what it paints.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/Framebuffer.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/WinGdi.h"
#include "platform/kernel/KernelTime.h"
#include "platform/user/CListCtrl.h"
#include "testsupport/ClockModeGuard.h"
#include "testsupport/StylusReports.h"

namespace {

constexpr int kListId = 1001;
constexpr COLORREF kGrey = 0x00989898; // the icons' mask colour and the list's background
constexpr std::uint32_t kRed = 0xFF0000;

struct Note {
    UINT code;
    int item;
    LPARAM param;
    bool operator==(const Note&) const = default;
};
void PrintTo(const Note& n, std::ostream* os) {
    *os << "{code " << int(n.code) << ", item " << n.item << ", param " << n.param << "}";
}

std::vector<Note> g_notes;
LRESULT g_deleteAllAnswer = FALSE;

// One LVN_ITEMCHANGED: the item and its state before and after.
struct Change {
    int item;
    UINT oldState;
    UINT newState;
    bool operator==(const Change&) const = default;
};
void PrintTo(const Change& c, std::ostream* os) {
    *os << "{item " << c.item << ", old " << c.oldState << ", new " << c.newState << "}";
}
std::vector<Change> g_changes;

// The list's parent: records each notification as it arrives.
LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_NOTIFY)
        return DefWindowProc(hwnd, message, wParam, lParam);
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    EXPECT_EQ(UINT(kListId), header->idFrom);
    EXPECT_EQ(GetDlgItem(hwnd, kListId), header->hwndFrom);
    if (header->code == LVN_ITEMCHANGED) {
        const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lParam);
        EXPECT_EQ(UINT(LVIF_STATE), lv->uChanged);
        g_changes.push_back({lv->iItem, lv->uOldState, lv->uNewState});
        return 0;
    }
    Note note{header->code, -1, 0};
    if (header->code == LVN_DELETEITEM || header->code == LVN_DELETEALLITEMS) {
        const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lParam);
        note.item = lv->iItem;
        note.param = lv->lParam;
    } else if (header->code == NM_CLICK || header->code == NM_DBLCLK) {
        const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        note.item = activate->iItem;
        note.param = activate->lParam;
    }
    g_notes.push_back(note);
    return header->code == LVN_DELETEALLITEMS ? g_deleteAllAnswer : 0;
}

void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
}

std::uint32_t Rgb(COLORREF c) {
    return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

// A 50 x 50 icon: a red square on the mask colour.
HBITMAP RedSquare() {
    std::vector<std::uint32_t> bits(50 * 50, Rgb(kGrey));
    for (int y = 15; y < 35; ++y)
        for (int x = 15; x < 35; ++x)
            bits[std::size_t(y * 50 + x)] = kRed;
    return CreateBitmap(50, 50, 1, 32, bits.data());
}

const std::vector<std::wstring> kNames = {
    L"Zentra", L"Quilbar",       L"Ovik", L"Marl Sweep", L"Pell Gather",
    L"Tersen", L"Roundel Probe", L"Kest", L"Pell Tape",  L"Varnet"};

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClockModeGuard::Clock().SetManual();
        static const bool registered = [] {
            WNDCLASS wc;
            wc.lpfnWndProc = ParentProc;
            wc.hbrBackground = reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_WINDOW + 1));
            wc.lpszClassName = L"ListViewTestParent";
            return RegisterClass(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        m_parent = CreateWindowEx(0, L"ListViewTestParent", L"parent", WS_POPUP | WS_VISIBLE, 0, 0,
                                  240, 320, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_parent);
        g_notes.clear();
        g_changes.clear();
        g_deleteAllAnswer = FALSE;
    }
    void TearDown() override {
        DestroyWindow(m_parent);
        Pump();
    }

    // A list the size of the launcher's (127 x 140 dialog units), with count named items whose
    // data is 100, 101, ... and, for the icon views, 50 x 50 icons.
    void MakeList(DWORD style, std::size_t count = kNames.size(), int height = 245) {
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | style, RECT{10, 30, 232, 30 + height},
                                  CWnd::FromHandle(m_parent), kListId));
        m_list.SetBkColor(kGrey);
        if ((style & LVS_TYPEMASK) == LVS_ICON) {
            HIMAGELIST icons = ImageList_Create(50, 50, ILC_MASK, 10, 1);
            HBITMAP square = RedSquare();
            ImageList_AddMasked(icons, square, kGrey);
            DeleteObject(square);
            SendMessage(m_list.m_hWnd, LVM_SETIMAGELIST, LVSIL_NORMAL, LPARAM(icons));
        }
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_EQ(int(i), m_list.InsertItem(int(i), kNames[i].c_str(), 0));
            m_list.SetItemData(int(i), 100 + i);
        }
        Pump();
    }
    std::vector<int> Items(UINT flags) const {
        std::vector<int> found;
        for (int i = m_list.GetNextItem(-1, int(flags)); i >= 0;
             i = m_list.GetNextItem(i, int(flags)))
            found.push_back(i);
        return found;
    }
    int Focused() const { return m_list.GetNextItem(-1, LVNI_FOCUSED); }
    RECT ItemRect(int item, UINT code) const {
        RECT r;
        EXPECT_TRUE(m_list.GetItemRect(item, &r, code));
        return r;
    }
    int Columns() const {
        int columns = 0;
        while (columns < m_list.GetItemCount() &&
               ItemRect(columns, LVIR_BOUNDS).top == ItemRect(0, LVIR_BOUNDS).top)
            ++columns;
        return columns;
    }
    void Key(UINT vk) {
        m_list.PostMessage(WM_KEYDOWN, vk, 0);
        Pump();
    }
    // The stylus put down on the item's icon and lifted, through the touch screen.
    void Tap(int item) {
        const RECT r = ItemRect(item, LVIR_ICON);
        POINT p{(r.left + r.right) / 2, r.top + 10};
        ClientToScreen(m_list.m_hWnd, &p);
        ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTDOWN, p.x, p.y));
        ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTUP, p.x, p.y));
        Pump();
    }
    // The screen pixels of a rectangle in the list's client coordinates.
    std::vector<std::uint32_t> Pixels(RECT r) const {
        POINT origin{0, 0};
        ClientToScreen(m_list.m_hWnd, &origin);
        std::vector<std::uint32_t> pixels;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                pixels.push_back(Framebuffer::Instance().Pixel(origin.x + x, origin.y + y));
        return pixels;
    }
    static int Count(const std::vector<std::uint32_t>& pixels, std::uint32_t colour) {
        int n = 0;
        for (std::uint32_t p : pixels)
            n += p == colour;
        return n;
    }

    ClockModeGuard m_clock;
    HWND m_parent = nullptr;
    CListCtrl m_list;
};

TEST_F(ListViewTest, ItemsKeepTheirPlaceTextImageAndData) {
    MakeList(LVS_REPORT, 0);
    EXPECT_EQ(0, m_list.InsertItem(0, L"B", 4));
    EXPECT_EQ(0, m_list.InsertItem(0, L"A", 5));
    EXPECT_EQ(2, m_list.InsertItem(99, L"C", 6)) << "past the end appends";
    EXPECT_EQ(-1, m_list.InsertItem(-1, L"D", 7));
    const std::wstring longText(300, L'x');
    EXPECT_EQ(3, m_list.InsertItem(3, longText.c_str()));
    ASSERT_EQ(4, m_list.GetItemCount());
    EXPECT_TRUE(m_list.SetItemData(1, 0xB0B));
    EXPECT_FALSE(m_list.SetItemData(4, 1));

    const wchar_t* texts[] = {L"A", L"B", L"C"};
    const int images[] = {5, 4, 6};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CString(texts[i]), m_list.GetItemText(i, 0));
        LVITEM item;
        item.mask = LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        ASSERT_TRUE(m_list.GetItem(&item));
        EXPECT_EQ(images[i], item.iImage);
        EXPECT_EQ(i == 1 ? 0xB0B : 0, item.lParam);
    }
    EXPECT_EQ(CString(longText.c_str()), m_list.GetItemText(3, 0));
    EXPECT_EQ(DWORD_PTR(0xB0B), m_list.GetItemData(1));
    EXPECT_EQ(DWORD_PTR(0), m_list.GetItemData(9));
    wchar_t small[3];
    EXPECT_EQ(2, m_list.GetItemText(3, 0, small, 3));
    EXPECT_EQ(std::wstring(L"xx"), small);
}

TEST_F(ListViewTest, FindItemMatchesWholeTextsWithoutRegardToCase) {
    MakeList(LVS_ICON, 4);
    m_list.InsertItem(4, L"zentra");
    struct FindCase {
        int start;
        const wchar_t* text;
        int found;
    };
    const FindCase cases[] = {
        {-1, L"Zentra", 0}, {-1, L"ZENTRA", 0},     {0, L"zentra", 4}, {4, L"Zentra", -1},
        {-1, L"Zent", -1},  {-1, L"Marl Sweep", 3}, {-1, L"Marl", -1}, {-1, L"", -1},
    };
    for (const FindCase& c : cases) {
        LVFINDINFO info;
        info.flags = LVFI_STRING;
        info.psz = c.text;
        EXPECT_EQ(c.found, m_list.FindItem(&info, c.start));
    }
}

TEST_F(ListViewTest, OneFocusedItemAndInSingleSelectionOneSelected) {
    struct StateCase {
        DWORD style;
        std::vector<int> selectedAfterOneAndThree;
        std::vector<int> selectedAfterAll;
    };
    const StateCase cases[] = {
        {LVS_REPORT | LVS_SINGLESEL, {3}, {9}},
        {LVS_REPORT, {1, 3}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const StateCase& c : cases) {
        MakeList(c.style);
        m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
        m_list.SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EXPECT_EQ(c.selectedAfterOneAndThree, Items(LVNI_SELECTED));
        m_list.SetItemState(5, LVIS_FOCUSED, LVIS_FOCUSED);
        EXPECT_EQ(std::vector<int>{5}, Items(LVNI_FOCUSED));
        EXPECT_EQ(UINT(LVIS_FOCUSED), m_list.GetItemState(5, LVIS_FOCUSED | LVIS_SELECTED));
        EXPECT_EQ(std::vector<int>{}, Items(LVNI_FOCUSED | LVNI_SELECTED));
        m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_EQ(c.selectedAfterAll, Items(LVNI_SELECTED));
        m_list.SetItemState(-1, 0, LVIS_SELECTED);
        EXPECT_TRUE(Items(LVNI_SELECTED).empty());
        m_list.DestroyWindow();
    }
}

TEST_F(ListViewTest, EachItemWhoseStateChangesIsNotedAfterTheChange) {
    constexpr UINT kFS = LVIS_FOCUSED | LVIS_SELECTED;
    MakeList(LVS_ICON | LVS_SINGLESEL, 3);
    m_list.SetItemState(1, kFS, kFS);
    EXPECT_EQ((std::vector<Change>{{1, 0, kFS}}), g_changes);
    g_changes.clear();
    // Focus and selection move from item 1 to item 2: both items are noted, nothing else.
    Key(VK_RIGHT);
    EXPECT_EQ((std::vector<Change>{{1, kFS, 0}, {2, 0, kFS}}), g_changes);
    g_changes.clear();
    m_list.SetItemState(2, kFS, kFS);
    EXPECT_TRUE(g_changes.empty()) << "a state set again is no change";
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ((std::vector<Change>{{2, kFS, LVIS_FOCUSED}}), g_changes);
}

TEST_F(ListViewTest, DeletingAllItemsNotesEachItemWithItsData) {
    MakeList(LVS_ICON, 3);
    EXPECT_TRUE(m_list.DeleteAllItems());
    EXPECT_EQ((std::vector<Note>{{LVN_DELETEALLITEMS, -1, 0},
                                 {LVN_DELETEITEM, 0, 100},
                                 {LVN_DELETEITEM, 1, 101},
                                 {LVN_DELETEITEM, 2, 102}}),
              g_notes);
    EXPECT_EQ(0, m_list.GetItemCount());

    // A parent that answers TRUE to the first note gets no note per item.
    m_list.InsertItem(0, L"one");
    g_notes.clear();
    g_deleteAllAnswer = TRUE;
    m_list.DeleteAllItems();
    EXPECT_EQ((std::vector<Note>{{LVN_DELETEALLITEMS, -1, 0}}), g_notes);

    // Destroying the list deletes its items the same way.
    g_deleteAllAnswer = FALSE;
    m_list.InsertItem(0, L"one");
    m_list.SetItemData(0, 7);
    g_notes.clear();
    m_list.DestroyWindow();
    EXPECT_EQ((std::vector<Note>{{LVN_DELETEALLITEMS, -1, 0}, {LVN_DELETEITEM, 0, 7}}), g_notes);
}

TEST_F(ListViewTest, ArrowsMoveFocusAndSelectionThroughTheIconGrid) {
    MakeList(LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    const int c = Columns();
    ASSERT_GE(c, 2);
    const int last = m_list.GetItemCount() - 1;
    ASSERT_GT(last, 2 * c) << "the test needs three rows";
    struct MoveCase {
        int from; // -1: no item focused
        UINT key;
        int to;
    };
    const MoveCase cases[] = {
        {-1, VK_RIGHT, 0},      {0, VK_RIGHT, 1},         {1, VK_LEFT, 0},
        {0, VK_LEFT, 0},        {c - 1, VK_RIGHT, c - 1}, {c, VK_LEFT, c},
        {0, VK_DOWN, c},        {c + 1, VK_UP, 1},        {1, VK_UP, 1},
        {last, VK_RIGHT, last}, {last, VK_DOWN, last},    {last - c, VK_DOWN, last},
    };
    for (const MoveCase& m : cases) {
        SCOPED_TRACE("from " + std::to_string(m.from) + " key " + std::to_string(m.key));
        m_list.SetItemState(-1, 0, LVIS_FOCUSED | LVIS_SELECTED);
        if (m.from >= 0)
            m_list.SetItemState(m.from, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        Key(m.key);
        EXPECT_EQ(m.to, Focused());
        EXPECT_EQ(std::vector<int>{m.to}, Items(LVNI_SELECTED));
    }
}

TEST_F(ListViewTest, ArrowsMoveRowByRowInTheReportView) {
    MakeList(LVS_REPORT, 5);
    struct MoveCase {
        int from;
        UINT key;
        int to;
    };
    const MoveCase cases[] = {
        {-1, VK_DOWN, 0}, {0, VK_DOWN, 1}, {4, VK_DOWN, 4},  {3, VK_UP, 2},
        {0, VK_UP, 0},    {2, VK_LEFT, 2}, {2, VK_RIGHT, 2},
    };
    for (const MoveCase& m : cases) {
        m_list.SetItemState(-1, 0, LVIS_FOCUSED | LVIS_SELECTED);
        if (m.from >= 0)
            m_list.SetItemState(m.from, LVIS_FOCUSED, LVIS_FOCUSED);
        Key(m.key);
        EXPECT_EQ(m.to, Focused()) << "from " << m.from << " key " << m.key;
    }
}

TEST_F(ListViewTest, TheFocusedItemIsScrolledIntoView) {
    MakeList(LVS_ICON | LVS_SINGLESEL, kNames.size(), 120);
    RECT client;
    GetClientRect(m_list.m_hWnd, &client);
    m_list.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    for (int step = 0; step < 4; ++step) {
        Key(VK_DOWN);
        const RECT cell = ItemRect(Focused(), LVIR_BOUNDS);
        EXPECT_GE(cell.top, 0) << "step " << step;
        EXPECT_LE(cell.bottom, client.bottom) << "step " << step;
    }
    EXPECT_LT(ItemRect(0, LVIR_BOUNDS).top, 0) << "the first row went up out of view";
    EXPECT_TRUE(m_list.EnsureVisible(0, FALSE));
    EXPECT_EQ(0, ItemRect(0, LVIR_BOUNDS).top);
    EXPECT_FALSE(m_list.EnsureVisible(10, FALSE));
}

TEST_F(ListViewTest, ASecondTapOnTheSameItemSoonIsADoubleTap) {
    struct TapCase {
        int first;
        DWORD gapMs;
        int second;
        Note secondNote;
    };
    const TapCase cases[] = {
        {1, 200, 1, {NM_DBLCLK, 1, 101}},
        {1, 600, 1, {NM_CLICK, 1, 101}},
        {1, 100, 2, {NM_CLICK, 2, 102}},
    };
    MakeList(LVS_ICON | LVS_SINGLESEL, 3); // one row, with room below it
    for (const TapCase& c : cases) {
        Sleep(1000); // no earlier tap counts
        g_notes.clear();
        Tap(c.first);
        Sleep(c.gapMs);
        Tap(c.second);
        ASSERT_EQ(2u, g_notes.size());
        EXPECT_EQ((Note{NM_CLICK, c.first, LPARAM(100 + c.first)}), g_notes[0]);
        EXPECT_EQ(c.secondNote, g_notes[1]);
        EXPECT_EQ(c.second, Focused());
        EXPECT_EQ(std::vector<int>{c.second}, Items(LVNI_SELECTED));
        EXPECT_EQ(m_list.m_hWnd, GetFocus()) << "a tap gives the list the focus";
    }
    // A double tap whose presses straddle two items activates neither.
    g_notes.clear();
    const auto press = [&](UINT message, int item) {
        const RECT r = ItemRect(item, LVIR_BOUNDS);
        m_list.SendMessage(message, MK_LBUTTON,
                           MAKELPARAM(WORD(item == 1 ? r.right - 1 : r.left), WORD(r.top + 10)));
    };
    press(WM_LBUTTONDOWN, 1);
    press(WM_LBUTTONDBLCLK, 2);
    EXPECT_EQ((std::vector<Note>{{NM_CLICK, 1, 101}, {NM_CLICK, 2, 102}}), g_notes);
    // A tap beside the items clears the selection and keeps the focused item.
    g_notes.clear();
    RECT client;
    GetClientRect(m_list.m_hWnd, &client);
    m_list.SendMessage(WM_LBUTTONDOWN, 0,
                       MAKELPARAM(WORD(client.right - 1), WORD(client.bottom - 1)));
    EXPECT_EQ((std::vector<Note>{{NM_CLICK, -1, 0}}), g_notes);
    EXPECT_TRUE(Items(LVNI_SELECTED).empty());
    EXPECT_EQ(2, Focused());
}

TEST_F(ListViewTest, SelectionAndFocusAreDrawnAsThePlatformDoes) {
    struct PaintCase {
        const char* what;
        DWORD style;
        bool listHasFocus;
        std::uint32_t labelFill;
        std::uint32_t textColour;
    };
    const PaintCase cases[] = {
        {"focused list", LVS_SHOWSELALWAYS, true, Rgb(GetSysColor(COLOR_HIGHLIGHT)),
         Rgb(GetSysColor(COLOR_HIGHLIGHTTEXT))},
        {"selection shown always", LVS_SHOWSELALWAYS, false, Rgb(GetSysColor(COLOR_BTNFACE)),
         Rgb(GetSysColor(COLOR_WINDOWTEXT))},
        {"selection hidden without the focus", 0, false, Rgb(kGrey),
         Rgb(GetSysColor(COLOR_WINDOWTEXT))},
    };
    ASSERT_EQ(0x000080u, Rgb(GetSysColor(COLOR_HIGHLIGHT))) << "navy";
    for (const PaintCase& c : cases) {
        SCOPED_TRACE(c.what);
        Framebuffer::Instance().Clear(0x123456);
        MakeList(LVS_ICON | LVS_SINGLESEL | c.style, 3);
        m_list.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        SetFocus(c.listHasFocus ? m_list.m_hWnd : m_parent);
        m_list.Invalidate();
        Pump();

        // The label's inside (its one-pixel edge is the focus frame's).
        RECT label = ItemRect(1, LVIR_LABEL);
        const RECT inside{label.left + 1, label.top + 1, label.right - 1, label.bottom - 1};
        const std::vector<std::uint32_t> pixels = Pixels(inside);
        EXPECT_GT(Count(pixels, c.labelFill), int(pixels.size()) / 2);
        EXPECT_GT(Count(pixels, c.textColour), 0) << "the text";
        const std::vector<std::uint32_t> edge =
            Pixels(RECT{label.left, label.top, label.right, label.top + 1});
        EXPECT_EQ(c.listHasFocus, Count(edge, c.labelFill) < int(edge.size()))
            << "the focus frame only while the list has the focus";

        // An unselected label is the list's background with the text on it, and each icon
        // shows through its mask.
        const std::vector<std::uint32_t> other = Pixels(ItemRect(0, LVIR_LABEL));
        EXPECT_GT(Count(other, Rgb(kGrey)), int(other.size()) / 2);
        EXPECT_GT(Count(other, Rgb(GetSysColor(COLOR_WINDOWTEXT))), 0);
        const RECT icon = ItemRect(0, LVIR_ICON);
        EXPECT_EQ(std::vector<std::uint32_t>{kRed},
                  Pixels(RECT{icon.left + 25, icon.top + 25, icon.left + 26, icon.top + 26}));
        EXPECT_EQ(std::vector<std::uint32_t>{Rgb(kGrey)},
                  Pixels(RECT{icon.left + 2, icon.top + 2, icon.left + 3, icon.top + 3}));
        m_list.DestroyWindow();
    }
}

// A label measured as one line must still be one line in the box it is drawn in (the box less
// its 2-pixel inset): otherwise its second line is cut off, as "Signal Check" once was.
TEST_F(ListViewTest, AOneLineLabelBoxHoldsItsTextOnOneLine) {
    MakeList(LVS_ICON, 0);
    // Every prefix of words of different letter widths, so that some labels measure within a few
    // pixels of the cell's width.
    int item = 0;
    for (const std::wstring word :
         {L"Signal Check", L"Drift Logger", L"abcdefghijklmnopqrstuvwxyz", L"WWWWWWWWWWWW",
          L"iiiiiiiiiiiiiiiiiiiiiiiiiiii", L"Roundel Probe"}) {
        for (std::size_t n = 1; n <= word.size(); ++n)
            m_list.InsertItem(item++, word.substr(0, n).c_str(), 0);
    }
    HDC hdc = GetDC(m_list.m_hWnd);
    RECT line{0, 0, 1000, 0};
    DrawText(hdc, L"A", 1, &line, DT_CALCRECT | DT_SINGLELINE);
    const LONG lineHeight = line.bottom - line.top;
    int oneLineBoxes = 0;
    for (int i = 0; i < item; ++i) {
        const RECT box = ItemRect(i, LVIR_LABEL);
        if (box.bottom - box.top > lineHeight)
            continue;
        ++oneLineBoxes;
        const CString text = m_list.GetItemText(i, 0);
        RECT need{0, 0, box.right - box.left - 4, 0};
        DrawText(hdc, text, text.GetLength(), &need,
                 DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        EXPECT_EQ(lineHeight, need.bottom - need.top) << text.ToUtf8();
    }
    ReleaseDC(m_list.m_hWnd, hdc);
    EXPECT_GT(oneLineBoxes, 20);
}

TEST_F(ListViewTest, NothingIsPaintedWhileRedrawIsOff) {
    MakeList(LVS_ICON, 0);
    Framebuffer::Instance().Clear(0x123456);
    m_list.SetRedraw(FALSE);
    m_list.InsertItem(0, L"Zentra", 0);
    m_list.Invalidate();
    Pump();
    const RECT icon = ItemRect(0, LVIR_ICON);
    const RECT centre{icon.left + 25, icon.top + 25, icon.left + 26, icon.top + 26};
    EXPECT_EQ(std::vector<std::uint32_t>{0x123456}, Pixels(centre));
    m_list.SetRedraw(TRUE);
    Pump();
    EXPECT_EQ(std::vector<std::uint32_t>{kRed}, Pixels(centre));
}

} // namespace
