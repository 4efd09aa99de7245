// The keypad commands of the control socket: a key pressed for a while, put down or let up, and
// a wait for the next key (or, when asked, the stylus) to go down, each worked on the
// simulator's keypad.
#pragma once

#include <nlohmann/json.hpp>

class Simulator;

class KeyCommands {
public:
    // Longest key hold a request may ask for, in device milliseconds.
    static constexpr int kMaxHoldMs = 60000;
    // A key press without a hold lasts this long, long enough for the scanner's 30 ms poll.
    static constexpr int kTapMs = 100;

    explicit KeyCommands(Simulator& simulator) : m_simulator(simulator) {}

    nlohmann::json Key(const nlohmann::json& request);
    nlohmann::json KeyChange(const nlohmann::json& request, bool down);
    nlohmann::json WaitKey(const nlohmann::json& request);

private:
    Simulator& m_simulator;
};
