#include "sim/shell/SimOptions.h"

#include <CLI/CLI.hpp>

std::optional<int> SimOptions::Parse(int argc, char** argv, const std::vector<SimProgram>& programs,
                                     SimOptions& options) {
    CLI::App app{"norvane-sim: the simulated Norvane analyser running its launcher (or another "
                 "program, see --app). It prints where its state directory and control socket "
                 "are; drive it with norvane-ctl."};
    options.card = NORVANE_SAMPLE_CARD;
    app.add_option("--card", options.card, "host folder mapped to \\Storage Card")
        ->capture_default_str();
    app.add_option("--state", options.state,
                   "state directory (registry, clock, control socket); kept across runs. "
                   "Default: a fresh temporary one, removed at exit");
    app.add_option("--speed", options.speed, "device time runs N times as fast as real time")
        ->check(CLI::Range(0.001, 10000.0))
        ->capture_default_str();
    app.add_flag("--headless", options.headless,
                 "no window: the device is reached only through its control socket (also when "
                 "there is no display)");
    app.add_option("--trace", options.trace, "write each co-processor exchange to FILE");
    app.add_option("--vcd", options.vcd, "write the co-processor's handshake lines to FILE (VCD)");
    app.add_option("--coproc", options.coproc,
                   "co-processor model settings and faults at start: KEY=VALUE,... (e.g. "
                   "battery_level=40,battery_charging=1,boot_late_ms=900)");
    std::vector<std::string> names;
    std::string choices;
    for (const SimProgram& program : programs) {
        names.push_back(program.name);
        choices += "; " + program.name + ": " + program.description;
    }
    options.app = names.empty() ? std::string() : names.front();
    app.add_option("--app", options.app, "the program the device runs" + choices)
        ->check(CLI::IsMember(names))
        ->capture_default_str();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    return std::nullopt;
}
