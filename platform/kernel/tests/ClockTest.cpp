#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>

#include "platform/kernel/CTime.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelTime.h"
#include "testsupport/ClockModeGuard.h"

namespace {

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override { ClockModeGuard::Clock().SetManual(); }

    ClockModeGuard m_guard;
};

SYSTEMTIME Make(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0,
                WORD ms = 0) {
    SYSTEMTIME t;
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    t.wMilliseconds = ms;
    return t;
}

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay &&
           a.wDayOfWeek == b.wDayOfWeek && a.wHour == b.wHour && a.wMinute == b.wMinute &&
           a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

TEST_F(ClockTest, SleepAdvancesManualTimeExactly) {
    const DWORD start = GetTickCount();
    Sleep(30);
    EXPECT_EQ(GetTickCount() - start, 30u);
    Sleep(1);
    EXPECT_EQ(GetTickCount() - start, 31u);
}

TEST_F(ClockTest, SleepZeroJumpsToTheNextAnnouncedDeadline) {
    DeviceClock& clock = ClockModeGuard::Clock();
    const std::uint64_t due = clock.NowUs() + 700;
    clock.NoteDeadline(due);
    Sleep(0);
    EXPECT_EQ(clock.NowUs(), due);
    Sleep(0); // nothing more announced: time stands still
    EXPECT_EQ(clock.NowUs(), due);
}

TEST_F(ClockTest, TickCountWrapsAfter32Bits) {
    DeviceClock& clock = ClockModeGuard::Clock();
    const std::uint64_t wrapMs = std::uint64_t(1) << 32;
    const std::uint64_t target = (clock.NowMs() / wrapMs + 1) * wrapMs - 5;
    clock.AdvanceTo(target * 1000);
    const DWORD before = GetTickCount();
    EXPECT_EQ(before, 0xFFFFFFFBu);
    Sleep(10);
    EXPECT_EQ(GetTickCount(), 5u);
    EXPECT_EQ(GetTickCount() - before, 10u); // unsigned differences survive the wrap
}

TEST_F(ClockTest, SetLocalTimeIsReadBackAndRunsWithDeviceTime) {
    const SYSTEMTIME set = Make(2024, 2, 29, 23, 59, 59, 250);
    ASSERT_TRUE(SetLocalTime(&set));
    SYSTEMTIME now;
    GetLocalTime(&now);
    SYSTEMTIME expected = set;
    expected.wDayOfWeek = 4; // a Thursday
    EXPECT_TRUE(SameTime(now, expected));

    Sleep(1500);
    GetLocalTime(&now);
    EXPECT_TRUE(SameTime(now, [] {
        SYSTEMTIME t = Make(2024, 3, 1, 0, 0, 0, 750);
        t.wDayOfWeek = 5;
        return t;
    }()));
}

TEST_F(ClockTest, SetLocalTimeIgnoresTheDayOfWeek) {
    SYSTEMTIME set = Make(2000, 2, 29, 12);
    set.wDayOfWeek = 6; // wrong on purpose: 29 February 2000 was a Tuesday
    ASSERT_TRUE(SetLocalTime(&set));
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(now.wDayOfWeek, 2);
}

TEST_F(ClockTest, SetLocalTimeRefusesImpossibleDatesAndLeavesTheClock) {
    struct Case {
        const char* what;
        SYSTEMTIME time;
    };
    const Case cases[] = {
        {"month 0", Make(2024, 0, 10)},
        {"month 13", Make(2024, 13, 10)},
        {"day 0", Make(2024, 5, 0)},
        {"31 April", Make(2024, 4, 31)},
        {"31 February", Make(2024, 2, 31)},
        {"29 February of 2023", Make(2023, 2, 29)},
        {"29 February of 1900", Make(1900, 2, 29)},
        {"29 February of 2100", Make(2100, 2, 29)},
        {"day 32", Make(2024, 1, 32)},
        {"hour 24", Make(2024, 5, 10, 24)},
        {"minute 60", Make(2024, 5, 10, 12, 60)},
        {"second 60", Make(2024, 5, 10, 12, 30, 60)},
        {"millisecond 1000", Make(2024, 5, 10, 12, 30, 30, 1000)},
        {"year 1600", Make(1600, 12, 31, 23, 59, 59)},
        {"year 0", Make(0, 1, 1)},
    };
    const SYSTEMTIME known = Make(2022, 8, 15, 9, 30);
    ASSERT_TRUE(SetLocalTime(&known));
    SYSTEMTIME before;
    GetLocalTime(&before);
    for (const Case& c : cases) {
        EXPECT_FALSE(SetLocalTime(&c.time)) << c.what;
        SYSTEMTIME after;
        GetLocalTime(&after);
        EXPECT_TRUE(SameTime(after, before)) << c.what;
    }
    EXPECT_FALSE(SetLocalTime(nullptr));
}

TEST_F(ClockTest, SetLocalTimeAcceptsTheEdgesOfTheCalendar) {
    const SYSTEMTIME cases[] = {
        Make(1601, 1, 1),
        Make(2000, 2, 29),
        Make(2024, 2, 29),
        Make(2024, 12, 31, 23, 59, 59, 999),
        Make(1969, 12, 31, 23, 59, 59),
    };
    for (const SYSTEMTIME& set : cases) {
        EXPECT_TRUE(SetLocalTime(&set)) << set.wYear << "-" << set.wMonth << "-" << set.wDay;
        SYSTEMTIME now;
        GetLocalTime(&now);
        EXPECT_EQ(now.wYear, set.wYear);
        EXPECT_EQ(now.wMonth, set.wMonth);
        EXPECT_EQ(now.wDay, set.wDay);
        EXPECT_EQ(now.wSecond, set.wSecond);
        EXPECT_EQ(now.wMilliseconds, set.wMilliseconds);
    }
}

TEST_F(ClockTest, CurrentTimeFollowsTheDeviceClock) {
    const SYSTEMTIME set = Make(2031, 7, 4, 13, 45, 59, 900);
    ASSERT_TRUE(SetLocalTime(&set));
    const CTime now = CTime::GetCurrentTime();
    EXPECT_EQ(now.GetTime(), std::time_t(1940939159));
    EXPECT_EQ(now.GetYear(), 2031);
    EXPECT_EQ(now.GetMonth(), 7);
    EXPECT_EQ(now.GetDay(), 4);
    EXPECT_EQ(now.GetHour(), 13);
    EXPECT_EQ(now.GetMinute(), 45);
    EXPECT_EQ(now.GetSecond(), 59);

    Sleep(99); // still the same second
    EXPECT_EQ(CTime::GetCurrentTime(), now);
    Sleep(1);
    const CTime next = CTime::GetCurrentTime();
    EXPECT_EQ(next.GetTime(), now.GetTime() + 1);
    EXPECT_EQ(next.GetMinute(), 46);
    EXPECT_EQ(next.GetSecond(), 0);
}

TEST(CTimeFields, BrokenDownTime) {
    struct Case {
        std::time_t time;
        int year, month, day, hour, minute, second, wday, yday;
    };
    const Case cases[] = {
        {0, 1970, 1, 1, 0, 0, 0, 4, 0},
        {951782400, 2000, 2, 29, 0, 0, 0, 2, 59},
        {-1, 1969, 12, 31, 23, 59, 59, 3, 364},
        {1940939159, 2031, 7, 4, 13, 45, 59, 5, 184},
        {4102444799, 2099, 12, 31, 23, 59, 59, 4, 364},
    };
    for (const Case& c : cases) {
        const CTime t(c.time);
        struct tm parts {};
        EXPECT_EQ(t.GetLocalTm(&parts), &parts);
        EXPECT_EQ(parts.tm_year, c.year - 1900) << c.time;
        EXPECT_EQ(parts.tm_mon, c.month - 1) << c.time;
        EXPECT_EQ(parts.tm_mday, c.day) << c.time;
        EXPECT_EQ(parts.tm_hour, c.hour) << c.time;
        EXPECT_EQ(parts.tm_min, c.minute) << c.time;
        EXPECT_EQ(parts.tm_sec, c.second) << c.time;
        EXPECT_EQ(parts.tm_wday, c.wday) << c.time;
        EXPECT_EQ(parts.tm_yday, c.yday) << c.time;
        EXPECT_EQ(t.GetYear(), c.year) << c.time;
        EXPECT_EQ(t.GetMonth(), c.month) << c.time;
        EXPECT_EQ(t.GetDay(), c.day) << c.time;
        EXPECT_EQ(t.GetHour(), c.hour) << c.time;
        EXPECT_EQ(t.GetMinute(), c.minute) << c.time;
        EXPECT_EQ(t.GetSecond(), c.second) << c.time;
    }
}

} // namespace
