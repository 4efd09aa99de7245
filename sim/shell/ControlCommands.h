// The commands of the simulator's control socket, each answering from the running device:
// screenshot, keys, status, events, quit, registry values, WM_COPYDATA to the launcher view, the
// co-processor model's commands, and the screen and keypad requests of the demo programs.
#pragma once

#include <cstdint>
#include <mutex>

#include <nlohmann/json.hpp>

#include "sim/control/ControlServer.h"
#include "sim/status/LauncherPicture.h"

class Board;
class Simulator;

class ControlCommands {
public:
    // Longest key hold a request may ask for, in device milliseconds.
    static constexpr int kMaxHoldMs = 60000;
    // A key press without a hold lasts this long, long enough for the scanner's 30 ms poll.
    static constexpr int kTapMs = 100;

    ControlCommands(Simulator& simulator, Board& board) : m_simulator(simulator), m_board(board) {}
    void Register(ControlServer& server);

    static nlohmann::json Screenshot();
    nlohmann::json Status();
    static nlohmann::json Events(const nlohmann::json& request);
    // Sends WM_COPYDATA to the view of the frame "AppFrame" and waits, as a sent message does,
    // until the launcher's UI thread has handled it.
    static nlohmann::json CopyData(const nlohmann::json& request);
    // Clears the screen and writes lines of text on it, for a program that owns the screen.
    static nlohmann::json DrawText(const nlohmann::json& request);
    // Sets a DWORD value of a key under HKEY_LOCAL_MACHINE, as a settings program would.
    static nlohmann::json RegistrySet(const nlohmann::json& request);
    nlohmann::json Key(const nlohmann::json& request);
    nlohmann::json KeyChange(const nlohmann::json& request, bool down);
    nlohmann::json WaitKey(const nlohmann::json& request);
    nlohmann::json CoprocSet(const nlohmann::json& request);
    static nlohmann::json CoprocBoot(const nlohmann::json& request);

private:
    Simulator& m_simulator;
    Board& m_board;
    LauncherPicture m_launcher;
};
