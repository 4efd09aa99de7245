// The commands of the simulator's control socket, each answering from the running device:
// screenshot, key, status, events, quit and the co-processor model's commands.
#pragma once

#include <nlohmann/json.hpp>

#include "sim/control/ControlServer.h"

class Simulator;

class ControlCommands {
public:
    // Longest key hold a request may ask for, in device milliseconds.
    static constexpr int kMaxHoldMs = 60000;

    explicit ControlCommands(Simulator& simulator) : m_simulator(simulator) {}
    void Register(ControlServer& server);

    static nlohmann::json Screenshot();
    static nlohmann::json Status();
    static nlohmann::json Events(const nlohmann::json& request);
    nlohmann::json Key(const nlohmann::json& request);

private:
    Simulator& m_simulator;
};
