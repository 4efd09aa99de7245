// The commands of the simulator's control socket, each answering from the running device:
// screenshot, key, status, events, quit and the co-processor model's commands.
#pragma once

#include <nlohmann/json.hpp>

#include "sim/control/ControlServer.h"

class Board;
class Simulator;

class ControlCommands {
public:
    // Longest key hold a request may ask for, in device milliseconds.
    static constexpr int kMaxHoldMs = 60000;

    ControlCommands(Simulator& simulator, Board& board) : m_simulator(simulator), m_board(board) {}
    void Register(ControlServer& server);

    static nlohmann::json Screenshot();
    static nlohmann::json Status();
    static nlohmann::json Events(const nlohmann::json& request);
    nlohmann::json Key(const nlohmann::json& request);
    nlohmann::json CoprocSet(const nlohmann::json& request);
    static nlohmann::json CoprocBoot(const nlohmann::json& request);

private:
    Simulator& m_simulator;
    Board& m_board;
};
