#include "keypad/QWorkerThread.h"

#include "platform/kernel/CWinThread.h"
#include "platform/kernel/KernelSync.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/KernelTime.h"

QWorkerThread::QWorkerThread() : m_pStopEvent(new CEvent(FALSE, TRUE)) {}

QWorkerThread::~QWorkerThread() {
    Stop();
    if (m_hThread) {
        CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    delete m_pStopEvent;
}

BOOL QWorkerThread::Start() {
    if (IsRunning(50))
        return TRUE;
    if (m_hThread) {
        CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    // The stop request of an earlier Stop is withdrawn before the new thread exists, so the new
    // thread can never see it and end at once.
    EventModify(*m_pStopEvent, EVENT_RESET);
    // Created suspended so that the handle is copied before the thread can end and let the
    // framework close its own handle; it runs as soon as the copy is made.
    CWinThread* thread =
        AfxBeginThread(ThreadEntry, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
    if (!thread)
        return FALSE;
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    m_hThread = copy;
    m_dwThreadId = thread->m_nThreadID;
    ResumeThread(thread->m_hThread);
    return TRUE;
}

BOOL QWorkerThread::Stop() {
    if (!IsRunning(50))
        return TRUE;
    // A suspended thread could never see the request: resume it as often as it was suspended.
    DWORD previous = 0;
    do {
        previous = ResumeThread(m_hThread);
    } while (previous > 1 && previous != 0xFFFFFFFF);
    if (!EventModify(*m_pStopEvent, EVENT_SET))
        return FALSE;
    Sleep(0);
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
    return TRUE;
}

void QWorkerThread::Suspend() {
    if (m_hThread)
        SuspendThread(m_hThread);
}

DWORD QWorkerThread::Resume() {
    return m_hThread ? ResumeThread(m_hThread) : 0;
}

BOOL QWorkerThread::IsStopRequested(DWORD ms) {
    return WaitForSingleObject(*m_pStopEvent, ms) == WAIT_OBJECT_0;
}

BOOL QWorkerThread::IsRunning(DWORD ms) {
    return WaitForSingleObject(m_hThread, ms) == WAIT_TIMEOUT;
}

UINT QWorkerThread::ThreadEntry(LPVOID param) {
    auto* self = static_cast<QWorkerThread*>(param);
    AfxEndThread(self->Run(), TRUE);
}
