// Launched programs: ShellExecuteEx starts the host executable that a device path names, and
// the process is a waitable kernel object that signals when the program has exited.
#pragma once

#include <sys/types.h>

#include "platform/kernel/KernelObject.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/WinTypes.h"

inline constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x00000040;

struct SHELLEXECUTEINFO {
    DWORD cbSize = 0;
    ULONG fMask = 0;
    HWND hwnd = nullptr;
    LPCTSTR lpVerb = nullptr;
    LPCTSTR lpFile = nullptr;
    LPCTSTR lpParameters = nullptr;
    LPCTSTR lpDirectory = nullptr;
    int nShow = 0;
    HINSTANCE hInstApp = nullptr;
    LPVOID lpIDList = nullptr;
    LPCTSTR lpClass = nullptr;
    HKEY hkeyClass = nullptr;
    DWORD dwHotKey = 0;
    HANDLE hIcon = nullptr;
    HANDLE hProcess = nullptr;
};
using LPSHELLEXECUTEINFO = SHELLEXECUTEINFO*;

// Starts lpFile (a device path) with lpParameters split by the platform's command-line rules;
// the program inherits the environment. With SEE_MASK_NOCLOSEPROCESS, hProcess receives a
// handle to wait on and to close with CloseHandle. A missing or non-executable file gives FALSE,
// no handle and GetLastError() = ERROR_FILE_NOT_FOUND or ERROR_ACCESS_DENIED (hInstApp
// SE_ERR_FNF or SE_ERR_ACCESSDENIED); a program on a card that is out, ERROR_PATH_NOT_FOUND
// (SE_ERR_PNF). lpVerb,
// lpDirectory and nShow are not used: the device's programs are always opened in place.
BOOL ShellExecuteEx(SHELLEXECUTEINFO* info);
// STILL_ACTIVE while the program runs, then its exit status (128 + the signal number when a
// signal ended it). FALSE for a handle that is not a process.
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);

class Process : public KernelObject {
public:
    explicit Process(pid_t pid) : m_pid(pid) {}

    bool TryAcquireLocked() override { return m_exited; }

    pid_t Pid() const { return m_pid; }
    // Under KernelObject::Lock().
    DWORD ExitCodeLocked() const { return m_exited ? m_exitCode : STILL_ACTIVE; }
    // Called by the reaper once the host process has been waited for.
    void MarkExitedLocked(DWORD exitCode);

private:
    const pid_t m_pid;
    bool m_exited = false;
    DWORD m_exitCode = 0;
};
