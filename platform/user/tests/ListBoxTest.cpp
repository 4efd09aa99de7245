// The list box: lines added, read and cleared; drawn white, top down, a line per text height,
// the selected line highlighted and a scroll bar only while the lines do not fit; a tap selects
// and, with LBS_NOTIFY, tells the parent; without LBS_NOINTEGRALHEIGHT the box is cut to lines.
#include "WindowFixture.h"

#include <nlohmann/json.hpp>

#include "platform/gdi/Framebuffer.h"
#include "platform/gdi/WinGdi.h"
#include "platform/user/CListBox.h"
#include "platform/user/ListBox.h"
#include "platform/user/WindowTree.h"

namespace {

constexpr int kListId = 52;
// The box on screen: its frame's outer rectangle.
constexpr RECT kBox{10, 20, 110, 60};

std::vector<WPARAM> g_commands;

LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND)
        g_commands.push_back(wParam);
    return DefWindowProc(hwnd, message, wParam, lParam);
}

std::uint32_t PixelOf(COLORREF c) {
    return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

const nlohmann::json* FindWindow(const nlohmann::json& windows, std::uintptr_t hwnd) {
    for (const nlohmann::json& w : windows) {
        if (w["hwnd"] == hwnd)
            return &w;
        if (const nlohmann::json* found = FindWindow(w["children"], hwnd))
            return found;
    }
    return nullptr;
}

class ListBoxTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        g_commands.clear();
        LPCTSTR parentClass = WhiteClass(L"ListParent", ParentProc);
        ASSERT_NE(parentClass, nullptr);
        m_parent = CreateWindowEx(0, parentClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320,
                                  nullptr, nullptr, nullptr, nullptr);
        m_windows.push_back(m_parent);
    }
    void TearDown() override {
        if (m_box.m_hWnd)
            m_box.DestroyWindow();
        WindowTest::TearDown();
    }
    HWND Make(DWORD style) {
        EXPECT_TRUE(
            m_box.Create(WS_CHILD | WS_VISIBLE | style, kBox, CWnd::FromHandle(m_parent), kListId));
        return m_box.m_hWnd;
    }
    int LineHeight() const { return int(m_box.SendMessage(LB_GETITEMHEIGHT)); }
    static std::uint32_t At(int x, int y) { return Framebuffer::Instance().Pixel(x, y); }
    // Whether any pixel of the row band [top, bottom) of the box's text area is not white.
    static bool InkIn(int top, int bottom, int right = kBox.right - 1) {
        for (int y = top; y < bottom; ++y)
            for (int x = kBox.left + 1; x < right; ++x)
                if (At(x, y) != 0xFFFFFF)
                    return true;
        return false;
    }

    // The leftmost column from left on with a non-white pixel in the rows [top, bottom).
    static int FirstInkColumn(int left, int top, int bottom) {
        for (int x = left; x < 240; ++x)
            for (int y = top; y < bottom; ++y)
                if (At(x, y) != 0xFFFFFF)
                    return x;
        return -1;
    }

    HWND m_parent = nullptr;
    CListBox m_box;
};

TEST_F(ListBoxTest, LinesAreAddedReadAndCleared) {
    Make(LBS_NOINTEGRALHEIGHT);
    EXPECT_EQ(m_box.GetCount(), 0);
    EXPECT_EQ(m_box.AddString(L"first"), 0);
    EXPECT_EQ(m_box.AddString(L"second line"), 1);
    EXPECT_EQ(m_box.AddString(L""), 2);
    EXPECT_EQ(m_box.GetCount(), 3);
    EXPECT_EQ(m_box.GetTextLen(1), 11);
    EXPECT_EQ(m_box.GetTextLen(3), int(LB_ERR));
    CString text;
    m_box.GetText(1, text);
    EXPECT_EQ(text, L"second line");
    m_box.GetText(3, text);
    EXPECT_TRUE(text.IsEmpty());

    // The window tree carries the lines for the simulator's status.
    const nlohmann::json tree = DescribeWindowTree();
    const nlohmann::json* described =
        FindWindow(tree, reinterpret_cast<std::uintptr_t>(m_box.m_hWnd));
    ASSERT_NE(described, nullptr);
    EXPECT_EQ((*described)["lines"], nlohmann::json({"first", "second line", ""}));

    m_box.ResetContent();
    EXPECT_EQ(m_box.GetCount(), 0);
    EXPECT_EQ(m_box.GetCurSel(), -1);
}

TEST_F(ListBoxTest, LinesAreDrawnTopDownOnWhiteInsideTheFrame) {
    Make(WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT);
    const int h = LineHeight();
    ASSERT_GT(h, 8);
    const int top = kBox.top + 1; // inside the one-pixel frame
    m_box.AddString(L"Wg");
    UpdateWindow(m_box.m_hWnd);
    EXPECT_EQ(At(kBox.left, kBox.top), PixelOf(GetSysColor(COLOR_WINDOWFRAME)));
    EXPECT_EQ(At(kBox.right - 1, kBox.bottom - 1), PixelOf(GetSysColor(COLOR_WINDOWFRAME)));
    EXPECT_TRUE(InkIn(top, top + h)) << "the first line is drawn at the top";
    // The text stands two pixels off the box's left edge: its first inked column is where the
    // same text drawn two pixels right of a known column has its own.
    RECT reference{0, 200, 100, 200 + h};
    HDC dc = GetDC(m_parent);
    FillRect(dc, &reference, GetSysColorBrush(COLOR_WINDOW));
    DrawText(dc, L"Wg", 2, &reference, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    ReleaseDC(m_parent, dc);
    EXPECT_EQ(FirstInkColumn(kBox.left + 1, top, top + h) - (kBox.left + 1),
              FirstInkColumn(0, 200, 200 + h) + 2);
    EXPECT_FALSE(InkIn(top + h, kBox.bottom - 1)) << "one line, and no scroll bar";

    // The selected line is filled from its first row to its last, and the next line starts
    // right below it.
    m_box.AddString(L"Wg");
    m_box.SetCurSel(1);
    UpdateWindow(m_box.m_hWnd);
    const std::uint32_t highlight = PixelOf(GetSysColor(COLOR_HIGHLIGHT));
    const int x = kBox.right - 3;
    EXPECT_EQ(At(x, top + h - 1), 0xFFFFFFu);
    EXPECT_EQ(At(x, top + h), highlight);
    EXPECT_EQ(At(x, top + 2 * h - 1), highlight);
    EXPECT_EQ(At(x, top + 2 * h), 0xFFFFFFu);

    // Lines past the bottom bring the scroll bar at the right edge; the text area narrows.
    m_box.AddString(L"Wg");
    m_box.AddString(L"Wg");
    UpdateWindow(m_box.m_hWnd);
    const int barLeft = kBox.right - 1 - 13;
    EXPECT_NE(At(barLeft, kBox.bottom - 2), 0xFFFFFFu);
    EXPECT_EQ(At(barLeft - 1, top + 2 * h + 1), 0xFFFFFFu);
}

TEST_F(ListBoxTest, HeightIsCutToWholeLinesUnlessAskedNotTo) {
    Make(WS_BORDER);
    const int h = LineHeight();
    RECT client;
    GetClientRect(m_box.m_hWnd, &client);
    EXPECT_EQ(client.bottom, (kBox.bottom - kBox.top - 2) / h * h);
    m_box.DestroyWindow();

    Make(WS_BORDER | LBS_NOINTEGRALHEIGHT);
    GetClientRect(m_box.m_hWnd, &client);
    EXPECT_EQ(client.bottom, kBox.bottom - kBox.top - 2);
}

TEST_F(ListBoxTest, ATapSelectsALineAndTellsTheParentWhenAskedTo) {
    for (const DWORD notify : {LBS_NOTIFY, DWORD(0)}) {
        g_commands.clear();
        Make(LBS_NOINTEGRALHEIGHT | notify);
        const int h = LineHeight();
        m_box.AddString(L"one");
        m_box.AddString(L"two");
        auto at = [&](int line) { return MAKELPARAM(5, line * h + h / 2); };
        m_box.SendMessage(WM_LBUTTONDOWN, 0, at(1));
        EXPECT_EQ(m_box.GetCurSel(), 1);
        EXPECT_EQ(GetFocus(), m_box.m_hWnd);
        m_box.SendMessage(WM_LBUTTONDOWN, 0, at(1)); // the same line: no change to report
        m_box.SendMessage(WM_LBUTTONDOWN, 0, at(2)); // below the lines: nothing
        EXPECT_EQ(m_box.GetCurSel(), 1);
        m_box.SendMessage(WM_LBUTTONDBLCLK, 0, at(0));
        m_box.SendMessage(WM_LBUTTONDOWN, 0, at(0));
        EXPECT_EQ(m_box.GetCurSel(), 0);
        const std::vector<WPARAM> expected =
            notify ? std::vector<WPARAM>{MAKEWPARAM(kListId, LBN_SELCHANGE),
                                         MAKEWPARAM(kListId, LBN_DBLCLK),
                                         MAKEWPARAM(kListId, LBN_SELCHANGE)}
                   : std::vector<WPARAM>{};
        EXPECT_EQ(g_commands, expected) << "LBS_NOTIFY " << notify;
        m_box.DestroyWindow();
    }
}

} // namespace
