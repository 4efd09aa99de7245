// The touch screen of the simulated device: whether the stylus is down and where. Each change
// is recorded in the event log ("stylus.down", "stylus.move", "stylus.up" with the screen pixel)
// and reported to the window manager as the touch driver does (SendInput). A stroke that starts
// while a launched program shows its picture is the program's: the windows beneath it, which the
// program's picture covers, never see it.
#pragma once

#include <mutex>

#include "platform/gdi/Framebuffer.h"
#include "platform/kernel/WinTypes.h"

class Stylus {
public:
    enum class Change { Down, Move, Up };

    static constexpr int kWidth = Framebuffer::kWidth;
    static constexpr int kHeight = Framebuffer::kHeight;
    static bool OnScreen(int x, int y) { return x >= 0 && x < kWidth && y >= 0 && y < kHeight; }

    // False when the change cannot happen: a point off the screen, down while down, a move or a
    // lift while lifted. timeMs stamps the change in device time (0: now), so that a double tap's
    // presses are as far apart as the user made them however late they are delivered.
    bool Apply(Change change, int x, int y, DWORD timeMs = 0);
    bool IsDown() const;
    // A launched program has drawn its picture over the whole screen, or let go of it again.
    void SetProgramScreen(bool shown);

private:
    mutable std::mutex m_mutex;
    bool m_down = false;
    int m_x = -1;
    int m_y = -1;
    bool m_programScreen = false;
    bool m_strokeToWindows = false; // the stroke under way started on the windows
};
