// The colour button on the screen: its face, edge, text and focus rectangle in each state, the
// check-box and radio marks, the choice and place of its images, its clicks by stylus and by
// the keypad's enter key, the keys it passes on, and the icons it owns.
#include <functional>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>

#include "WidgetScreen.h"
#include "keypad/Keypad.h"
#include "platform/gdi/CDC.h"
#include "platform/kernel/Resources.h"
#include "res/NorvaneAppResources.h"
#include "testsupport/LogEvents.h"
#include "widgets/QColorButton.h"

namespace {

constexpr int kButtonId = 1003;
constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr WPARAM kLeftButtonDown = 0x0001; // MK_LBUTTON in wParam of the stylus messages

// The button's parent: keeps the commands that reach it.
class RecordingParent : public CWnd {
public:
    BOOL OnCmdMsg(UINT nID, int nCode) override {
        commands.emplace_back(nID, nCode);
        return TRUE;
    }
    std::vector<std::pair<UINT, int>> commands;
};

// The button with its protected parts in reach of the tests.
class TestButton : public QColorButton {
public:
    using QColorButton::GetTextFormat;
    void SetDisabledTextColor(COLORREF colour) { m_disabledTextColor = colour; }
};

// A memory picture of a button's size, to draw what the button should show.
class Reference {
public:
    Reference(int width, int height) : m_width(width), m_height(height) {
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.Attach(CreateCompatibleBitmap(m_dc, width, height));
        m_previous = m_dc.SelectObject(&m_bitmap);
        m_dc.SetBkMode(TRANSPARENT);
    }
    ~Reference() { m_dc.SelectObject(m_previous); }
    CDC& dc() { return m_dc; }
    void Text(LPCTSTR text, COLORREF colour, RECT r, UINT format) {
        m_dc.SetTextColor(colour);
        m_dc.DrawText(text, -1, &r, format);
    }
    int Count(COLORREF colour) const {
        int n = 0;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                n += m_dc.GetPixel(x, y) == colour ? 1 : 0;
        return n;
    }
    // The first pixel where the screen at origin differs from the picture; empty when none.
    std::string MismatchOnScreen(POINT origin) const {
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                const COLORREF want = m_dc.GetPixel(x, y);
                const COLORREF got = WidgetScreen::Pixel(origin.x + x, origin.y + y);
                if (want != got) {
                    std::ostringstream out;
                    out << "at " << x << ", " << y << ": screen " << std::hex << got
                        << ", expected " << want;
                    return out.str();
                }
            }
        }
        return "";
    }

private:
    int m_width;
    int m_height;
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_previous = nullptr;
};

class ColorButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterNorvaneAppResources();
        m_mark = EventLog::Instance().LastSeq();
        ASSERT_TRUE(m_parent.CreateEx(0, AfxWndClassName(), L"", WS_CHILD | WS_VISIBLE, 0, 0, 240,
                                      320, m_screen.Parent().m_hWnd, nullptr));
    }
    // A template's button at r, bound to button as data exchange binds it, and painted.
    void Bind(TestButton& button, const RECT& r, LPCTSTR text, DWORD style) {
        HWND hwnd =
            CreateWindow(L"Button", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, m_parent.m_hWnd,
                         reinterpret_cast<HMENU>(std::uintptr_t(kButtonId)), nullptr, nullptr);
        ASSERT_NE(hwnd, nullptr);
        ASSERT_TRUE(button.SubclassWindow(hwnd));
        m_screen.Pump();
    }
    void Post(const TestButton& button, UINT message, WPARAM wParam, LPARAM lParam) {
        ::PostMessage(button.m_hWnd, message, wParam, lParam);
        m_dispatched = m_screen.Pump();
    }
    void Tap(const TestButton& button, POINT p) {
        ::PostMessage(button.m_hWnd, WM_LBUTTONDOWN, kLeftButtonDown, MAKELPARAM(p.x, p.y));
        ::PostMessage(button.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        m_dispatched = m_screen.Pump();
    }
    HICON LoadIcon16(UINT id) {
        return static_cast<HICON>(
            LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(id), IMAGE_ICON, 16, 16, 0));
    }
    std::vector<int> CheckedEvents() const {
        std::vector<int> states;
        for (const EventLog::Entry& e : EventsOfKind("button.checked", m_mark))
            states.push_back(e.fields.at("checked").get<int>());
        return states;
    }

    WidgetScreen m_screen;
    RecordingParent m_parent;
    std::vector<MSG> m_dispatched;
    std::uint64_t m_mark = 0;
};

// The push button of the worked example, item rectangle (0, 0, 40, 20), in every state: the
// edge on the whole item, the text laid out in (2, 1, 38, 19) or one pixel right and down while
// pressed, the focus rectangle (2, 2, 38, 18) only with the focus, and the disabled text twice
// (white, then the shadow one pixel up and left) only in the default disabled colour.
TEST_F(ColorButtonTest, PushButtonDrawsFaceEdgeTextAndFocusInEachState) {
    constexpr RECT kRect{20, 30, 60, 50};
    constexpr UINT kFormat = DT_CENTER | DT_VCENTER | DT_WORDBREAK;
    struct TextDraw {
        COLORREF colour;
        RECT rect;
    };
    struct StateCase {
        const char* name;
        std::function<void(TestButton&)> change;
        COLORREF face;
        UINT edge;
        std::vector<TextDraw> texts;
        bool focusRect;
    };
    const StateCase cases[] = {
        {"without focus: system face and text, no focus rectangle",
         [](TestButton&) {},
         kFace,
         EDGE_RAISED,
         {{kBlack, {2, 1, 38, 19}}},
         false},
        {"focused: navy, white text, focus rectangle",
         [](TestButton& b) { b.SetFocus(); },
         kNavy,
         EDGE_RAISED,
         {{kWhite, {2, 1, 38, 19}}},
         true},
        {"pressed by the stylus, which focuses it: sunken, text moved",
         [](TestButton& b) {
             ::PostMessage(b.m_hWnd, WM_LBUTTONDOWN, kLeftButtonDown, MAKELPARAM(5, 5));
         },
         kNavy,
         EDGE_SUNKEN,
         {{kWhite, {3, 2, 39, 20}}},
         true},
        {"pressed without focus",
         [](TestButton& b) { b.SetState(TRUE); },
         kFace,
         EDGE_SUNKEN,
         {{kBlack, {3, 2, 39, 20}}},
         false},
        {"disabled: embossed text",
         [](TestButton& b) { b.EnableWindow(FALSE); },
         kFace,
         EDGE_RAISED,
         {{kWhite, {2, 1, 38, 19}}, {kShadow, {1, 0, 37, 18}}},
         false},
        {"disabled in a colour of its own: drawn once",
         [](TestButton& b) {
             b.SetDisabledTextColor(kRed);
             b.EnableWindow(FALSE);
         },
         kFace,
         EDGE_RAISED,
         {{kRed, {2, 1, 38, 19}}},
         false},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestButton button;
        Bind(button, kRect, L"OK", BS_PUSHBUTTON);
        c.change(button);
        m_screen.Pump();

        Reference ref(40, 20);
        ref.dc().FillSolidRect(0, 0, 40, 20, c.face);
        CRect item(0, 0, 40, 20);
        ref.dc().DrawEdge(item, c.edge, BF_RECT);
        for (const TextDraw& t : c.texts) {
            ref.Text(L"OK", t.colour, t.rect, kFormat);
            ASSERT_GT(ref.Count(t.colour), 4) << "the text shows";
        }
        if (c.focusRect) {
            const CRect focus(2, 2, 38, 18);
            ref.dc().DrawFocusRect(focus);
        }
        EXPECT_EQ(ref.MismatchOnScreen({kRect.left, kRect.top}), "");
    }
}

TEST_F(ColorButtonTest, TextFormatFollowsTheAlignmentBitsOfTheStyle) {
    const std::pair<DWORD, UINT> cases[] = {
        {0, DT_CENTER | DT_VCENTER},
        {BS_LEFT, DT_LEFT | DT_VCENTER},
        {BS_RIGHT, DT_RIGHT | DT_VCENTER},
        {BS_CENTER, DT_CENTER | DT_VCENTER},
        {BS_TOP, DT_CENTER | DT_TOP},
        {BS_BOTTOM, DT_CENTER | DT_BOTTOM},
        {BS_VCENTER, DT_CENTER | DT_VCENTER},
        {BS_LEFT | BS_BOTTOM, DT_LEFT | DT_BOTTOM},
        {BS_RIGHT | BS_TOP | BS_MULTILINE, DT_RIGHT | DT_TOP},
    };
    for (const auto& [style, format] : cases) {
        TestButton button;
        Bind(button, {0, 0, 40, 20}, L"OK", style);
        EXPECT_EQ(button.GetTextFormat(), format) << std::hex << "style " << style;
    }
}

} // namespace
