// Events, waits and handles of the device's kernel. Waits run in device time and count as
// stopped for SuspendThread: a suspended thread parks before its wait returns.
#pragma once

#include "platform/kernel/WinTypes.h"

inline constexpr DWORD EVENT_PULSE = 1;
inline constexpr DWORD EVENT_RESET = 2;
inline constexpr DWORD EVENT_SET = 3;

inline constexpr DWORD DUPLICATE_CLOSE_SOURCE = 0x00000001;
inline constexpr DWORD DUPLICATE_SAME_ACCESS = 0x00000002;

// A named event is created once; a second CreateEvent with the same name opens the same event
// (its flags are then ignored). Returns null on failure.
HANDLE CreateEvent(void* lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCTSTR lpName);
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);
// EVENT_SET, EVENT_RESET or EVENT_PULSE; FALSE for a bad handle or another function.
BOOL EventModify(HANDLE hEvent, DWORD func);
// Releases the threads waiting at this moment (one for an auto-reset event) and leaves the
// event reset.
BOOL PulseEvent(HANDLE hEvent);

// WAIT_OBJECT_0 when the object is signalled within ms of device time (INFINITE: no limit),
// WAIT_TIMEOUT when not, WAIT_FAILED for a bad handle. A thread handle signals when the
// thread has ended; an auto-reset event is reset by the wait it releases.
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);

// FALSE for a bad handle. The object lives on while other handles to it are open.
BOOL CloseHandle(HANDLE hObject);

// A pseudo-handle that stands for the calling process (DuplicateHandle's process arguments).
HANDLE GetCurrentProcess();
// The same-process form: both process handles are GetCurrentProcess(). Makes a second handle to
// the object of hSource (a pseudo-handle of the current thread becomes a real one).
BOOL DuplicateHandle(HANDLE hSourceProcess, HANDLE hSource, HANDLE hTargetProcess, HANDLE* lpTarget,
                     DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwOptions);
