// The screen commands of the control socket: a PNG of the screen, a recording of it as an
// animated GIF, lines of text drawn for a program that owns the screen, and the screen let go of
// again.
#pragma once

#include <functional>

#include <nlohmann/json.hpp>

class ScreenCommands {
public:
    static nlohmann::json Screenshot();
    // Records the screen for "seconds" of device time into the GIF file "path" and answers when
    // the file is written; gives up (and removes the file) when stopping() turns true.
    static nlohmann::json Record(const nlohmann::json& request,
                                 const std::function<bool()>& stopping);
    static constexpr double kMaxRecordSeconds = 3600;
    // Clears the screen and writes lines of text on it, for a program that owns the screen.
    static nlohmann::json DrawText(const nlohmann::json& request);
    // A program lets go of the screen it drew on: every window repaints, as when the full-screen
    // window of a program on the device closes.
    static nlohmann::json ReleaseScreen();
};
