// A front end of the simulated device: shows its screen and takes its key presses and stylus
// strokes. It runs on the process's main thread until it is stopped or its user closes it.
#pragma once

#include <functional>

#include "sim/shell/Stylus.h"

class FrontEnd {
public:
    // Presses (down) or releases a keypad key (by key code) on the device.
    using KeyPress = std::function<void(int code, bool down)>;
    // Puts the stylus down, moves or lifts it at a pixel of the device's screen.
    using StylusTouch = std::function<void(Stylus::Change change, int x, int y)>;
    // The user asked for a screenshot.
    using ScreenshotKey = std::function<void()>;

    virtual ~FrontEnd() = default;
    // Returns when Stop was called (before or during Run) or the user closed the front end.
    virtual void Run() = 0;
    // Makes Run return; callable from any thread.
    virtual void Stop() = 0;
};
