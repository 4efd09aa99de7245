// MFC's thread object and AfxBeginThread/AfxEndThread: a device thread that runs a worker
// procedure, with its handle and id.
#pragma once

#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/WinTypes.h"

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread {
public:
    CWinThread() = default;
    // Closes m_hThread when it is still held.
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    operator HANDLE() const { return m_hThread; }

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // The object is deleted, and m_hThread closed with it, when its thread ends. An owner that
    // needs the handle longer duplicates it (DuplicateHandle) while the object still exists.
    BOOL m_bAutoDelete = TRUE;
};

// Starts a thread that runs proc(param). With CREATE_SUSPENDED in flags the thread waits for a
// ResumeThread before it runs proc. Stack size and security attributes are accepted and unused.
// Returns null when the thread cannot be created.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, void* lpSecurityAttrs = nullptr);

// Ends the calling thread, which AfxBeginThread started, with exit code nExitCode; with bDelete
// the thread's CWinThread is deleted when it has m_bAutoDelete. Objects on the thread's stack are
// destroyed on the way out.
[[noreturn]] void AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
