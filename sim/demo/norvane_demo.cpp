// norvane-demo: the stand-in for the measurement programs of the sample card. The card holds it
// under each program's name (Zentra.exe, QbRun.exe, ...). Started by the launcher, it shows its
// name and its arguments on the device's screen and runs until a key of the keypad goes down or
// the stylus taps the screen, or for --seconds N of device time, then exits with status 0. It
// reaches the screen, the keypad and the stylus through the simulator's control socket, whose path
// it finds in NORVANE_CONTROL_SOCKET, and lets go of the screen before it exits so that the
// launcher repaints.

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/control/ControlClient.h"

namespace {

// A program without --seconds waits for a key or a tap as long as this, again and again.
constexpr std::uint64_t kKeyWaitMs = 3600 * 1000;

std::optional<std::uint64_t> ParseSeconds(const std::string& text) {
    std::uint64_t seconds = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (ec != std::errc() || end != text.data() + text.size() || seconds > 86400)
        return std::nullopt;
    return seconds;
}

int Fail(const std::string& name, const std::string& text) {
    std::cerr << name << ": " << text << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // The program's name is the name it was started under, without ".exe".
    const std::string name = std::filesystem::path(argv[0]).stem().string();
    std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<std::uint64_t> seconds;
    for (std::size_t i = 0; i < args.size(); ++i)
        if (args[i] == "--seconds") {
            seconds = i + 1 < args.size() ? ParseSeconds(args[i + 1]) : std::nullopt;
            if (!seconds)
                return Fail(name, "--seconds needs a whole number of seconds (0 to 86400)");
        }

    const char* socket = std::getenv("NORVANE_CONTROL_SOCKET");
    if (!socket || !*socket)
        return Fail(name, "NORVANE_CONTROL_SOCKET is not set: start me from the simulated device");
    ControlClient client;
    if (std::string why = client.Connect(socket); !why.empty())
        return Fail(name, "no device at " + std::string(socket) + ": " + why);
    std::string error;
    const auto request = [&](const nlohmann::json& r) {
        const auto answer = client.Request(r, error);
        if (answer && !answer->value("ok", false))
            error = answer->value("error", std::string("refused"));
        return answer && answer->value("ok", false) ? answer : std::nullopt;
    };

    nlohmann::json lines = nlohmann::json::array({name, ""});
    lines.push_back(args.empty() ? "No arguments" : std::to_string(args.size()) + " arguments:");
    for (std::size_t i = 0; i < args.size(); ++i)
        lines.push_back(std::to_string(i + 1) + ": " + args[i]);
    lines.push_back("");
    lines.push_back(seconds ? "Ends after " + std::to_string(*seconds) + " s"
                            : "Press a key or tap to exit");
    if (!request({{"cmd", "draw-text"}, {"lines", lines}}))
        return Fail(name, "cannot draw on the screen: " + error);

    std::optional<nlohmann::json> input;
    const auto nothing = [&] { return (*input)["key"].is_null() && (*input)["tap"].is_null(); };
    do {
        input = request({{"cmd", "wait-key"},
                         {"timeout_ms", seconds ? *seconds * 1000 : kKeyWaitMs},
                         {"stylus", true}});
        if (!input)
            return Fail(name, "cannot wait for a key: " + error);
    } while (!seconds && nothing());
    // As a program's window closes on the device, the windows beneath it repaint.
    if (!request({{"cmd", "release-screen"}}))
        return Fail(name, "cannot let go of the screen: " + error);
    const nlohmann::json& tap = (*input)["tap"];
    std::cout << name << ": "
              << (!(*input)["key"].is_null() ? "key " + (*input)["key"].get<std::string>()
                  : !tap.is_null()           ? "tap at " + tap["x"].dump() + "," + tap["y"].dump()
                                             : "time is up")
              << "\n";
    return 0;
}
