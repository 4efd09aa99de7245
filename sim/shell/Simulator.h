// The simulated device as one program: opens its state directory, registry and card, builds
// the board, runs the launcher on a UI thread of its own, serves the control socket and shows
// a front end on the process's main thread until it is told to quit.
#pragma once

#include <fstream>
#include <memory>
#include <string>

#include "sim/board/Board.h"
#include "sim/board/TraceWriter.h"
#include "sim/board/VcdWriter.h"
#include "sim/control/ControlServer.h"
#include "sim/frontend/FrontEnd.h"
#include "sim/keypad/KeypadMatrix.h"
#include "sim/shell/LauncherThread.h"
#include "sim/shell/SimOptions.h"
#include "sim/shell/StateDir.h"

class Simulator {
public:
    explicit Simulator(SimOptions options);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The whole run; returns the process's exit code.
    int Run();
    // Makes Run close the launcher and end; callable from any thread, any number of times.
    void RequestQuit();
    // Presses a keypad key and holds it for holdMs of device time: the launcher's UI thread
    // gets WM_KEYPAD as the keypad scanner posts it, repeat count 1 at once and, while the key
    // is held past the repeat delay, one message per scan period with counts 2, 3, ...
    // Returns the number of messages posted.
    int PressKey(int code, int holdMs, const char* source);

private:
    bool Prepare(std::string& error);
    bool BuildBoard(std::string& error);
    void DetachObservers();
    std::string SaveState();

    SimOptions m_options;
    std::unique_ptr<StateDir> m_state;
    std::unique_ptr<Board> m_board;
    // The keypad's wiring on the board's virtual pins, for the launcher's keypad scanner.
    KeypadMatrix m_keypad;
    std::ofstream m_traceFile;
    std::unique_ptr<TraceWriter> m_trace;
    std::ofstream m_vcdFile;
    std::unique_ptr<VcdWriter> m_vcd;
    std::unique_ptr<FrontEnd> m_frontEnd;
    ControlServer m_server;
    LauncherThread m_launcher;
};
