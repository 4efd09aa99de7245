// The simulated device as one program: opens its state directory, registry and card, builds
// the board, runs the chosen program (the launcher, or the gallery) on a UI thread of its own,
// serves the control socket and shows a front end on the process's main thread until it is
// told to quit.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "sim/board/Board.h"
#include "sim/board/TraceWriter.h"
#include "sim/board/VcdWriter.h"
#include "sim/control/ControlServer.h"
#include "sim/frontend/FrontEnd.h"
#include "sim/keypad/KeypadMatrix.h"
#include "sim/shell/ProgramThread.h"
#include "sim/shell/SimOptions.h"
#include "sim/shell/SimProgram.h"
#include "sim/shell/StateDir.h"
#include "sim/shell/Stylus.h"

class Simulator {
public:
    // How long PressKey leaves a released key up before it returns, in device milliseconds.
    static constexpr int kReleaseMs = 60;

    Simulator(SimOptions options, SimProgram program);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The name of the program it runs (--app): "launcher" or "gallery".
    const std::string& ProgramName() const { return m_program.name; }
    // The whole run; returns the process's exit code.
    int Run();
    // Makes Run close the program and end; callable from any thread, any number of times.
    void RequestQuit();
    // Puts a key of the keypad matrix down or up; the launcher's keypad scanner sees the change
    // at its next poll, as on the device. False when the key already was in that position. A
    // press given releaseAtUs reads up from that device time on (KeypadMatrix::Press).
    bool SetKey(int code, bool down, std::uint64_t releaseAtUs = 0);
    // Presses a key, holds it for holdMs of device time and releases it, then leaves it up for
    // kReleaseMs. A press shorter than the scanner's 30 ms poll may go unseen, as on the device;
    // a longer one is seen, and lasts its device time on the wires, however busy the host.
    void PressKey(int code, int holdMs);
    bool IsKeyDown(int code) const { return m_keypad.IsDown(code); }
    bool IsQuitting() {
        std::lock_guard lock(m_keyMutex);
        return m_quitting;
    }
    // Puts the stylus down, moves or lifts it at a screen pixel; false when it cannot (see
    // Stylus::Apply).
    bool SetStylus(Stylus::Change change, int x, int y, DWORD timeMs = 0);
    // Taps the screen once or twice: each press lasts kStylusPressMs, the second follows
    // kStylusPressMs after the first lift, and the call returns only after the double-tap time
    // has passed, so that the next tap is a tap of its own.
    void Tap(int x, int y, bool twice);
    bool IsStylusDown() const { return m_stylus.IsDown(); }
    // A launched program has drawn over the whole screen (true) or let go of it (false).
    void SetProgramScreen(bool shown) { m_stylus.SetProgramScreen(shown); }

    // What ended a wait for input: a key going down, or the stylus going down on the screen.
    struct Input {
        std::optional<int> key;
        int x = -1;
        int y = -1;
    };
    // Waits up to timeoutMs of device time for a key (or, with taps, the stylus) to go down
    // after the call; nothing on time-out or when the simulator quits. For the demo programs,
    // which work the keypad and the screen through the socket.
    std::optional<Input> WaitInput(std::uint64_t timeoutMs, bool taps);

    static constexpr int kStylusPressMs = 100;

private:
    bool Prepare(std::string& error);
    bool BuildBoard(std::string& error);
    void DetachObservers();
    std::string SaveState();
    // The window's F12: a PNG of the screen beside the state directory, named on stderr and in
    // the event log ("screenshot.saved").
    void SaveScreenshot();

    SimOptions m_options;
    SimProgram m_program;
    std::unique_ptr<StateDir> m_state;
    std::unique_ptr<Board> m_board;
    // The keypad's wiring on the board's virtual pins, for the launcher's keypad scanner.
    KeypadMatrix m_keypad;
    Stylus m_stylus;
    // Key-down and stylus-down counts and the last of each, for WaitInput.
    std::mutex m_keyMutex;
    std::condition_variable m_keyCv;
    std::uint64_t m_keyDowns = 0;
    int m_lastKeyDown = -1;
    std::uint64_t m_stylusDowns = 0;
    int m_lastTapX = -1;
    int m_lastTapY = -1;
    bool m_quitting = false;
    std::ofstream m_traceFile;
    std::unique_ptr<TraceWriter> m_trace;
    std::ofstream m_vcdFile;
    std::unique_ptr<VcdWriter> m_vcd;
    std::unique_ptr<FrontEnd> m_frontEnd;
    ControlServer m_server;
    ProgramThread m_programThread;
};
