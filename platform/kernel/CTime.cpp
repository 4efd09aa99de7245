#include "platform/kernel/CTime.h"

#include <chrono>

#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/ThreadControl.h"

CTime CTime::GetCurrentTime() {
    PlatformCheckpoint();
    using namespace std::chrono;
    const sys_time<milliseconds> now{milliseconds(DeviceClock::Instance().LocalMs())};
    return CTime(std::time_t(floor<seconds>(now).time_since_epoch().count()));
}

struct tm CTime::Parts() const {
    using namespace std::chrono;
    const sys_seconds at{seconds(m_time)};
    const sys_days day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss clock{at - day};
    struct tm parts {};
    parts.tm_year = int(date.year()) - 1900;
    parts.tm_mon = int(unsigned(date.month())) - 1;
    parts.tm_mday = int(unsigned(date.day()));
    parts.tm_hour = int(clock.hours().count());
    parts.tm_min = int(clock.minutes().count());
    parts.tm_sec = int(clock.seconds().count());
    parts.tm_wday = int(weekday{day}.c_encoding());
    parts.tm_yday = int((day - sys_days{date.year() / January / 1}).count());
    return parts;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
    if (ptm != nullptr)
        *ptm = Parts();
    return ptm;
}

int CTime::GetYear() const {
    return Parts().tm_year + 1900;
}
int CTime::GetMonth() const {
    return Parts().tm_mon + 1;
}
int CTime::GetDay() const {
    return Parts().tm_mday;
}
int CTime::GetHour() const {
    return Parts().tm_hour;
}
int CTime::GetMinute() const {
    return Parts().tm_min;
}
int CTime::GetSecond() const {
    return Parts().tm_sec;
}
