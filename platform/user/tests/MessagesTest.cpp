// Messages on one thread: retrieval order, WM_PAINT and WM_TIMER only on an empty queue,
// PeekMessage, WM_QUIT, timers in exact device time, focus.
#include "WindowFixture.h"

#include "platform/kernel/KernelThreads.h"

namespace {

using MessagesTest = WindowTest;

std::vector<UINT> Retrieve(int count) {
    std::vector<UINT> seen;
    MSG msg;
    for (int i = 0; i < count && GetMessage(&msg, nullptr, 0, 0); ++i) {
        seen.push_back(msg.message);
        DispatchMessage(&msg);
    }
    return seen;
}

TEST_F(MessagesTest, PaintAndTimerComeOnlyWhenNothingIsPosted) {
    HWND w = MakeTopLevel({0, 0, 50, 50});
    PumpUntilIdle(); // the first paint after creation
    ASSERT_NE(SetTimer(w, 9, 10, nullptr), 0u);
    DeviceClock::Instance().AdvanceTo(DeviceClock::Instance().NowUs() + 20000); // timer due
    InvalidateRect(w, nullptr, TRUE);
    PostMessage(w, WM_USER + 1, 0, 0);
    PostThreadMessage(GetCurrentThreadId(), WM_USER + 2, 0, 0);
    EXPECT_EQ(Retrieve(4), (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_PAINT, WM_TIMER}));
    KillTimer(w, 9);
}

TEST_F(MessagesTest, QuitEndsGetMessageWithItsCodeAfterPostedMessages) {
    HWND w = MakeTopLevel({0, 0, 10, 10});
    PumpUntilIdle();
    PostQuitMessage(17);
    PostMessage(w, WM_USER, 0, 0);
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER);
    EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 17u);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)); // the quit was taken
}

TEST_F(MessagesTest, PeekWithoutRemoveLeavesTheMessage) {
    HWND w = MakeTopLevel({0, 0, 10, 10});
    PumpUntilIdle();
    PostMessage(w, WM_USER + 3, 5, 6);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 3);
    EXPECT_EQ(msg.hwnd, w);
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(msg.lParam, 6);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

// GetMessage sleeps to the next timer; in manual time the clock moves timer by timer.
TEST_F(MessagesTest, TimersFireAtExactDeviceTimesAndRestartWhenSetAgain) {
    HWND w = MakeTopLevel({0, 0, 10, 10});
    PumpUntilIdle();
    const std::uint64_t start = DeviceClock::Instance().NowMs();
    SetTimer(w, 1, 100, nullptr);
    SetTimer(w, 2, 250, nullptr);
    std::vector<std::pair<WPARAM, std::uint64_t>> ticks;
    MSG msg;
    while (ticks.size() < 6 && GetMessage(&msg, nullptr, 0, 0))
        if (msg.message == WM_TIMER)
            ticks.emplace_back(msg.wParam, DeviceClock::Instance().NowMs() - start);
    const std::vector<std::pair<WPARAM, std::uint64_t>> expected = {{1, 100}, {1, 200}, {2, 250},
                                                                    {1, 300}, {1, 400}, {1, 500}};
    ASSERT_GE(ticks.size(), 5u);
    EXPECT_EQ(std::vector(ticks.begin(), ticks.begin() + 5),
              std::vector(expected.begin(), expected.begin() + 5));
    // At 500 both are due: the one due first goes first, both come.
    while (ticks.size() < 7 && GetMessage(&msg, nullptr, 0, 0))
        if (msg.message == WM_TIMER)
            ticks.emplace_back(msg.wParam, DeviceClock::Instance().NowMs() - start);
    EXPECT_EQ(ticks[5].second, 500u);
    EXPECT_EQ(ticks[6].second, 500u);
    EXPECT_NE(ticks[5].first, ticks[6].first);

    // Setting a running timer again starts its period anew; a killed timer stays silent.
    KillTimer(w, 2);
    DeviceClock::Instance().AdvanceTo(DeviceClock::Instance().NowUs() + 30000);
    SetTimer(w, 1, 100, nullptr);
    const std::uint64_t reset = DeviceClock::Instance().NowMs();
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(DeviceClock::Instance().NowMs() - reset, 100u);
    KillTimer(w, 1);
}

int g_timerProcCalls = 0;
void CountTimerProc(HWND, UINT message, UINT_PTR, DWORD) {
    if (message == WM_TIMER)
        ++g_timerProcCalls;
}

TEST_F(MessagesTest, ATimerProcedureIsCalledByDispatchInsteadOfTheWindow) {
    HWND w = MakeTopLevel({0, 0, 10, 10});
    PumpUntilIdle();
    g_timerProcCalls = 0;
    ClearProbeLog();
    SetTimer(w, 4, 50, CountTimerProc);
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    DispatchMessage(&msg);
    EXPECT_EQ(g_timerProcCalls, 1);
    EXPECT_TRUE(ProbeLogOf(WM_TIMER).empty());
    // A forged WM_TIMER naming a procedure that is no live timer's calls nothing.
    KillTimer(w, 4);
    msg.lParam = reinterpret_cast<LPARAM>(&CountTimerProc);
    DispatchMessage(&msg);
    EXPECT_EQ(g_timerProcCalls, 1);
}

TEST_F(MessagesTest, FocusMovesWithKillAndSetFocusAndRefusesUnfitWindows) {
    HWND top = MakeTopLevel({0, 0, 100, 100});
    HWND a = MakeChild(top, {0, 0, 10, 10}, 1);
    HWND b = MakeChild(top, {20, 0, 30, 10}, 2);
    HWND hidden = MakeChild(top, {40, 0, 50, 10}, 3, 0);
    HWND disabled = MakeChild(top, {60, 0, 70, 10}, 4, WS_VISIBLE | WS_DISABLED);
    HWND gone = MakeChild(top, {80, 0, 90, 10}, 5);
    DestroyWindow(gone);
    HWND inHiddenParent = MakeChild(hidden, {0, 0, 5, 5}, 6);

    SetFocus(a);
    ASSERT_EQ(GetFocus(), a);
    ClearProbeLog();
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(GetFocus(), b);
    auto kill = ProbeLogOf(WM_KILLFOCUS);
    auto set = ProbeLogOf(WM_SETFOCUS);
    ASSERT_EQ(kill.size(), 1u);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(kill[0].hwnd, a);
    EXPECT_EQ(kill[0].wParam, reinterpret_cast<WPARAM>(b));
    EXPECT_EQ(set[0].hwnd, b);
    EXPECT_EQ(set[0].wParam, reinterpret_cast<WPARAM>(a));

    for (HWND unfit : {hidden, disabled, gone}) {
        EXPECT_EQ(SetFocus(unfit), nullptr);
        EXPECT_EQ(GetFocus(), b);
    }
    // A shown control inside a parent that is not shown yet can take the focus: forms and
    // dialogs set their focus before they appear.
    EXPECT_EQ(SetFocus(inHiddenParent), b);
    EXPECT_EQ(GetFocus(), inHiddenParent);
    // The focused window going away leaves no focus.
    DestroyWindow(hidden);
    EXPECT_EQ(GetFocus(), nullptr);
}

} // namespace
