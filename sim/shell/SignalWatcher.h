// Turns SIGINT and SIGTERM into a call of a function on a thread of its own, so that the
// simulator shuts down cleanly (launcher closed, registry and clock saved) when asked to stop
// from the terminal or by another program. The signal handler only writes to a pipe.
#pragma once

#include <csignal>
#include <functional>
#include <thread>

class SignalWatcher {
public:
    // onSignal runs on the watcher's thread, once per signal received.
    explicit SignalWatcher(std::function<void(int signal)> onSignal);
    // Restores the previous handlers and ends the thread.
    ~SignalWatcher();
    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

private:
    void Watch();

    std::function<void(int)> m_onSignal;
    int m_pipe[2] = {-1, -1};
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
    std::thread m_thread;
};
