// MFC's CTime: a point in time in whole seconds, read from the device's local clock.
#pragma once

#include <ctime>

#include "platform/kernel/WinTypes.h"

class CTime {
public:
    CTime() = default;
    explicit CTime(std::time_t time) : m_time(time) {}

    // The device's local time now, to the second.
    static CTime GetCurrentTime();

    // Seconds since 1970-01-01 00:00 of the device's local time.
    std::time_t GetTime() const { return m_time; }
    // The broken-down time (tm_year from 1900, tm_mon 0..11, tm_wday 0 = Sunday); returns ptm.
    struct tm* GetLocalTm(struct tm* ptm) const;

    int GetYear() const;
    int GetMonth() const;  // 1..12
    int GetDay() const;    // 1..31
    int GetHour() const;   // 0..23
    int GetMinute() const; // 0..59
    int GetSecond() const; // 0..59

    bool operator==(const CTime& other) const = default;

private:
    struct tm Parts() const;

    std::time_t m_time = 0;
};
