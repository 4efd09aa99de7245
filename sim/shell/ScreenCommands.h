// The screen commands of the control socket: a PNG of the screen, lines of text drawn for a
// program that owns the screen, and the screen let go of again.
#pragma once

#include <nlohmann/json.hpp>

class ScreenCommands {
public:
    static nlohmann::json Screenshot();
    // Clears the screen and writes lines of text on it, for a program that owns the screen.
    static nlohmann::json DrawText(const nlohmann::json& request);
    // A program lets go of the screen it drew on: every window repaints, as when the full-screen
    // window of a program on the device closes.
    static nlohmann::json ReleaseScreen();
};
