// The stylus on the window tree: which window a point reaches, the messages of a press, a drag
// and a lift in client coordinates, the double-tap rules, the capture, the focus a tap gives,
// and reports that lead nowhere.
#include <gtest/gtest.h>

#include <thread>

#include "WindowFixture.h"
#include "platform/kernel/KernelTime.h"
#include "platform/user/ListView.h"
#include "testsupport/StylusReports.h"

namespace {

// A probe class whose windows take double taps.
LPCTSTR DoubleTapProbeClass() {
    static const bool registered = [] {
        WNDCLASS wc;
        GetClassInfo(nullptr, ProbeClass(), &wc);
        wc.style = CS_DBLCLKS;
        wc.lpszClassName = L"DoubleTapProbe";
        return RegisterClass(&wc) != 0;
    }();
    return registered ? L"DoubleTapProbe" : nullptr;
}

LONG X(LPARAM lParam) {
    return SHORT(LOWORD(WPARAM(lParam)));
}
LONG Y(LPARAM lParam) {
    return SHORT(HIWORD(WPARAM(lParam)));
}

bool IsStylusMessage(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_MOUSEMOVE ||
           message == WM_LBUTTONDBLCLK;
}

// The stylus messages the probes received, in order.
std::vector<ProbeMessage> StylusMessages() {
    std::vector<ProbeMessage> found;
    for (const ProbeMessage& m : ProbeLog())
        if (IsStylusMessage(m.message))
            found.push_back(m);
    return found;
}

class StylusTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Sleep(1000); // no press of an earlier test counts toward a double tap
    }
    void TearDown() override {
        ReleaseCapture();
        SendStylus(MOUSEEVENTF_LEFTUP, 0, 0);
        WindowTest::TearDown();
    }
    void Tap(POINT p) {
        ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTDOWN, p.x, p.y));
        ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTUP, p.x, p.y));
        PumpUntilIdle();
    }
    HWND MakeTopLevelOf(LPCTSTR cls, RECT r) {
        HWND hwnd = CreateWindowEx(0, cls, L"top", WS_VISIBLE, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
        m_windows.push_back(hwnd);
        return hwnd;
    }
};

TEST_F(StylusTest, APointReachesTheTopMostShownEnabledWindowThere) {
    const HWND back = MakeTopLevel({0, 0, 240, 320});
    const HWND upper = MakeChild(back, {10, 10, 110, 110}, 1);
    const HWND inner = MakeChild(upper, {20, 20, 60, 60}, 2);  // screen 30..70
    const HWND lower = MakeChild(back, {60, 60, 160, 110}, 3); // beneath upper where they meet
    MakeChild(back, {10, 200, 100, 250}, 4, 0);                // hidden
    MakeChild(back, {120, 200, 200, 250}, 5, WS_VISIBLE | WS_DISABLED);
    const HWND underDisabled = MakeChild(back, {120, 200, 230, 260}, 6);
    const HWND bordered = MakeChild(back, {10, 130, 60, 180}, 7, WS_VISIBLE | WS_BORDER);
    const HWND front = MakeTopLevel({150, 10, 230, 100});
    MakeTopLevel({0, 0, 50, 50}, 0);                            // a hidden top-level window
    MakeTopLevel({0, 280, 240, 320}, WS_VISIBLE | WS_DISABLED); // as a modal dialog's owner is
    ASSERT_EQ(front, GetWindow(back, GW_HWNDPREV)) << "made later, so on top";

    struct Case {
        const char* what;
        POINT screen;
        HWND expected;
        POINT client; // of the press the expected window receives
    };
    const Case cases[] = {
        {"child over its parent", {30, 30}, inner, {0, 0}},
        {"the inner child's last pixel", {69, 69}, inner, {39, 39}},
        {"just past it", {70, 70}, upper, {60, 60}},
        {"the first of two siblings is above", {100, 100}, upper, {90, 90}},
        {"where only the second lies", {110, 100}, lower, {50, 40}},
        {"a hidden child is not there", {50, 220}, back, {50, 220}},
        {"a disabled child passes the tap beneath", {150, 220}, underDisabled, {30, 20}},
        {"beside the disabled child", {225, 255}, underDisabled, {105, 55}},
        {"a bordered child's client area", {11, 131}, bordered, {0, 0}},
        {"a top-level window above", {200, 50}, front, {50, 40}},
        {"a hidden top-level window is not there", {5, 5}, back, {5, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, WindowFromPoint(c.screen));
        ClearProbeLog();
        Tap(c.screen);
        const auto presses = ProbeLogOf(WM_LBUTTONDOWN);
        ASSERT_EQ(1u, presses.size());
        EXPECT_EQ(c.expected, presses[0].hwnd);
        EXPECT_EQ(c.client.x, X(presses[0].lParam));
        EXPECT_EQ(c.client.y, Y(presses[0].lParam));
        EXPECT_EQ(MK_LBUTTON, presses[0].wParam);
        Sleep(1000);
    }

    // A disabled top-level window takes no tap; nor does the frame of a bordered window.
    struct Nowhere {
        const char* what;
        POINT screen;
        HWND hit;
    };
    const Nowhere nowhere[] = {
        {"disabled top-level window", {120, 300}, nullptr},
        {"a window's frame", {10, 130}, bordered},
    };
    for (const Nowhere& n : nowhere) {
        SCOPED_TRACE(n.what);
        EXPECT_EQ(n.hit, WindowFromPoint(n.screen));
        ClearProbeLog();
        Tap(n.screen);
        EXPECT_TRUE(StylusMessages().empty());
    }
}

TEST_F(StylusTest, PressDragAndLiftArriveInClientCoordinatesOfTheWindowUnderTheStylus) {
    const HWND back = MakeTopLevel({0, 0, 240, 320});
    const HWND child = MakeChild(back, {40, 50, 140, 150}, 1);
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTDOWN, 45, 60));
    ASSERT_TRUE(SendStylus(0, 45, 60)); // no move: nothing
    ASSERT_TRUE(SendStylus(0, 50, 70));
    ASSERT_TRUE(SendStylus(0, 20, 30)); // off the child: to the window now under the stylus
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTUP, 20, 31));
    PumpUntilIdle();
    const auto got = StylusMessages();
    ASSERT_EQ(5u, got.size());
    const struct {
        HWND hwnd;
        UINT message;
        WPARAM wParam;
        POINT client;
    } expected[] = {
        {child, WM_LBUTTONDOWN, MK_LBUTTON, {5, 10}},
        {child, WM_MOUSEMOVE, MK_LBUTTON, {10, 20}},
        {back, WM_MOUSEMOVE, MK_LBUTTON, {20, 30}},
        {back, WM_MOUSEMOVE, MK_LBUTTON, {20, 31}},
        {back, WM_LBUTTONUP, 0, {20, 31}},
    };
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].hwnd, got[i].hwnd);
        EXPECT_EQ(expected[i].message, got[i].message);
        EXPECT_EQ(expected[i].wParam, got[i].wParam);
        EXPECT_EQ(expected[i].client.x, X(got[i].lParam));
        EXPECT_EQ(expected[i].client.y, Y(got[i].lParam));
    }

    // Every pixel of the screen is reached exactly through the normalised coordinates.
    ClearProbeLog();
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTDOWN, 0, 0));
    for (int x = 1; x < 240; ++x)
        ASSERT_TRUE(SendStylus(0, x, 0));
    for (int y = 1; y < 320; ++y)
        ASSERT_TRUE(SendStylus(0, 239, y));
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTUP, 239, 319));
    PumpUntilIdle();
    const auto moves = ProbeLogOf(WM_MOUSEMOVE);
    ASSERT_EQ(239u + 319u, moves.size());
    int mismatches = 0;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        POINT p{LONG(i < 239 ? i + 1 : 239), LONG(i < 239 ? 0 : i - 239 + 1)};
        ScreenToClient(moves[i].hwnd, &p);
        mismatches += p.x != X(moves[i].lParam) || p.y != Y(moves[i].lParam);
    }
    EXPECT_EQ(0, mismatches);
}

TEST_F(StylusTest, ASecondPressSoonAndNearOnTheSameWindowIsADoubleTapIfItsClassAsks) {
    const HWND plain = MakeTopLevel({0, 0, 240, 160});
    const HWND taker = MakeTopLevelOf(DoubleTapProbeClass(), {0, 160, 240, 320});
    const HWND neighbour = CreateWindowEx(0, DoubleTapProbeClass(), L"n", WS_CHILD | WS_VISIBLE, 0,
                                          0, 105, 160, taker, nullptr, nullptr, nullptr);
    // The neighbour covers x 0..104 of taker's client area; presses start at (110, 240).
    struct Case {
        const char* what;
        HWND first;
        DWORD gapMs;
        int dx, dy;
        UINT second;
    };
    const Case cases[] = {
        {"within the double-tap time", taker, 500, 0, 0, WM_LBUTTONDBLCLK},
        {"one millisecond late", taker, 501, 0, 0, WM_LBUTTONDOWN},
        {"at the rectangle's corner", taker, 100, 10, -10, WM_LBUTTONDBLCLK},
        {"one pixel right of it", taker, 100, 11, 0, WM_LBUTTONDOWN},
        {"one pixel below it", taker, 100, 0, 11, WM_LBUTTONDOWN},
        {"near but on another window", taker, 100, -10, 0, WM_LBUTTONDOWN},
        {"a class without CS_DBLCLKS", plain, 100, 0, 0, WM_LBUTTONDOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const POINT first = c.first == plain ? POINT{110, 80} : POINT{110, 240};
        ClearProbeLog();
        Tap(first);
        Sleep(c.gapMs);
        Tap({first.x + c.dx, first.y + c.dy});
        const auto got = StylusMessages();
        ASSERT_EQ(4u, got.size());
        EXPECT_EQ(WM_LBUTTONDOWN, got[0].message);
        EXPECT_EQ(WM_LBUTTONUP, got[1].message);
        EXPECT_EQ(c.second, got[2].message);
        EXPECT_EQ(MK_LBUTTON, got[2].wParam);
        EXPECT_EQ(WM_LBUTTONUP, got[3].message);
        EXPECT_EQ(c.dx == -10 ? neighbour : c.first, got[2].hwnd);
        Sleep(1000);
    }
    // After a double tap the next press starts afresh.
    ClearProbeLog();
    for (int i = 0; i < 3; ++i)
        Tap({110, 240});
    const auto presses = StylusMessages();
    ASSERT_EQ(6u, presses.size());
    EXPECT_EQ(WM_LBUTTONDOWN, presses[0].message);
    EXPECT_EQ(WM_LBUTTONDBLCLK, presses[2].message);
    EXPECT_EQ(WM_LBUTTONDOWN, presses[4].message);
    EXPECT_EQ(500u, GetDoubleClickTime());
    EXPECT_EQ(20, GetSystemMetrics(SM_CXDOUBLECLK));
    EXPECT_EQ(20, GetSystemMetrics(SM_CYDOUBLECLK));
}

TEST_F(StylusTest, TheCaptureWindowGetsEveryStylusMessageUntilReleased) {
    const HWND back = MakeTopLevel({0, 0, 240, 320});
    const HWND holder = MakeChild(back, {100, 100, 150, 150}, 1);
    const HWND other = MakeTopLevel({0, 0, 60, 60});
    EXPECT_EQ(nullptr, SetCapture(holder));
    EXPECT_EQ(holder, GetCapture());
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTDOWN, 10, 20)); // over another top-level window
    ASSERT_TRUE(SendStylus(0, 120, 130));
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTUP, 200, 300));
    PumpUntilIdle();
    auto got = StylusMessages();
    ASSERT_EQ(4u, got.size()); // the lift elsewhere moves there first
    const POINT expected[] = {{-90, -80}, {20, 30}, {100, 200}, {100, 200}};
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(holder, got[i].hwnd);
        EXPECT_EQ(expected[i].x, X(got[i].lParam));
        EXPECT_EQ(expected[i].y, Y(got[i].lParam));
    }

    // Another thread neither sees nor takes nor releases this thread's capture.
    std::thread([&] {
        EXPECT_EQ(nullptr, GetCapture());
        EXPECT_EQ(nullptr, SetCapture(back));
        EXPECT_FALSE(ReleaseCapture());
    }).join();
    EXPECT_EQ(holder, GetCapture());

    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(nullptr, GetCapture());
    ClearProbeLog();
    Tap({10, 20});
    got = StylusMessages();
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(other, got[0].hwnd);

    // A destroyed capture window lets go.
    EXPECT_EQ(nullptr, SetCapture(holder));
    DestroyWindow(holder);
    EXPECT_EQ(nullptr, GetCapture());
    ClearProbeLog();
    Sleep(1000);
    Tap({120, 130});
    got = StylusMessages();
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(back, got[0].hwnd);
}

TEST_F(StylusTest, ATapFocusesAButtonAndAListButNotAPlainWindow) {
    const HWND back = MakeTopLevel({0, 0, 240, 320});
    InitCommonControls();
    const HWND button = CreateWindowEx(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30,
                                       back, reinterpret_cast<HMENU>(10), nullptr, nullptr);
    const HWND list =
        CreateWindowEx(0, WC_LISTVIEW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 50, 200, 100,
                       back, reinterpret_cast<HMENU>(11), nullptr, nullptr);
    const HWND plain = MakeChild(back, {10, 200, 200, 250}, 12);
    SetFocus(back);
    struct Case {
        POINT screen;
        HWND focus;
    };
    const Case cases[] = {{{20, 20}, button}, {{20, 210}, button}, {{20, 60}, list}};
    for (const Case& c : cases) {
        Tap(c.screen);
        EXPECT_EQ(c.focus, GetFocus());
        Sleep(1000);
    }
    EXPECT_NE(nullptr, plain);

    // The button holds the stylus while pressed: a lift outside it clicks nothing.
    ClearProbeLog();
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTDOWN, 20, 20));
    PumpUntilIdle();
    EXPECT_EQ(button, GetCapture());
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTUP, 150, 300));
    PumpUntilIdle();
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_TRUE(ProbeLogOf(WM_COMMAND).empty());
    Sleep(1000);
    Tap({20, 20});
    const auto commands = ProbeLogOf(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(MAKEWPARAM(10, BN_CLICKED), commands[0].wParam);
}

TEST_F(StylusTest, ReportsThatLeadNowhereDoNothing) {
    const HWND back = MakeTopLevel({0, 0, 240, 160});
    // A lift without a press, and a lifted stylus moving: nothing.
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTUP, 10, 10));
    ASSERT_TRUE(SendStylus(0, 20, 20));
    // A press beside every window, dragged onto one: the drag and lift arrive there.
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTDOWN, 10, 200));
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTDOWN, 10, 200)); // down while down
    ASSERT_TRUE(SendStylus(0, 10, 100));
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTUP, 10, 100));
    PumpUntilIdle();
    auto got = StylusMessages();
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(WM_MOUSEMOVE, got[0].message);
    EXPECT_EQ(WM_LBUTTONUP, got[1].message);

    // Messages to a window destroyed before they are handled go nowhere.
    const HWND doomed = MakeChild(back, {0, 0, 50, 50}, 1);
    Sleep(1000);
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTDOWN, 10, 10));
    ASSERT_TRUE(SendStylus(MOUSEEVENTF_LEFTUP, 10, 10));
    DestroyWindow(doomed);
    ClearProbeLog();
    PumpUntilIdle();
    EXPECT_TRUE(StylusMessages().empty());

    // Malformed calls take nothing.
    INPUT input;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    EXPECT_EQ(0u, SendInput(1, &input, int(sizeof(INPUT)) - 1));
    EXPECT_EQ(0u, SendInput(1, nullptr, int(sizeof(INPUT))));
    input.type = 1; // keyboard input: this device has none
    EXPECT_EQ(0u, SendInput(1, &input, int(sizeof(INPUT))));
    PumpUntilIdle();
    EXPECT_TRUE(StylusMessages().empty());
    EXPECT_EQ(nullptr, SetCapture(nullptr));
    EXPECT_EQ(nullptr, GetCapture());
}

} // namespace
