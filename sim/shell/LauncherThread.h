// The launcher's UI thread: a thread of the simulator, not the process's main thread (the
// window front end keeps that one), that runs the application's InitInstance and message loop
// through AfxWinMain until its frame closes.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/kernel/WinTypes.h"

class LauncherThread {
public:
    // onEnded runs on the UI thread once AfxWinMain has returned (the launcher ended).
    explicit LauncherThread(std::function<void()> onEnded) : m_onEnded(std::move(onEnded)) {}
    ~LauncherThread();
    LauncherThread(const LauncherThread&) = delete;
    LauncherThread& operator=(const LauncherThread&) = delete;

    // Starts the thread; returns once its thread id is known.
    void Start();
    DWORD ThreadId() const;
    // Closes the launcher's frame (WM_CLOSE; WM_QUIT when there is no frame) and waits for
    // AfxWinMain to return, at most limitMs of real time. False when it did not.
    bool Close(std::uint64_t limitMs);
    // AfxWinMain's result, once it has returned.
    int ExitCode() const;

private:
    bool WaitEnded(std::uint64_t limitMs);

    std::function<void()> m_onEnded;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    DWORD m_threadId = 0;
    bool m_ended = false;
    int m_exitCode = 0;
};
