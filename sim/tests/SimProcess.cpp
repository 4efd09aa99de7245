#include "SimProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string_view>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// How long a program may stay silent and alive before the harness gives up on it. Generous:
// it only matters when something hangs, and then the test fails instead of hanging; longer
// than the tests' norvane-ctl waits, so that a wait that runs out says so itself.
constexpr int kInactivityMs = 60000;

int PidFd(pid_t pid) {
    return int(::syscall(SYS_pidfd_open, pid, 0));
}

// Children see this process's environment with NORVANE_LAST_STATE set to recordFile: a
// simulator of a test records itself in the test's own folder (or, empty, nowhere), never in the
// user's record, which the user's own simulator and other suites running at once rely on.
pid_t Spawn(const std::vector<std::string>& argv, int outFd, int errFd,
            const std::string& recordFile) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const std::string record = "NORVANE_LAST_STATE=" + recordFile;
    std::vector<char*> env;
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).substr(0, 19) != "NORVANE_LAST_STATE=")
            env.push_back(*e);
    env.push_back(const_cast<char*>(record.c_str()));
    env.push_back(nullptr);
    // Forked by hand rather than with posix_spawn so that the child dies with the test: a test
    // killed by its time-out must not leave a simulator running behind it. Only async-signal-safe
    // calls between fork and exec.
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)
            ::_exit(127);
        if (::dup2(outFd, STDOUT_FILENO) < 0 || ::dup2(errFd, STDERR_FILENO) < 0)
            ::_exit(127);
        ::execve(args[0], args.data(), env.data());
        ::_exit(127);
    }
    return pid;
}

// Reaps a child whose pidfd reported its end, or kills it first when wait is false.
int Reap(pid_t pid, bool kill) {
    if (kill)
        ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (kill)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Waits until the child ends; false when it stayed alive past the inactivity limit.
bool WaitForEnd(int pidFd) {
    pollfd fd{pidFd, POLLIN, 0};
    int n;
    while ((n = ::poll(&fd, 1, kInactivityMs)) < 0 && errno == EINTR) {
    }
    return n > 0;
}

} // namespace

SimProcess::Output SimProcess::RunProgram(const std::vector<std::string>& argv) {
    Output result;
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        return result;
    const pid_t pid = Spawn(argv, out[1], err[1], "");
    ::close(out[1]);
    ::close(err[1]);
    if (pid < 0) {
        ::close(out[0]);
        ::close(err[0]);
        result.err = "cannot start " + argv[0];
        return result;
    }
    const int pidFd = PidFd(pid);
    bool open[2] = {true, true};
    bool killed = false;
    while (open[0] || open[1]) {
        pollfd fds[2] = {{open[0] ? out[0] : -1, POLLIN, 0}, {open[1] ? err[0] : -1, POLLIN, 0}};
        const int n = ::poll(fds, 2, kInactivityMs);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            killed = true;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (!fds[i].revents)
                continue;
            char buf[4096];
            const ssize_t got = ::read(fds[i].fd, buf, sizeof buf);
            if (got <= 0)
                open[i] = false;
            else
                (i == 0 ? result.out : result.err).append(buf, std::size_t(got));
        }
    }
    ::close(out[0]);
    ::close(err[0]);
    result.exitCode = Reap(pid, killed || !WaitForEnd(pidFd));
    ::close(pidFd);
    return result;
}

SimProcess::SimProcess(std::filesystem::path stateDir, std::filesystem::path cardDir, int speed)
    : m_stateDir(std::move(stateDir)), m_cardDir(std::move(cardDir)),
      m_errFile(m_stateDir.parent_path() / "norvane-sim.stderr"), m_speed(speed) {}

SimProcess::~SimProcess() {
    if (m_pid > 0)
        Stop();
}

bool SimProcess::Start(const std::vector<std::string>& extraArgs) {
    std::vector<std::string> argv = {
        NORVANE_SIM_PATH, "--headless",        "--speed", std::to_string(m_speed),
        "--state",        m_stateDir.string(), "--card",  m_cardDir.string()};
    argv.insert(argv.end(), extraArgs.begin(), extraArgs.end());
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return false;
    const int errFd = ::open(m_errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    m_pid = Spawn(argv, out[1], errFd, (m_stateDir.parent_path() / "last-state").string());
    ::close(out[1]);
    ::close(errFd);
    m_outFd = out[0];
    if (m_pid < 0)
        return false;
    m_pidFd = PidFd(m_pid);

    // The simulator prints its one line once the control socket listens.
    for (;;) {
        pollfd fd{m_outFd, POLLIN, 0};
        const int n = ::poll(&fd, 1, kInactivityMs);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        char c;
        if (::read(m_outFd, &c, 1) != 1)
            return false;
        if (c == '\n')
            return true;
        m_banner += c;
    }
}

SimProcess::Output SimProcess::Ctl(const std::vector<std::string>& args) const {
    std::vector<std::string> argv = {NORVANE_CTL_PATH, "--state", m_stateDir.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv);
}

void SimProcess::Signal(int signal) const {
    if (m_pid > 0)
        ::kill(m_pid, signal);
}

int SimProcess::Wait() {
    if (m_pid <= 0)
        return m_exitCode;
    m_exitCode = Reap(m_pid, !WaitForEnd(m_pidFd));
    ::close(m_pidFd);
    ::close(m_outFd);
    m_pid = -1;
    return m_exitCode;
}

int SimProcess::Stop() {
    if (m_pid <= 0)
        return m_exitCode;
    Ctl({"quit"});
    return Wait();
}

std::string SimProcess::ErrorOutput() const {
    std::ifstream in(m_errFile);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
