// The command line of norvane-sim.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/shell/SimProgram.h"

class SimOptions {
public:
    std::string card;      // the storage card's host folder
    std::string state;     // the state directory; empty: a fresh temporary one
    double speed = 1.0;    // device time runs this many times faster than real time
    bool headless = false; // no window even when a display is there
    std::string trace;     // co-processor exchanges, one line each, to this file
    std::string vcd;       // the handshake lines as a VCD waveform, to this file
    std::string coproc;    // co-processor model settings at start, "key=value,key=value"
    std::string app;       // the program to run: one of the names given to Parse

    // Fills options from the command line; --app chooses among programs, the first of which
    // runs by default. nullopt to go on; otherwise the exit code (after --help, or a command
    // line error already reported).
    static std::optional<int> Parse(int argc, char** argv, const std::vector<SimProgram>& programs,
                                    SimOptions& options);
};
