// The clock label in manual device time: the time written as soon as the label is bound, the
// two-digit fields, the 200 ms chain of ticks that rewrites the text once a second, and timers
// that are not the clock's.
#include <algorithm>

#include <gtest/gtest.h>

#include "WidgetScreen.h"
#include "platform/kernel/KernelTime.h"
#include "widgets/QClockLabel.h"

namespace {

constexpr int kClockId = 1002;
constexpr RECT kClockRect{20, 300, 80, 316};

void SetTime(WORD hour, WORD minute, WORD second) {
    SYSTEMTIME t{};
    t.wYear = 2008;
    t.wMonth = 11;
    t.wDay = 13;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    ASSERT_TRUE(SetLocalTime(&t));
}

CString TextOf(const CWnd& wnd) {
    CString text;
    wnd.GetWindowText(text);
    return text;
}

std::vector<WPARAM> TimerIds(const std::vector<MSG>& handled, HWND hwnd) {
    std::vector<WPARAM> ids;
    for (const MSG& m : MessagesFor(handled, hwnd, WM_TIMER)) {
        ids.push_back(m.wParam);
    }
    return ids;
}

struct TimeCase {
    WORD hour, minute, second;
    const wchar_t* shown;
};

TEST(ClockLabel, ShowsTheTimeAsSoonAsItIsBound) {
    const TimeCase cases[] = {
        {9, 5, 3, L"09:05:03"},
        {23, 59, 59, L"23:59:59"},
        {0, 0, 0, L"00:00:00"},
    };
    for (const TimeCase& c : cases) {
        SCOPED_TRACE(CString(c.shown).ToUtf8());
        WidgetScreen screen;
        SetTime(c.hour, c.minute, c.second);
        QClockLabel clock;
        ASSERT_TRUE(clock.SubclassWindow(screen.AddStatic(kClockId, kClockRect, L"Clock")));
        EXPECT_EQ(TextOf(clock), CString(c.shown)) << "before any message is handled";
    }
}

TEST(ClockLabel, TicksEvery200MsAndRewritesOncePerSecond) {
    WidgetScreen screen;
    SetTime(23, 59, 59);
    QClockLabel clock;
    ASSERT_TRUE(clock.SubclassWindow(screen.AddStatic(kClockId, kClockRect, L"Clock")));
    screen.Pump();

    // Each row: 200 ms later, the text, and whether it was written again (a paint follows).
    struct Tick {
        const wchar_t* shown;
        bool rewritten;
    };
    const Tick ticks[] = {
        {L"23:59:59", false}, {L"23:59:59", false}, {L"23:59:59", false},
        {L"23:59:59", false}, {L"00:00:00", true},  {L"00:00:00", false},
    };
    for (const Tick& t : ticks) {
        const std::vector<MSG> handled = screen.Run(200);
        EXPECT_EQ(MessagesFor(handled, clock, WM_TIMER).size(), 1u);
        EXPECT_EQ(TextOf(clock), CString(t.shown));
        EXPECT_EQ(MessagesFor(handled, clock, WM_PAINT).size(), t.rewritten ? 1u : 0u);
    }
}

TEST(ClockLabel, ATimerOfAnotherIdChangesNothing) {
    WidgetScreen screen;
    SetTime(9, 5, 3);
    QClockLabel clock;
    ASSERT_TRUE(clock.SubclassWindow(screen.AddStatic(kClockId, kClockRect, L"Clock")));
    screen.Pump();

    // Another timer of the clock's window, due before the clock's own tick.
    ASSERT_NE(clock.SetTimer(7, 50, nullptr), 0u);
    EXPECT_EQ(TimerIds(screen.Run(50), clock), std::vector<WPARAM>{7});
    EXPECT_EQ(TextOf(clock), CString(L"09:05:03"));
    // The clock's own period was not restarted by the other tick: it ends 200 ms after the
    // clock was bound, not 200 ms after the other tick.
    const std::vector<WPARAM> before = TimerIds(screen.Run(149), clock);
    EXPECT_EQ(std::count(before.begin(), before.end(), QClockLabel::kTimerId), 0);
    const std::vector<WPARAM> due = TimerIds(screen.Run(1), clock);
    EXPECT_EQ(std::count(due.begin(), due.end(), QClockLabel::kTimerId), 1);

    // A second has passed without the clock's tick: another id still writes nothing ...
    Sleep(1000);
    clock.SendMessage(WM_TIMER, 7);
    EXPECT_EQ(TextOf(clock), CString(L"09:05:03"));
    // ... and the clock's own timer still runs and catches up.
    screen.Pump();
    EXPECT_EQ(TextOf(clock), CString(L"09:05:04"));
}

} // namespace
