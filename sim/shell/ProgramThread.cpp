#include "sim/shell/ProgramThread.h"

#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/user/CWinApp.h"
#include "platform/user/WinUser.h"

ProgramThread::~ProgramThread() {
    if (m_thread.joinable())
        m_thread.join();
}

void ProgramThread::Start(SimProgram program) {
    m_mainWindow = program.mainWindow;
    m_thread = std::thread([this, makeApp = std::move(program.makeApp)] {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_threadId = GetCurrentThreadId();
        }
        m_cv.notify_all();
        std::unique_ptr<CWinApp> app = makeApp();
        const int code = AfxWinMain();
        app.reset();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_exitCode = code;
            m_ended = true;
        }
        m_cv.notify_all();
        m_onEnded();
    });
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait(lock, [this] { return m_threadId != 0; });
}

DWORD ProgramThread::ThreadId() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_threadId;
}

int ProgramThread::ExitCode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_exitCode;
}

bool ProgramThread::WaitEnded(std::uint64_t limitMs) {
    DeviceClock& clock = DeviceClock::Instance();
    // The limit is real time: scaled to device time at the clock's speed.
    const auto deadline = clock.NowUs() + std::uint64_t(double(limitMs) * 1000.0 * clock.Speed());
    std::unique_lock<std::mutex> lock(m_mutex);
    return clock.WaitUntil(lock, m_cv, deadline, [this] { return m_ended; });
}

bool ProgramThread::Close(std::uint64_t limitMs) {
    if (!m_thread.joinable())
        return true;
    const HWND frame = FindWindow(nullptr, m_mainWindow.c_str());
    if (!frame || !PostMessage(frame, WM_CLOSE, 0, 0))
        PostThreadMessage(ThreadId(), WM_QUIT, 0, 0);
    if (!WaitEnded(limitMs)) {
        // The window did not close (the UI thread may be busy in a launch): ask the loop to end.
        PostThreadMessage(ThreadId(), WM_QUIT, 0, 0);
        if (!WaitEnded(limitMs)) {
            m_thread.detach();
            return false;
        }
    }
    m_thread.join();
    return true;
}
