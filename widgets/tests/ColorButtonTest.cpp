// The colour button on the screen: its face, edge, text and focus rectangle in each state, the
// check-box and radio marks, the choice and place of its images, its clicks by stylus and by
// the keypad's enter key, the keys it passes on, and the icons it owns.
#include <algorithm>
#include <functional>
#include <memory>

#include <nlohmann/json.hpp>
#include <sstream>

#include <gtest/gtest.h>

#include "WidgetScreen.h"
#include "keypad/Keypad.h"
#include "platform/gdi/CDC.h"
#include "platform/kernel/Resources.h"
#include "platform/user/MenuTree.h"
#include "res/NorvaneAppResources.h"
#include "res/resource.h"
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

// The button's parent: keeps the commands that reach it, and runs onTimer at its timer's tick
// (once: the timer is killed first).
class RecordingParent : public CWnd {
public:
    static constexpr UINT_PTR kTimerId = 7;
    BOOL OnCmdMsg(UINT nID, int nCode) override {
        commands.emplace_back(nID, nCode);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && wParam == kTimerId) {
            KillTimer(kTimerId);
            if (onTimer)
                onTimer();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<std::pair<UINT, int>> commands;
    std::function<void()> onTimer;
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

// Check boxes (BS_CHECKBOX, BS_AUTOCHECKBOX) become check mode without an edge and toggle when
// clicked; push, default push and radio buttons stay push buttons with an edge.
TEST_F(ColorButtonTest, TheTemplateStyleChoosesPushOrCheckMode) {
    const std::pair<DWORD, bool> cases[] = {
        {BS_PUSHBUTTON, false},  {BS_DEFPUSHBUTTON, false}, {BS_CHECKBOX, true},
        {BS_AUTOCHECKBOX, true}, {BS_RADIOBUTTON, false},   {BS_AUTORADIOBUTTON, false},
    };
    for (const auto& [style, checkMode] : cases) {
        SCOPED_TRACE(testing::Message() << "style " << style);
        TestButton button;
        Bind(button, {20, 30, 60, 50}, L"", style);
        EXPECT_EQ(button.GetButtonStyle() & BS_OWNERDRAW, BS_OWNERDRAW);
        EXPECT_EQ(WidgetScreen::Pixel(59, 49), checkMode ? kFace : kBlack) << "the edge's corner";
        Tap(button, {3, 3});
        EXPECT_EQ(button.IsChecked(), checkMode ? TRUE : FALSE);
        EXPECT_EQ(m_parent.commands.size(), 1u);
        m_parent.commands.clear();
    }
}

TEST_F(ColorButtonTest, TextFormatFollowsTheAlignmentBitsOfTheStyle) {
    const std::pair<DWORD, UINT> cases[] = {
        {0, DT_CENTER | DT_VCENTER},
        {BS_LEFT, DT_LEFT | DT_VCENTER},
        {BS_RIGHT, DT_RIGHT | DT_VCENTER},
        {BS_CENTER, DT_LEFT | DT_VCENTER},
        {BS_TOP, DT_CENTER | DT_TOP},
        {BS_BOTTOM, DT_CENTER | DT_BOTTOM},
        {BS_VCENTER, DT_CENTER | DT_TOP},
        {BS_LEFT | BS_BOTTOM, DT_LEFT | DT_BOTTOM},
        {BS_RIGHT | BS_TOP | BS_MULTILINE, DT_RIGHT | DT_TOP},
    };
    for (const auto& [style, format] : cases) {
        TestButton button;
        Bind(button, {0, 0, 40, 20}, L"OK", style);
        EXPECT_EQ(button.GetTextFormat(), format) << std::hex << "style " << style;
    }
}

const std::map<COLORREF, char> kMarkLegend = {
    {kFace, '.'}, {kWhite, 'w'},         {kBlack, 'k'},           {kShadow, 'g'},
    {kNavy, 'n'}, {RGB(30, 75, 0), 'd'}, {RGB(100, 255, 0), 'y'},
};

// A template check box (BS_AUTOCHECKBOX) of item rectangle (0, 0, 100, 20): no edge, a sunken
// white box 18 pixels square at (2, 1), the tick only while checked, the text beside the box in
// the same place whether pressed or not. A tap (posted WM_LBUTTONDOWN and WM_LBUTTONUP) and the
// enter key each toggle it; the parent receives every BN_CLICKED and the event log every change.
// The button has the focus throughout, so its focus rectangle (1, 1, 99, 19) crosses the box's
// first and last rows, which the pictures leave out.
TEST_F(ColorButtonTest, CheckBoxTogglesByStylusAndEnterAndTheParentSeesEveryClick) {
    constexpr RECT kRect{20, 60, 120, 80};
    constexpr RECT kBoxRows{kRect.left + 2, kRect.top + 2, kRect.left + 20, kRect.top + 18};
    constexpr RECT kText{kRect.left + 22, kRect.top, kRect.left + 99, kRect.bottom};
    const std::vector<std::string> tickedBox = {
        "gkkkkkkkkkkkkkkk.w", "gkwwwwwwwwwwwwww.w", "gkwwwwwwwwwwwwww.w", "gkwwwwwwwwwwwwww.w",
        "gkwwwwwwwwwwwkkw.w", "gkwwwwwwwwwwkkkw.w", "gkwwwwwwwwwkkkww.w", "gkwwkkwwwwkkkwww.w",
        "gkwwkkkwwkkkwwww.w", "gkwwwkkkkkkwwwww.w", "gkwwwwkkkkwwwwww.w", "gkwwwwwkkwwwwwww.w",
        "gkwwwwwwwwwwwwww.w", "gkwwwwwwwwwwwwww.w", "gkwwwwwwwwwwwwww.w", "g................w",
    };
    std::vector<std::string> emptyBox = tickedBox;
    for (std::size_t y = 1; y < 15; ++y)
        emptyBox[y] = "gkwwwwwwwwwwwwww.w";

    TestButton button;
    Bind(button, kRect, L"Sound", BS_AUTOCHECKBOX | BS_LEFT);
    button.SetFocus();
    m_screen.Pump();
    const auto box = [&] { return WidgetScreen::Picture(kBoxRows, kMarkLegend); };
    const auto text = [&] { return WidgetScreen::Picture(kText, kMarkLegend); };
    EXPECT_EQ(box(), emptyBox);
    EXPECT_EQ(WidgetScreen::Pixel(kRect.left, kRect.top), kNavy) << "no edge";
    const std::vector<std::string> restingText = text();
    // Left-aligned (BS_LEFT), the text is laid out in (22, 0, 99, 20): the rectangle left of the
    // box's side + 3 pixels, grown back by a pixel at the top and the bottom.
    Reference textRef(kText.right - kText.left, kText.bottom - kText.top);
    textRef.dc().FillSolidRect(0, 0, 77, 20, kNavy);
    textRef.Text(L"Sound", kWhite, {0, 0, 77, 20}, DT_LEFT | DT_VCENTER | DT_WORDBREAK);
    ASSERT_GT(textRef.Count(kWhite), 4);
    std::vector<std::string> expectedText;
    for (int y = 0; y < 20; ++y) {
        std::string row;
        for (int x = 0; x < 77; ++x)
            row += textRef.dc().GetPixel(x, y) == kWhite ? 'w' : 'n';
        expectedText.push_back(row);
    }
    std::vector<std::string> shownText = restingText;
    for (std::string& row : shownText)
        std::replace(row.begin(), row.end(), '?', 'n'); // the focus rectangle's dots
    EXPECT_EQ(shownText, expectedText);

    ::PostMessage(button.m_hWnd, WM_LBUTTONDOWN, kLeftButtonDown, MAKELPARAM(30, 5));
    m_screen.Pump();
    EXPECT_EQ(text(), restingText) << "pressed, the text stays";
    EXPECT_EQ(box(), emptyBox) << "not checked before the release";
    ::PostMessage(button.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(30, 5));
    m_screen.Pump();
    EXPECT_TRUE(button.IsChecked());
    EXPECT_EQ(box(), tickedBox);
    EXPECT_EQ(text(), restingText);

    Post(button, WM_KEYPAD, KEY_ENTER, 1);
    EXPECT_FALSE(button.IsChecked());
    EXPECT_EQ(box(), emptyBox);
    Post(button, WM_KEYPAD, KEY_ENTER, 1);
    EXPECT_TRUE(button.IsChecked());
    EXPECT_EQ(box(), tickedBox);

    EXPECT_EQ(m_parent.commands,
              (std::vector<std::pair<UINT, int>>(3, {UINT(kButtonId), int(BN_CLICKED)})));
    EXPECT_EQ(CheckedEvents(), (std::vector<int>{1, 0, 1}));
    const auto events = EventsOfKind("button.checked", m_mark);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().fields.at("id"), kButtonId);
    EXPECT_EQ(events.back().fields.at("hwnd"), reinterpret_cast<std::uintptr_t>(button.m_hWnd));
    EXPECT_EQ(button.GetCheck(), BST_UNCHECKED) << "the platform's check state is not used";

    // A tap released outside the button is no click.
    ::PostMessage(button.m_hWnd, WM_LBUTTONDOWN, kLeftButtonDown, MAKELPARAM(30, 5));
    ::PostMessage(button.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(30, 25));
    m_screen.Pump();
    EXPECT_TRUE(button.IsChecked());
    EXPECT_EQ(m_parent.commands.size(), 3u);
    EXPECT_EQ(CheckedEvents().size(), 3u);
}

// The radio look (mark kind 0) on a check box without text, item rectangle (0, 0, 20, 20): the
// 18-pixel box centred at (1, 1); a dark green disc in black, a second one in grey one pixel
// inside it, and the white glint; the inner disc turns yellow-green while checked.
TEST_F(ColorButtonTest, RadioMarkIsTwoDiscsAndAGlintAndLightsUpWhenChecked) {
    constexpr RECT kRect{20, 60, 40, 80};
    const std::vector<std::string> off = {
        "....................", ".......kkkkkk.......", ".....kkggggggkk.....",
        "....kggddddddggk....", "...kgddddddddddgk...", "..kgddddddddddddgk..",
        "..kgddwwddddddddgk..", ".kgdddwwdddddddddgk.", ".kgdddwwdddddddddgk.",
        ".kgddddddddddddddgk.", ".kgddddddddddddddgk.", ".kgddddddddddddddgk.",
        ".kgddddddddddddddgk.", "..kgddddddddddddgk..", "..kgddddddddddddgk..",
        "...kgddddddddddgk...", "....kggddddddggk....", ".....kkggggggkk.....",
        ".......kkkkkk.......", "....................",
    };
    std::vector<std::string> on = off;
    for (std::string& row : on)
        std::replace(row.begin(), row.end(), 'd', 'y');

    TestButton button;
    button.SetMarkKind(QColorButton::kMarkRadio, FALSE);
    Bind(button, kRect, L"", BS_AUTOCHECKBOX);
    EXPECT_EQ(WidgetScreen::Picture(kRect, kMarkLegend), off);
    // Each tap focuses the button; the focus goes back to the parent to see the mark whole.
    const auto tap = [&] {
        Tap(button, {3, 3});
        m_parent.SetFocus();
        m_screen.Pump();
    };
    tap();
    EXPECT_EQ(WidgetScreen::Picture(kRect, kMarkLegend), on);
    tap();
    EXPECT_EQ(WidgetScreen::Picture(kRect, kMarkLegend), off);

    // Any other kind draws no mark at all.
    button.SetMarkKind(7, TRUE);
    m_screen.Pump();
    EXPECT_EQ(WidgetScreen::Picture(kRect, kMarkLegend),
              std::vector<std::string>(20, std::string(20, '.')));
}

// Enter clicks an enabled button; every other key is posted on to the parent unchanged.
TEST_F(ColorButtonTest, EnterClicksAndOtherKeysReachTheParentWithTheSameLParam) {
    struct KeyCase {
        BYTE key;
        LPARAM repeat;
        bool passed;
    };
    const KeyCase cases[] = {
        {KEY_UP, 1, true},          {KEY_DOWN, 4, true},   {KEY_LEFT, 1, true},
        {KEY_RIGHT, 0x20003, true}, {KEY_SELECT, 2, true}, {KEY_ABOUT, 1, true},
        {KEY_9, 1, true},           {KEY_ENTER, 1, false},
    };
    TestButton button;
    Bind(button, {20, 30, 60, 50}, L"OK", BS_PUSHBUTTON);
    button.SetFocus();
    m_screen.Pump();
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(int(c.key));
        m_parent.commands.clear();
        Post(button, WM_KEYPAD, c.key, c.repeat);
        const std::vector<MSG> passed = MessagesFor(m_dispatched, m_parent.m_hWnd, WM_KEYPAD);
        ASSERT_EQ(passed.size(), c.passed ? 1u : 0u);
        if (c.passed) {
            EXPECT_EQ(passed[0].wParam, WPARAM(c.key));
            EXPECT_EQ(passed[0].lParam, c.repeat);
        }
        EXPECT_EQ(m_parent.commands.size(), c.passed ? 0u : 1u);
    }
}

TEST_F(ColorButtonTest, EnterOnADisabledButtonDoesNothingAndAKeyWithoutParentIsDropped) {
    TestButton button;
    Bind(button, {20, 30, 60, 50}, L"OK", BS_PUSHBUTTON);
    // Disabled, not yet drawn so: the window's own state refuses the click.
    button.EnableWindow(FALSE);
    Post(button, WM_KEYPAD, KEY_ENTER, 1);
    // Enabled again, but drawn disabled last: still no click until it is drawn enabled.
    button.EnableWindow(TRUE);
    Post(button, WM_KEYPAD, KEY_ENTER, 1);
    EXPECT_TRUE(m_parent.commands.empty());
    m_screen.Pump();
    Post(button, WM_KEYPAD, KEY_ENTER, 1);
    EXPECT_EQ(m_parent.commands.size(), 1u);

    TestButton orphan;
    HWND top = CreateWindow(L"Button", L"Alone", WS_POPUP | WS_VISIBLE, 0, 200, 40, 20, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_TRUE(orphan.SubclassWindow(top));
    m_screen.Pump();
    Post(orphan, WM_KEYPAD, KEY_RIGHT, 1);
    for (const MSG& m : m_dispatched)
        EXPECT_TRUE(m.message != WM_KEYPAD || m.hwnd == top) << "posted to " << m.hwnd;
}

// Which of the three images shows, and where: centred without text, one pixel right and down
// while a push button is pressed, never moved in check mode.
TEST_F(ColorButtonTest, ImageFollowsStateAndFocusAndIsPlacedByTheRectangle) {
    constexpr RECT kRect{20, 100, 80, 124};
    constexpr int kNone = -1;
    struct ImageCase {
        const char* name;
        DWORD style;
        std::vector<int> slots;
        std::function<void(TestButton&)> change;
        int shown;
        POINT at; // in the button
        COLORREF face;
    };
    const auto focus = [](TestButton& b) { b.SetFocus(); };
    const auto none = [](TestButton&) {};
    const ImageCase cases[] = {
        {"normal image alone", BS_PUSHBUTTON, {0}, none, 0, {22, 4}, kFace},
        {"normal and active, resting", BS_PUSHBUTTON, {0, 1}, none, 0, {22, 4}, kFace},
        {"focused push button: active", BS_PUSHBUTTON, {0, 1}, focus, 1, {22, 4}, kNavy},
        {"focused without an active image", BS_PUSHBUTTON, {0}, focus, 0, {22, 4}, kNavy},
        {"pressed push button: active, moved",
         BS_PUSHBUTTON,
         {0, 1},
         [](TestButton& b) { b.SetState(TRUE); },
         1,
         {23, 5},
         kFace},
        {"disabled: the disabled image",
         BS_PUSHBUTTON,
         {0, 1, 2},
         [](TestButton& b) { b.EnableWindow(FALSE); },
         2,
         {22, 4},
         kFace},
        {"disabled without a disabled image: normal",
         BS_PUSHBUTTON,
         {0, 1},
         [](TestButton& b) { b.EnableWindow(FALSE); },
         0,
         {22, 4},
         kFace},
        {"no normal image: none at all", BS_PUSHBUTTON, {1, 2}, focus, kNone, {22, 4}, kNavy},
        {"focused check box: normal", BS_AUTOCHECKBOX, {0, 1}, focus, 0, {22, 4}, kNavy},
        {"checked check box: active, not moved",
         BS_AUTOCHECKBOX,
         {0, 1},
         [](TestButton& b) {
             ::SendMessage(b.m_hWnd, WM_LBUTTONDOWN, kLeftButtonDown, 0);
             ::SendMessage(b.m_hWnd, WM_LBUTTONUP, 0, 0);
             b.GetParent()->SetFocus();
         },
         1,
         {22, 4},
         kFace},
    };
    const UINT ids[] = {IDI_MB_INFORMATION, IDI_MB_ERROR, IDI_MB_QUESTION};
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestButton button;
        for (int slot : c.slots)
            button.SetImage(slot, LoadIcon16(ids[slot]), 16, 16, FALSE);
        Bind(button, kRect, L"", c.style);
        c.change(button);
        m_screen.Pump();

        Reference ref(16, 16);
        ref.dc().FillSolidRect(0, 0, 16, 16, c.face);
        if (c.shown != kNone) {
            HICON icon = LoadIcon16(ids[c.shown]);
            DrawIconEx(ref.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
            DestroyIcon(icon);
        }
        EXPECT_EQ(ref.MismatchOnScreen({kRect.left + c.at.x, kRect.top + c.at.y}), "");
    }
}

TEST_F(ColorButtonTest, WithTextTheImageSitsAtTheLeftAndTheTextFollowsIt) {
    constexpr RECT kRect{20, 100, 80, 124};
    TestButton button;
    button.SetImage(QColorButton::kImageNormal, LoadIcon16(IDI_MB_INFORMATION), 16, 16, FALSE);
    Bind(button, kRect, L"Go", BS_PUSHBUTTON | BS_LEFT);

    Reference ref(60, 24);
    ref.dc().FillSolidRect(0, 0, 60, 24, kFace);
    CRect item(0, 0, 60, 24);
    ref.dc().DrawEdge(item, EDGE_RAISED, BF_RECT);
    HICON icon = LoadIcon16(IDI_MB_INFORMATION);
    DrawIconEx(ref.dc(), 3, 4, icon, 0, 0, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    ref.Text(L"Go", kBlack, {21, 1, 58, 23}, DT_LEFT | DT_VCENTER | DT_WORDBREAK);
    EXPECT_EQ(ref.MismatchOnScreen({kRect.left, kRect.top}), "");
}

TEST_F(ColorButtonTest, TheButtonOwnsItsIcons) {
    HICON first = LoadIcon16(IDI_MB_INFORMATION);
    HICON second = LoadIcon16(IDI_MB_ERROR);
    HICON kept = LoadIcon16(IDI_MB_QUESTION);
    HICON last = LoadIcon16(IDI_MB_WARNING);
    {
        TestButton button;
        button.SetImage(0, first, 16, 16, FALSE);
        button.SetImage(0, second, 16, 16, FALSE); // replaces, and destroys, the first
        button.SetImage(0, second, 16, 16, FALSE); // the same icon again stays
        button.SetImage(3, kept, 16, 16, FALSE);   // no such slot: not taken
        button.SetImage(2, kept, 16, 16, FALSE);
        button.ReleaseImages(FALSE); // forgets without destroying
        button.SetImage(1, last, 16, 16, FALSE);
        EXPECT_FALSE(DestroyIcon(first));
    }
    EXPECT_TRUE(DestroyIcon(second));
    EXPECT_TRUE(DestroyIcon(kept));
    EXPECT_FALSE(DestroyIcon(last)) << "destroyed with the button";
}

// A click of a push button with a drop-down menu: placement 0 opens the menu upward with its
// bottom on the button's top edge, placement 1 downward from its bottom edge, both at the
// button's left edge; other placements open none. The button shows pressed (sunken) while its
// menu is open and raised again after; the parent gets the BN_CLICKED when the menu has closed,
// and the menu's owner the command chosen.
TEST_F(ColorButtonTest, DropDownMenuOpensAboveOrBelowAndTheButtonStaysDownMeanwhile) {
    constexpr RECT kRect{40, 200, 100, 224};
    constexpr UINT kFirst = 21;
    struct PlacementCase {
        BYTE placement;
        bool opens;
        std::function<void(const RECT& menu)> expectPlace;
    };
    const PlacementCase cases[] = {
        {QColorButton::kMenuAbove, true,
         [&](const RECT& m) {
             EXPECT_EQ(m.left, kRect.left);
             EXPECT_EQ(m.bottom, kRect.top);
         }},
        {QColorButton::kMenuBelow, true,
         [&](const RECT& m) {
             EXPECT_EQ(m.left, kRect.left);
             EXPECT_EQ(m.top, kRect.bottom);
         }},
        {2, false, [](const RECT&) {}},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(int(c.placement));
        TestButton button;
        Bind(button, kRect, L"Menu", BS_PUSHBUTTON);
        QOwnerDrawMenu& menu = button.DropDownMenu();
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AddItem(kFirst, L"First");
        menu.AddItem(kFirst + 1, L"Second");
        button.AttachMenu(menu.m_hMenu, m_parent.m_hWnd, c.placement);
        button.SetFocus();
        m_screen.Pump();
        m_parent.commands.clear();

        // The timer ticks when the menu loop waits with nothing else to do, after every paint.
        nlohmann::json open;
        COLORREF cornerMeanwhile = 0;
        m_parent.onTimer = [&] {
            open = DescribeOpenMenus();
            cornerMeanwhile = WidgetScreen::Pixel(kRect.left, kRect.top);
            m_parent.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
            m_parent.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
        };
        m_parent.SetTimer(RecordingParent::kTimerId, 50, nullptr);
        Post(button, WM_KEYPAD, KEY_ENTER, 1);
        m_screen.Run(60); // without a menu the timer ticks here

        ASSERT_EQ(open.size(), c.opens ? 1u : 0u);
        if (c.opens) {
            const auto& r = open[0].at("rect");
            c.expectPlace(RECT{r[0], r[1], r[2], r[3]});
            EXPECT_EQ(cornerMeanwhile, kShadow) << "sunken while the menu shows";
            EXPECT_EQ(m_parent.commands, (std::vector<std::pair<UINT, int>>{
                                             {UINT(kButtonId), int(BN_CLICKED)}, {kFirst, 0}}));
        } else {
            EXPECT_EQ(cornerMeanwhile, kFace) << "raised";
            EXPECT_EQ(m_parent.commands,
                      (std::vector<std::pair<UINT, int>>{{UINT(kButtonId), int(BN_CLICKED)}}));
        }
        EXPECT_EQ(WidgetScreen::Pixel(kRect.left, kRect.top), kFace) << "raised again";
        EXPECT_EQ(WidgetScreen::Pixel(kRect.right - 1, kRect.bottom - 1), kBlack);
    }
}

TEST_F(ColorButtonTest, TheButtonDestroysItsMenuWhenReplacedAndWithItself) {
    QOwnerDrawMenu first;
    ASSERT_TRUE(first.CreatePopupMenu());
    first.AddItem(1, L"One");
    const HMENU firstHandle = first.Detach();
    QOwnerDrawMenu second;
    ASSERT_TRUE(second.CreatePopupMenu());
    second.AddItem(2, L"Two");
    const HMENU secondHandle = second.Detach();
    {
        TestButton button;
        Bind(button, {20, 30, 60, 50}, L"Menu", BS_PUSHBUTTON);
        button.AttachMenu(firstHandle, m_parent.m_hWnd, QColorButton::kMenuBelow);
        button.AttachMenu(firstHandle, m_parent.m_hWnd, QColorButton::kMenuAbove); // the same
        EXPECT_TRUE(IsMenu(firstHandle));
        button.AttachMenu(secondHandle, m_parent.m_hWnd, QColorButton::kMenuAbove);
        EXPECT_FALSE(IsMenu(firstHandle));
        EXPECT_EQ(button.DropDownMenu().m_hMenu, secondHandle);
        EXPECT_TRUE(IsMenu(secondHandle));
    }
    EXPECT_FALSE(IsMenu(secondHandle));
}

} // namespace
