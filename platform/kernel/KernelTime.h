// Time services of the device: Sleep, the millisecond tick count and the local date and time.
// All of them read the one device clock, never the host's.
#pragma once

#include "platform/kernel/WinTypes.h"

// Blocks the calling thread for ms of device time. Sleep(0) gives up the processor once. A
// sleeping thread counts as stopped for SuspendThread and parks before the sleep returns.
void Sleep(DWORD ms);

// Milliseconds of device time since the device started, in 32 bits: wraps after 49.7 days.
DWORD GetTickCount();

// The device's local date and time (the device knows no time zones).
void GetLocalTime(SYSTEMTIME* time);
// Sets the device's local date and time. FALSE, with the clock untouched, for a date or time
// that cannot exist (month 13, 31 February, hour 24, a year before 1601, ...). The day of the
// week is ignored.
BOOL SetLocalTime(const SYSTEMTIME* time);
