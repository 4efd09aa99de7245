// Base of an object that owns one background thread: the derived class supplies the work in
// Run, which polls IsStopRequested; the base starts, stops, suspends and resumes the thread.
#pragma once

#include "platform/kernel/CCriticalSection.h"
#include "platform/kernel/CEvent.h"
#include "platform/kernel/WinTypes.h"

class QWorkerThread {
public:
    QWorkerThread();
    virtual ~QWorkerThread();
    QWorkerThread(const QWorkerThread&) = delete;
    QWorkerThread& operator=(const QWorkerThread&) = delete;

    // TRUE when a thread runs afterwards (a new one, or the one already running).
    BOOL Start();
    // TRUE when no thread runs afterwards; FALSE only when the stop request could not be made.
    BOOL Stop();
    void Suspend();
    // The previous suspend count, or 0 without a thread.
    DWORD Resume();

    // Waits up to ms for a stop request; TRUE when one is made within that time.
    BOOL IsStopRequested(DWORD ms);
    // Waits up to ms for the thread to end; TRUE when it is still alive afterwards.
    BOOL IsRunning(DWORD ms);

protected:
    virtual DWORD Run() = 0;

    HANDLE m_hThread = nullptr;
    DWORD m_dwThreadId = 0xFFFFFFFF;
    CEvent* m_pStopEvent = nullptr;
    CCriticalSection m_lock;

private:
    static UINT ThreadEntry(LPVOID param);
};
