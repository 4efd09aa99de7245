// The end-to-end tests' handle on a running simulator: starts norvane-sim headless on a state
// directory and card of the test's own, drives it only through norvane-ctl as a user would, and
// always stops it again (quit, then SIGKILL when it does not end).
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

class SimProcess {
public:
    struct Output {
        int exitCode = -1; // -1: did not end in time and was killed
        std::string out;
        std::string err;
    };

    // Runs a program to its end and collects what it wrote; killed when it stays silent and
    // alive for longer than the inactivity limit.
    static Output RunProgram(const std::vector<std::string>& argv);

    SimProcess(std::filesystem::path stateDir, std::filesystem::path cardDir, int speed);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the simulator; true once it has printed its line (the socket is then up). On
    // false, the simulator ended or stayed silent: FinishOutput tells why.
    bool Start(const std::vector<std::string>& extraArgs = {});
    const std::string& Banner() const { return m_banner; }

    // Runs norvane-ctl --state <stateDir> args...
    Output Ctl(const std::vector<std::string>& args) const;

    // Sends a signal to the simulator.
    void Signal(int signal) const;
    // Waits for the simulator to end (killing it if it does not); its exit code, -1 if killed.
    int Wait();
    // Asks the simulator to quit, then waits as Wait does.
    int Stop();
    // After the simulator ended: what it wrote to stderr.
    std::string ErrorOutput() const;

private:
    std::filesystem::path m_stateDir;
    std::filesystem::path m_cardDir;
    std::filesystem::path m_errFile;
    int m_speed;
    pid_t m_pid = -1;
    int m_pidFd = -1;
    int m_outFd = -1;
    std::string m_banner;
    int m_exitCode = -1;
};
