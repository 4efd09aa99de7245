// norvane-sim: the simulated Norvane analyser running its launcher (see --help).

#include "sim/shell/SimOptions.h"
#include "sim/shell/Simulator.h"

int main(int argc, char** argv) {
    SimOptions options;
    if (const auto exitCode = SimOptions::Parse(argc, argv, options))
        return *exitCode;
    Simulator simulator(std::move(options));
    return simulator.Run();
}
