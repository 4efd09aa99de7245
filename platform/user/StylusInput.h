// The stylus as the window manager sees it: where it is, whether it is down, which window has
// the capture and the last press a second one may make a double tap of. It turns the touch
// screen's reports into the windows' mouse messages. Guarded by the window manager's lock.
#pragma once

#include "platform/user/WindowManager.h"

class StylusInput {
public:
    // The platform's defaults: the double-click time, and the stylus's double-tap rectangle
    // around the first press (the touch screen's "DblTapDist" of 20 pixels).
    static constexpr UINT kDoubleTapMs = 500;
    static constexpr int kDoubleTapSize = 20;

    static StylusInput& Instance();

    // Lock held: one report of the touch screen, its time stamp in device milliseconds.
    void Report(WindowManager& wm, const MOUSEINPUT& input, DWORD time);

    // Lock held. The capture window, whatever its thread; null when none (or it is gone).
    HWND Capture(WindowManager& wm) const { return wm.Find(m_capture) ? m_capture : nullptr; }
    void SetCapture(HWND hwnd) { m_capture = hwnd; }

private:
    StylusInput() = default;
    void Place(const MOUSEINPUT& input);
    // Posts the message to the window the stylus is on (or the capture window); returns it.
    HWND Deliver(WindowManager& wm, UINT message, WPARAM wParam, DWORD time);
    UINT PressMessage(WindowManager& wm, HWND target, DWORD time);

    POINT m_position{0, 0};
    bool m_down = false;
    HWND m_capture = nullptr;
    // The last plain press, which a second one may complete as a double tap.
    HWND m_pressWindow = nullptr;
    POINT m_pressPoint{0, 0};
    DWORD m_pressTime = 0;
};
