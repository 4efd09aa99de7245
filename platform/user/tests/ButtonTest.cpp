// The owner-drawn button: the parent draws it through WM_DRAWITEM in each of its states, and a
// click is a mouse button pressed and released inside it, reported as BN_CLICKED.
#include "WindowFixture.h"

#include "platform/gdi/Framebuffer.h"
#include "platform/gdi/WinGdi.h"

namespace {

constexpr int kButtonId = 41;
constexpr RECT kButtonRect{20, 30, 60, 50};
constexpr std::uint32_t kRed = 0xFF0000;
constexpr WPARAM kLeftButtonDown = 0x0001; // MK_LBUTTON in wParam of the stylus messages

// A parent that paints its owner-drawn children red and keeps what it was asked and told.
struct ParentLog {
    std::vector<DRAWITEMSTRUCT> drawn;
    std::vector<WPARAM> commands;
    std::vector<LPARAM> commandSenders;
};
ParentLog g_parent;

LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        g_parent.drawn.push_back(*dis);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dis->hDC, &dis->rcItem, red);
        DeleteObject(red);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        g_parent.commands.push_back(wParam);
        g_parent.commandSenders.push_back(lParam);
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

class OwnerDrawnButtonTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        g_parent = ParentLog{};
        static const bool registered = [] {
            WNDCLASS wc;
            wc.lpfnWndProc = ParentProc;
            wc.hbrBackground = reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_WINDOW + 1));
            wc.lpszClassName = L"DrawingParent";
            return RegisterClass(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        m_parent = CreateWindowEx(0, L"DrawingParent", L"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320,
                                  nullptr, nullptr, nullptr, nullptr);
        m_windows.push_back(m_parent);
    }
    HWND AddButton(DWORD kind) {
        return CreateWindowEx(
            0, L"Button", L"Drawn", WS_CHILD | WS_VISIBLE | kind, kButtonRect.left, kButtonRect.top,
            kButtonRect.right - kButtonRect.left, kButtonRect.bottom - kButtonRect.top, m_parent,
            reinterpret_cast<HMENU>(std::uintptr_t(kButtonId)), nullptr, nullptr);
    }
    HWND m_parent = nullptr;
};

TEST_F(OwnerDrawnButtonTest, TheParentDrawsTheButtonInItsStateWithTheButtonsOwnContext) {
    struct StateCase {
        const char* name;
        DWORD kind;
        void (*change)(HWND button);
        UINT state;
    };
    const StateCase cases[] = {
        {"plain", BS_OWNERDRAW, [](HWND) {}, 0},
        {"focused", BS_OWNERDRAW, [](HWND b) { SetFocus(b); }, ODS_FOCUS},
        {"stylus down: focused and selected", BS_OWNERDRAW,
         [](HWND b) { PostMessage(b, WM_LBUTTONDOWN, kLeftButtonDown, MAKELPARAM(3, 3)); },
         ODS_FOCUS | ODS_SELECTED},
        {"disabled", BS_OWNERDRAW, [](HWND b) { EnableWindow(b, FALSE); }, ODS_DISABLED},
        {"a radio button's style with BS_OWNERDRAW ORed in", BS_RADIOBUTTON | BS_OWNERDRAW,
         [](HWND) {}, 0},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND button = AddButton(c.kind);
        PumpUntilIdle();
        c.change(button);
        Framebuffer::Instance().Clear(0);
        g_parent.drawn.clear();
        InvalidateRect(button, nullptr, TRUE);
        PumpUntilIdle();
        ASSERT_FALSE(g_parent.drawn.empty());
        const DRAWITEMSTRUCT& item = g_parent.drawn.back();
        EXPECT_EQ(item.CtlType, ODT_BUTTON);
        EXPECT_EQ(item.CtlID, UINT(kButtonId));
        EXPECT_EQ(item.hwndItem, button);
        EXPECT_EQ(item.itemAction, ODA_DRAWENTIRE);
        EXPECT_EQ(item.itemState, c.state);
        EXPECT_EQ((std::vector<LONG>{item.rcItem.left, item.rcItem.top, item.rcItem.right,
                                     item.rcItem.bottom}),
                  (std::vector<LONG>{0, 0, 40, 20}));
        // The context draws on the button's client area, clipped to it.
        const Framebuffer& fb = Framebuffer::Instance();
        EXPECT_EQ(fb.Pixel(kButtonRect.left, kButtonRect.top), kRed);
        EXPECT_EQ(fb.Pixel(kButtonRect.right - 1, kButtonRect.bottom - 1), kRed);
        EXPECT_EQ(fb.Pixel(kButtonRect.right, kButtonRect.bottom - 1), 0u);
        EXPECT_EQ(fb.Pixel(kButtonRect.left - 1, kButtonRect.top), 0u);
        EXPECT_TRUE(g_parent.commands.empty());
        DestroyWindow(button);
        PumpUntilIdle();
    }
}

TEST_F(OwnerDrawnButtonTest, AClickIsDownAndUpInsideAndReportsBnClickedToTheParent) {
    struct ClickCase {
        const char* name;
        DWORD kind;
        std::vector<std::pair<UINT, POINT>> presses;
        int clicks;
    };
    const ClickCase cases[] = {
        {"down and up inside",
         BS_OWNERDRAW,
         {{WM_LBUTTONDOWN, {3, 3}}, {WM_LBUTTONUP, {39, 19}}},
         1},
        {"released to the right of the button",
         BS_OWNERDRAW,
         {{WM_LBUTTONDOWN, {3, 3}}, {WM_LBUTTONUP, {40, 3}}},
         0},
        {"released below the button",
         BS_OWNERDRAW,
         {{WM_LBUTTONDOWN, {3, 3}}, {WM_LBUTTONUP, {3, 20}}},
         0},
        {"released above and left of it",
         BS_OWNERDRAW,
         {{WM_LBUTTONDOWN, {3, 3}}, {WM_LBUTTONUP, {-1, -1}}},
         0},
        {"up without a down", BS_OWNERDRAW, {{WM_LBUTTONUP, {3, 3}}}, 0},
        {"two taps",
         BS_OWNERDRAW,
         {{WM_LBUTTONDOWN, {3, 3}},
          {WM_LBUTTONUP, {3, 3}},
          {WM_LBUTTONDOWN, {5, 5}},
          {WM_LBUTTONUP, {5, 5}}},
         2},
        {"an owner-drawn check box clicks but keeps no check state",
         BS_AUTOCHECKBOX | BS_OWNERDRAW,
         {{WM_LBUTTONDOWN, {3, 3}}, {WM_LBUTTONUP, {3, 3}}},
         1},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND button = AddButton(c.kind);
        PumpUntilIdle();
        g_parent.commands.clear();
        g_parent.commandSenders.clear();
        for (const auto& [message, p] : c.presses)
            PostMessage(button, message, message == WM_LBUTTONDOWN ? kLeftButtonDown : 0,
                        MAKELPARAM(p.x, p.y));
        PumpUntilIdle();
        EXPECT_EQ(g_parent.commands,
                  std::vector<WPARAM>(std::size_t(c.clicks), MAKEWPARAM(kButtonId, BN_CLICKED)));
        EXPECT_EQ(g_parent.commandSenders,
                  std::vector<LPARAM>(std::size_t(c.clicks), reinterpret_cast<LPARAM>(button)));
        EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0) & (BST_PUSHED | BST_CHECKED), 0)
            << "released, and an owner-drawn button has no check state of its own";
        DestroyWindow(button);
        PumpUntilIdle();
    }
}

} // namespace
