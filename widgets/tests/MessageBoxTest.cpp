// The themed message box: its layout to the pixel (the arithmetic from measured sizes, and the
// real measuring of its texts), its button sets with their texts, results and icons, the focus
// it starts on and moves with the keypad, a cancel request, the caption, and the focus it gives
// back. Each box runs modally as a caller runs it; the test's steps run inside its modal loop.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WidgetScreen.h"
#include "app/QLanguage.h"
#include "keypad/Keypad.h"
#include "platform/gdi/CDC.h"
#include "platform/kernel/Registry.h"
#include "platform/kernel/Resources.h"
#include "platform/user/CWinApp.h"
#include "res/NorvaneAppResources.h"
#include "res/WidgetKitResource.h"
#include "testsupport/LogEvents.h"
#include "widgets/QMessageBox.h"

namespace {

using Rect = std::vector<LONG>;

Rect RectOf(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// A control's rectangle in its dialog's client coordinates.
Rect ClientRectOf(HWND box, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(box, id), &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(nullptr, box, corners, 2);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowText(hwnd, text, 256);
    return text;
}

// Runs ShowMessageBox with steps that run, one after the other, inside the box's modal loop
// (each is a message posted to a hidden window of the test). After the last step a box that is
// still open is destroyed, so that a box that fails to close ends the test instead of hanging
// it (DoModal then returns -1).
class BoxDriver : public CWnd {
public:
    static constexpr UINT kStep = WM_USER + 77;

    explicit BoxDriver(WidgetScreen& screen) : m_screen(screen) {
        CreateEx(0, AfxWndClassName(), L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr);
    }
    ~BoxDriver() override { DestroyWindow(); }

    BoxDriver& Then(std::function<void(HWND box)> step) {
        m_steps.push_back(std::move(step));
        return *this;
    }
    int Run(LPCTSTR text, LPCTSTR caption, UINT type) {
        m_mark = EventLog::Instance().LastSeq();
        m_next = 0;
        PostMessage(kStep);
        return ShowMessageBox(text, caption, type);
    }

    // A key as the application forwards it: posted to the focused window, then everything
    // that follows from it dispatched.
    void Key(int key) {
        ::PostMessage(::GetFocus(), WM_KEYPAD, WPARAM(key), 1);
        m_screen.Pump();
    }
    std::uint64_t Mark() const { return m_mark; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kStep)
            return CWnd::WindowProc(message, wParam, lParam);
        const std::vector<EventLog::Entry> opened = EventsOfKind("msgbox.opened", m_mark);
        const HWND box =
            opened.empty()
                ? nullptr
                : reinterpret_cast<HWND>(opened.back().fields["hwnd"].get<std::uintptr_t>());
        m_screen.Pump();
        if (m_next < m_steps.size() && box && ::IsWindow(box)) {
            m_steps[m_next++](box);
            PostMessage(kStep);
        } else if (box && ::IsWindow(box)) {
            ::DestroyWindow(box);
        }
        return 0;
    }

private:
    WidgetScreen& m_screen;
    std::vector<std::function<void(HWND)>> m_steps;
    std::size_t m_next = 0;
    std::uint64_t m_mark = 0;
};

// The device's language for one test, set as a settings program sets it and read again.
class LanguageGuard {
public:
    explicit LanguageGuard(DWORD language) { Set(language); }
    ~LanguageGuard() { Set(kLanguageEnglish); }

private:
    static void Set(DWORD language) {
        HKEY key = nullptr;
        RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"I18N", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                       nullptr);
        RegSetValueEx(key, L"Language", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&language),
                      sizeof language);
        RegCloseKey(key);
        ReadLanguage(GetLanguage());
    }
};

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(RegisterNorvaneAppResources(), nullptr); }

    // The texts of the shown buttons, in order, and the text of the focused one.
    static std::vector<std::wstring> ShownButtons(HWND box) {
        std::vector<std::wstring> texts;
        for (int id : {IDOK, IDCANCEL, IDC_MB_BUTTON3})
            if (IsWindowVisible(GetDlgItem(box, id)))
                texts.push_back(TextOf(GetDlgItem(box, id)));
        return texts;
    }
    static std::wstring Focused() { return TextOf(GetFocus()); }

    // Whether the icon label shows the icon id, as a 32 x 32 icon drawn at its corner shows it.
    static bool ShowsIcon(HWND box, UINT id) {
        HICON icon = static_cast<HICON>(
            LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(id), IMAGE_ICON, 32, 32, 0));
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap bitmap;
        bitmap.Attach(CreateCompatibleBitmap(dc, 32, 32));
        CBitmap* previous = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 32, 32, RGB(192, 192, 192));
        DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
        POINT origin{0, 0};
        ClientToScreen(GetDlgItem(box, IDC_MB_ICON), &origin);
        bool same = true;
        for (int y = 0; y < 32 && same; ++y)
            for (int x = 0; x < 32 && same; ++x)
                same = WidgetScreen::Pixel(origin.x + x, origin.y + y) == dc.GetPixel(x, y);
        dc.SelectObject(previous);
        return same;
    }

    WidgetScreen m_screen;
};

// The arithmetic from measured sizes: the worked example, and a case for every rule.
TEST_F(MessageBoxTest, TheLayoutFollowsTheRuleToThePixel) {
    struct Case {
        const char* what;
        SIZE text;
        int caption;
        BOOL icon;
        int buttons;
        SIZE dialog;
        Rect textRect;
        int buttonTop;
        std::vector<int> buttonLeft;
    };
    const Case cases[] = {
        // R 102, B 15, W 125, H 81; 127 : 83 is below 1.6, so W = trunc(132.8) - 2.
        {"the worked example", {100, 13}, 0, FALSE, 1, {130, 81}, {14, 23, 116, 38}, 46, {40}},
        {"widened by the aspect rule",
         {120, 30},
         0,
         FALSE,
         1,
         {158, 98},
         {18, 23, 140, 55},
         63,
         {54}},
        {"a long text wraps at 155; the rule stops at 198",
         {155, 60},
         0,
         FALSE,
         1,
         {198, 128},
         {20, 23, 177, 85},
         93,
         {74}},
        {"a word wider than 155 counts 155",
         {900, 15},
         0,
         FALSE,
         1,
         {180, 83},
         {11, 23, 168, 40},
         48,
         {65}},
        {"a wider caption sets the width",
         {100, 13},
         200,
         FALSE,
         1,
         {200, 81},
         {49, 23, 151, 38},
         46,
         {75}},
        {"a caption measured past the caption line widens the box past it",
         {100, 13},
         300,
         FALSE,
         1,
         {300, 81},
         {99, 23, 201, 38},
         46,
         {125}},
        {"an icon: 100 high, 45 wider, text at 45",
         {100, 13},
         0,
         TRUE,
         1,
         {170, 100},
         {45, 33, 147, 48},
         65,
         {60}},
        {"icon and two buttons",
         {109, 15},
         41,
         TRUE,
         2,
         {179, 100},
         {45, 32, 156, 49},
         65,
         {35, 94}},
        {"no rule at 200 and wider",
         {155, 150},
         0,
         TRUE,
         2,
         {225, 218},
         {45, 23, 202, 175},
         183,
         {58, 117}},
        {"two buttons", {20, 15}, 0, FALSE, 2, {134, 83}, {56, 23, 78, 40}, 48, {13, 72}},
        {"three buttons", {20, 15}, 0, FALSE, 3, {195, 83}, {86, 23, 108, 40}, 48, {14, 73, 132}},
        {"three buttons and an icon",
         {60, 30},
         0,
         TRUE,
         3,
         {195, 100},
         {45, 24, 107, 56},
         65,
         {14, 73, 132}},
        {"an empty text", {0, 0}, 0, FALSE, 1, {110, 68}, {54, 23, 56, 25}, 33, {30}},
        {"a text taller than the screen",
         {155, 4500},
         0,
         FALSE,
         1,
         {198, 4568},
         {20, 23, 177, 4525},
         4533,
         {74}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QMessageBox::Layout l =
            QMessageBox::ComputeLayout(c.text, c.caption, c.icon, c.buttons);
        EXPECT_EQ(l.dialog.cx, c.dialog.cx);
        EXPECT_EQ(l.dialog.cy, c.dialog.cy);
        EXPECT_EQ(RectOf(l.text), c.textRect);
        EXPECT_EQ(l.buttonTop, c.buttonTop);
        EXPECT_EQ(std::vector<int>(l.buttonLeft, l.buttonLeft + c.buttons), c.buttonLeft);
    }
}

// The real box measures its texts with DrawText in the System font: "Delete all records?" is
// 109 x 15, so R 111, B 17 and the dialog 134 x 83 (136 : 85 is 1.6, not below it). The window
// keeps that size; its client area is what the modal frame leaves.
TEST_F(MessageBoxTest, TheBoxMeasuresItsTextsAndPlacesItsControls) {
    BoxDriver driver(m_screen);
    driver.Then([](HWND box) {
        RECT r{};
        GetWindowRect(box, &r);
        EXPECT_EQ(RectOf(r), (Rect{0, 0, 134, 83})) << "at the template's place, 0, 0";
        GetClientRect(box, &r);
        EXPECT_EQ(RectOf(r), (Rect{0, 0, 130, 79}));
        EXPECT_EQ(ClientRectOf(box, IDC_MB_TEXT), (Rect{11, 23, 122, 40}));
        EXPECT_EQ(ClientRectOf(box, IDOK), (Rect{42, 48, 91, 73}));
        // The caption line is made W x 16 where the template put it (1 unit, 2 pixels, in).
        EXPECT_EQ(ClientRectOf(box, IDC_MB_CAPTION), (Rect{2, 0, 136, 16}));
        EXPECT_EQ(TextOf(GetDlgItem(box, IDC_MB_TEXT)), L"Delete all records?");
        EXPECT_EQ(TextOf(GetDlgItem(box, IDC_MB_CAPTION)), L"Records");
        // The caption line is navy beyond its text; the focused button is navy too.
        POINT p{120, 8};
        ClientToScreen(box, &p);
        EXPECT_EQ(WidgetScreen::Pixel(p.x, p.y), RGB(0, 0, 128));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, IDC_MB_ICON)));
    });
    EXPECT_EQ(driver.Run(L"Delete all records?", L"Records", MB_OK), -1) << "closed by the test";
}

// Whatever the text and caption, the box is laid out by the rule: an empty text, a text of
// thousands of characters (taller than the screen) and a caption wider than the screen.
TEST_F(MessageBoxTest, ExtremeTextsAreLaidOutByTheRule) {
    std::wstring longText;
    for (int i = 0; i < 600; ++i)
        longText += L"records ";
    const std::wstring wideCaption(200, L'W');
    struct Case {
        const char* what;
        const wchar_t* text;
        const wchar_t* caption;
        LONG width; // 0: wider than the screen
        LONG minHeight;
    };
    const Case cases[] = {
        {"empty", L"", L"", 110, 68},
        {"4800 characters", longText.c_str(), L"", 198, 320},
        {"a caption wider than the screen", L"x", wideCaption.c_str(), 0, 68},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BoxDriver driver(m_screen);
        driver.Then([&](HWND box) {
            RECT r{};
            GetWindowRect(box, &r);
            if (c.width)
                EXPECT_EQ(r.right - r.left, c.width);
            else
                EXPECT_GT(r.right - r.left, 240);
            EXPECT_GE(r.bottom - r.top, c.minHeight);
            EXPECT_EQ(ClientRectOf(box, IDOK)[1], r.bottom - r.top - 35);
            driver.Key(KEY_ENTER);
        });
        EXPECT_EQ(driver.Run(c.text, c.caption, MB_OK), IDOK);
    }
}

// Every button set: the buttons shown with their texts, the results of each button (enter on
// it, after moving right), the icon, and the undefined values: one OK button, no icon.
TEST_F(MessageBoxTest, ButtonSetsShowTheirTextsAndReturnTheirResults) {
    struct Case {
        UINT type;
        std::vector<std::wstring> buttons;
        std::vector<int> results;
        UINT icon;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONASTERISK, {L"OK"}, {IDOK}, IDI_MB_INFORMATION},
        {MB_OKCANCEL | MB_ICONHAND, {L"OK", L"Cancel"}, {IDOK, IDCANCEL}, IDI_MB_ERROR},
        {MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION,
         {L"Abort", L"Retry", L"Ignore"},
         {IDABORT, IDRETRY, IDIGNORE},
         IDI_MB_WARNING},
        {MB_YESNOCANCEL | MB_ICONQUESTION,
         {L"Yes", L"No", L"Cancel"},
         {IDYES, IDNO, IDCANCEL},
         IDI_MB_QUESTION},
        {MB_YESNO, {L"Yes", L"No"}, {IDYES, IDNO}, 0},
        {MB_RETRYCANCEL, {L"Retry", L"Cancel"}, {IDRETRY, IDCANCEL}, 0},
        {0x0F | 0x70, {L"OK"}, {IDOK}, 0}, // neither value is defined
        {0x06 | 0x50, {L"OK"}, {IDOK}, 0},
    };
    for (const Case& c : cases) {
        for (std::size_t choice = 0; choice < c.results.size(); ++choice) {
            SCOPED_TRACE(testing::Message() << std::hex << c.type << " button " << choice);
            BoxDriver driver(m_screen);
            driver.Then([&](HWND box) {
                EXPECT_EQ(ShownButtons(box), c.buttons);
                EXPECT_EQ(IsWindowVisible(GetDlgItem(box, IDC_MB_ICON)) != FALSE, c.icon != 0);
                if (c.icon) {
                    EXPECT_TRUE(ShowsIcon(box, c.icon));
                    EXPECT_EQ(ClientRectOf(box, IDC_MB_TEXT)[0], 45);
                }
                for (std::size_t i = 0; i < choice; ++i)
                    driver.Key(KEY_RIGHT);
                EXPECT_EQ(Focused(), c.buttons[choice]);
                driver.Key(KEY_ENTER);
            });
            EXPECT_EQ(driver.Run(L"Text", L"Caption", c.type), c.results[choice]);
        }
    }
}

// Yes / No with the question icon and the second button first: in English and in Traditional
// Chinese, with the box's account in the event log.
TEST_F(MessageBoxTest, YesNoQuestionStartsOnNoAndEnterAnswersNo) {
    struct Case {
        DWORD language;
        std::vector<std::wstring> buttons;
    };
    for (const Case& c : {Case{kLanguageEnglish, {L"Yes", L"No"}},
                          Case{kLanguageTraditionalChinese, {L"是", L"否"}}}) {
        SCOPED_TRACE(c.language);
        LanguageGuard language(c.language);
        BoxDriver driver(m_screen);
        driver.Then([&](HWND box) {
            EXPECT_EQ(ShownButtons(box), c.buttons);
            EXPECT_TRUE(ShowsIcon(box, IDI_MB_QUESTION));
            EXPECT_EQ(Focused(), c.buttons[1]);
            driver.Key(KEY_ENTER);
        });
        const UINT type = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
        EXPECT_EQ(driver.Run(L"Delete all records?", L"Records", type), IDNO);
        const auto opened = EventsOfKind("msgbox.opened", driver.Mark());
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0].fields["type"], 0x124);
        EXPECT_EQ(opened[0].fields["text"], "Delete all records?");
        EXPECT_EQ(opened[0].fields["caption"], "Records");
        const auto closed = EventsOfKind("msgbox.closed", driver.Mark());
        ASSERT_EQ(closed.size(), 1u);
        EXPECT_EQ(closed[0].fields["result"], IDNO);
    }
}

// The first focus by the default-button bits, and where left and right take it from there,
// wrapping round; up and down do nothing.
TEST_F(MessageBoxTest, TheKeypadMovesTheFocusAlongTheButtons) {
    struct Case {
        UINT type;
        std::wstring first;
        std::vector<std::pair<int, std::wstring>> moves;
    };
    const Case cases[] = {
        {MB_OK | MB_DEFBUTTON3, L"OK", {{KEY_LEFT, L"OK"}, {KEY_RIGHT, L"OK"}}},
        {MB_OK | MB_DEFBUTTON2, L"OK", {{KEY_RIGHT, L"OK"}}},
        {MB_YESNO | MB_DEFBUTTON3, L"Yes", {{KEY_RIGHT, L"No"}, {KEY_RIGHT, L"Yes"}}},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3,
         L"Ignore",
         {{KEY_RIGHT, L"Abort"}, {KEY_LEFT, L"Ignore"}, {KEY_LEFT, L"Retry"}}},
        {MB_YESNOCANCEL | MB_DEFBUTTON2,
         L"No",
         {{KEY_UP, L"No"}, {KEY_DOWN, L"No"}, {KEY_SELECT, L"No"}, {KEY_RIGHT, L"Cancel"}}},
        {MB_RETRYCANCEL | 0x300, L"Retry", {}}, // an undefined default button: the first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.type);
        BoxDriver driver(m_screen);
        driver.Then([&](HWND) {
            EXPECT_EQ(Focused(), c.first);
            for (const auto& [key, focused] : c.moves) {
                driver.Key(key);
                EXPECT_EQ(Focused(), focused) << "after key " << key;
            }
        });
        EXPECT_EQ(driver.Run(L"Text", L"Caption", c.type), -1) << "closed by the test";
    }
}

// A cancel request (the dialog closed, not a button) gives the second button's result; the
// one-button set has none and answers OK.
TEST_F(MessageBoxTest, ACancelRequestGivesTheSecondResultAndOkForOneButton) {
    const std::pair<UINT, int> cases[] = {
        {MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_YESNO, IDNO}, {MB_ABORTRETRYIGNORE, IDRETRY}};
    for (const auto& [type, result] : cases) {
        SCOPED_TRACE(type);
        BoxDriver driver(m_screen);
        driver.Then([&](HWND box) {
            ::PostMessage(box, WM_CLOSE, 0, 0);
            m_screen.Pump();
        });
        EXPECT_EQ(driver.Run(L"Text", L"Caption", type), result);
    }
}

// A NULL caption shows the application's name.
TEST_F(MessageBoxTest, ANullCaptionShowsTheApplicationsName) {
    CWinApp app(L"Gallery");
    BoxDriver driver(m_screen);
    driver.Then([&](HWND box) {
        EXPECT_EQ(TextOf(GetDlgItem(box, IDC_MB_CAPTION)), L"Gallery");
        driver.Key(KEY_ENTER);
    });
    EXPECT_EQ(driver.Run(L"Text", nullptr, MB_OK), IDOK);
    EXPECT_EQ(EventsOfKind("msgbox.opened", driver.Mark()).at(0).fields["caption"], "Gallery");
}

// The focus goes back to the window that had it, and stays with none when none had it (the
// platform alone would give it to the window activated next).
TEST_F(MessageBoxTest, TheFocusGoesBackToTheWindowThatHadIt) {
    const HWND control = m_screen.AddStatic(5, RECT{0, 200, 50, 220}, L"before");
    for (const HWND before : {control, HWND(nullptr)}) {
        SCOPED_TRACE(before ? "a control" : "none");
        SetFocus(m_screen.Parent().m_hWnd);
        SetFocus(before);
        BoxDriver driver(m_screen);
        driver.Then([&](HWND box) {
            EXPECT_TRUE(IsChild(box, GetFocus())) << "the box has the focus meanwhile";
            driver.Key(KEY_ENTER);
        });
        EXPECT_EQ(driver.Run(L"Text", L"Caption", MB_OK), IDOK);
        EXPECT_EQ(GetFocus(), before);
    }
}

} // namespace
