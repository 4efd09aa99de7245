// The UI thread of the program the simulator runs (the launcher or the gallery): a thread of the
// simulator, not the process's main thread (the window front end keeps that one), that makes
// the program's application object, runs its InitInstance and message loop through AfxWinMain
// until its main window closes, and then deletes the object.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "sim/shell/SimProgram.h"

#include "platform/kernel/WinTypes.h"

class ProgramThread {
public:
    // onEnded runs on the UI thread once AfxWinMain has returned (the program ended).
    explicit ProgramThread(std::function<void()> onEnded) : m_onEnded(std::move(onEnded)) {}
    ~ProgramThread();
    ProgramThread(const ProgramThread&) = delete;
    ProgramThread& operator=(const ProgramThread&) = delete;

    // Starts the thread that runs the program; returns once its thread id is known.
    void Start(SimProgram program);
    DWORD ThreadId() const;
    // Closes the program's main window (WM_CLOSE; WM_QUIT when there is none) and waits for
    // AfxWinMain to return, at most limitMs of real time. False when it did not.
    bool Close(std::uint64_t limitMs);
    // AfxWinMain's result, once it has returned.
    int ExitCode() const;

private:
    bool WaitEnded(std::uint64_t limitMs);

    std::function<void()> m_onEnded;
    std::wstring m_mainWindow;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    DWORD m_threadId = 0;
    bool m_ended = false;
    int m_exitCode = 0;
};
