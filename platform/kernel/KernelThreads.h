// The thread services of the device: ids, priorities, exit codes and suspension.
#pragma once

#include "platform/kernel/WinTypes.h"

// Windows CE has eight priority levels, 0 (time critical) to 7 (idle).
inline constexpr int THREAD_PRIORITY_TIME_CRITICAL = 0;
inline constexpr int THREAD_PRIORITY_HIGHEST = 1;
inline constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 2;
inline constexpr int THREAD_PRIORITY_NORMAL = 3;
inline constexpr int THREAD_PRIORITY_BELOW_NORMAL = 4;
inline constexpr int THREAD_PRIORITY_LOWEST = 5;
inline constexpr int THREAD_PRIORITY_ABOVE_IDLE = 6;
inline constexpr int THREAD_PRIORITY_IDLE = 7;
inline constexpr int THREAD_PRIORITY_ERROR_RETURN = 0x7FFFFFFF;

inline constexpr DWORD CREATE_SUSPENDED = 0x00000004;
// The exit code of a thread that has not ended.
inline constexpr DWORD STILL_ACTIVE = 259;

// A stable id of the calling thread, never 0 nor 0xFFFFFFFF, also for threads the platform did
// not start. Ids are not reused while the process runs.
DWORD GetCurrentThreadId();
// A pseudo-handle that stands for the calling thread wherever a thread handle is taken;
// DuplicateHandle turns it into a real handle.
HANDLE GetCurrentThread();

// The priority is stored and read back; the host schedules threads as it likes.
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);

// STILL_ACTIVE while the thread runs, its exit code afterwards.
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);

// Both return the previous suspend count, or 0xFFFFFFFF for a bad handle. Suspensions nest:
// each SuspendThread needs one ResumeThread. When SuspendThread returns, the target does
// nothing visible until it is resumed.
DWORD SuspendThread(HANDLE thread);
DWORD ResumeThread(HANDLE thread);
