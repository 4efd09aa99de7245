#include "platform/kernel/KernelTime.h"

#include <chrono>
#include <cstdio>

#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/ThreadControl.h"

namespace {

// The range of dates SYSTEMTIME can hold on the platform.
constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;

} // namespace

void Sleep(DWORD ms) {
    PlatformCheckpoint();
    DeviceClock& clock = DeviceClock::Instance();
    if (ms == 0) {
        clock.Yield();
        return;
    }
    ThreadControl::WaitScope scope;
    clock.SleepUs(std::uint64_t(ms) * 1000);
}

DWORD GetTickCount() {
    PlatformCheckpoint();
    return DWORD(DeviceClock::Instance().NowMs());
}

void GetLocalTime(SYSTEMTIME* time) {
    PlatformCheckpoint();
    if (time == nullptr)
        return;
    using namespace std::chrono;
    const sys_time<milliseconds> now{milliseconds(DeviceClock::Instance().LocalMs())};
    const sys_days day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss clock{now - day};
    time->wYear = WORD(int(date.year()));
    time->wMonth = WORD(unsigned(date.month()));
    time->wDay = WORD(unsigned(date.day()));
    time->wDayOfWeek = WORD(weekday{day}.c_encoding());
    time->wHour = WORD(clock.hours().count());
    time->wMinute = WORD(clock.minutes().count());
    time->wSecond = WORD(clock.seconds().count());
    time->wMilliseconds = WORD(clock.subseconds().count());
}

BOOL SetLocalTime(const SYSTEMTIME* time) {
    PlatformCheckpoint();
    if (time == nullptr)
        return FALSE;
    using namespace std::chrono;
    const year_month_day date{year{time->wYear}, month{time->wMonth}, day{time->wDay}};
    if (time->wYear < kFirstYear || time->wYear > kLastYear || !date.ok() || time->wHour > 23 ||
        time->wMinute > 59 || time->wSecond > 59 || time->wMilliseconds > 999)
        return FALSE;
    const auto local = sys_days{date} + hours{time->wHour} + minutes{time->wMinute} +
                       seconds{time->wSecond} + milliseconds{time->wMilliseconds};
    DeviceClock::Instance().SetLocalMs(local.time_since_epoch().count());
    char text[48];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", time->wYear, time->wMonth,
                  time->wDay, time->wHour, time->wMinute, time->wSecond);
    EventLog::Instance().Record("clock.set", {{"local", text}});
    return TRUE;
}
