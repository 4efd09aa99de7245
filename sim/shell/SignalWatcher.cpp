#include "sim/shell/SignalWatcher.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Written by the handler, read by the watcher thread; there is only one watcher at a time.
int g_signalPipe = -1;

void OnSignal(int signal) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe, &byte, 1);
    errno = saved;
}

} // namespace

SignalWatcher::SignalWatcher(std::function<void(int)> onSignal) : m_onSignal(std::move(onSignal)) {
    if (::pipe2(m_pipe, O_CLOEXEC) != 0)
        return;
    g_signalPipe = m_pipe[1];
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &m_oldInt);
    ::sigaction(SIGTERM, &action, &m_oldTerm);
    m_thread = std::thread([this] { Watch(); });
}

SignalWatcher::~SignalWatcher() {
    if (m_pipe[0] < 0)
        return;
    ::sigaction(SIGINT, &m_oldInt, nullptr);
    ::sigaction(SIGTERM, &m_oldTerm, nullptr);
    // A zero byte tells the thread to end.
    const unsigned char stop = 0;
    while (::write(m_pipe[1], &stop, 1) < 0 && errno == EINTR) {
    }
    m_thread.join();
    g_signalPipe = -1;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void SignalWatcher::Watch() {
    for (;;) {
        unsigned char byte = 0;
        const ssize_t n = ::read(m_pipe[0], &byte, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || byte == 0)
            return;
        m_onSignal(byte);
    }
}
