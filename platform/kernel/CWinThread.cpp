#include "platform/kernel/CWinThread.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelObject.h"
#include "platform/kernel/ThreadObject.h"

namespace {

// Thrown by AfxEndThread and caught where the thread began, so that the thread's stack unwinds.
struct ThreadExit {
    UINT code;
    BOOL deleteObject;
};

// What a new thread is given. The creator waits until the thread has joined its suspension
// control (so that SuspendThread works from the first moment), then lets it go.
struct StartBlock {
    AFX_THREADPROC proc = nullptr;
    LPVOID param = nullptr;
    CWinThread* thread = nullptr;
    std::shared_ptr<ThreadObject> object;

    std::mutex mutex;
    std::condition_variable cv;
    bool joined = false;
    bool go = false;
};

void ThreadMain(std::shared_ptr<StartBlock> start) {
    ThreadObject::BecomeCurrent(start->object);
    {
        std::lock_guard<std::mutex> lock(start->mutex);
        start->joined = true;
    }
    start->cv.notify_all();
    {
        // A thread created suspended parks when it leaves this wait.
        ThreadControl::WaitScope scope;
        std::unique_lock<std::mutex> lock(start->mutex);
        start->cv.wait(lock, [&] { return start->go; });
    }

    UINT code = 0;
    BOOL deleteObject = TRUE;
    try {
        code = start->proc(start->param);
    } catch (const ThreadExit& exit) {
        code = exit.code;
        deleteObject = exit.deleteObject;
    }

    std::shared_ptr<ThreadObject> object = std::move(start->object);
    CWinThread* thread = start->thread;
    start.reset();
    if (deleteObject && thread->m_bAutoDelete)
        delete thread;
    EventLog::Instance().Record("thread.ended", {{"id", object->Id()}, {"exitCode", code}});
    object->Finish(code);
}

} // namespace

CWinThread::~CWinThread() {
    if (m_hThread != nullptr)
        HandleTable::Close(m_hThread);
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int nPriority, UINT /*nStackSize*/,
                           DWORD dwCreateFlags, void* /*lpSecurityAttrs*/) {
    PlatformCheckpoint();
    if (proc == nullptr)
        return nullptr;
    auto start = std::make_shared<StartBlock>();
    start->proc = proc;
    start->param = param;
    const bool validPriority =
        nPriority >= THREAD_PRIORITY_TIME_CRITICAL && nPriority <= THREAD_PRIORITY_IDLE;
    start->object =
        std::make_shared<ThreadObject>(validPriority ? nPriority : THREAD_PRIORITY_NORMAL);
    auto* thread = new CWinThread;
    thread->m_hThread = HandleTable::Insert(start->object);
    thread->m_nThreadID = start->object->Id();
    start->thread = thread;
    const DWORD id = thread->m_nThreadID;

    try {
        std::thread(ThreadMain, start).detach();
    } catch (const std::system_error&) {
        delete thread;
        return nullptr;
    }
    {
        ThreadControl::WaitScope scope;
        std::unique_lock<std::mutex> lock(start->mutex);
        start->cv.wait(lock, [&] { return start->joined; });
    }
    if (dwCreateFlags & CREATE_SUSPENDED)
        start->object->Control()->Suspend();
    EventLog::Instance().Record(
        "thread.started", {{"id", id}, {"suspended", (dwCreateFlags & CREATE_SUSPENDED) != 0}});
    {
        std::lock_guard<std::mutex> lock(start->mutex);
        start->go = true;
    }
    start->cv.notify_all();
    return thread;
}

void AfxEndThread(UINT nExitCode, BOOL bDelete) {
    PlatformCheckpoint();
    throw ThreadExit{nExitCode, bDelete};
}
