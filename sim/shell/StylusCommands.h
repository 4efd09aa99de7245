// The stylus commands of the control socket: a tap or a double tap at a screen pixel, and the
// stylus put down, moved and lifted for drags, each worked on the simulator's touch screen.
#pragma once

#include <nlohmann/json.hpp>

class Simulator;

class StylusCommands {
public:
    explicit StylusCommands(Simulator& simulator) : m_simulator(simulator) {}

    nlohmann::json Tap(const nlohmann::json& request);
    // "action": "down", "move" or "up".
    nlohmann::json Change(const nlohmann::json& request);

private:
    Simulator& m_simulator;
};
