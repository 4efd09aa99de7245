// The window front end: an SDL2 window with the device's screen at twice its size and the
// twelve keypad keys drawn beside it, and the device's sounds on the host's audio. PC keys are
// mapped to keypad keys (arrows, Enter, Space for select, 1 2 3 9 0 for the numbered keys, F1
// for about) and a click on a drawn key presses it; F12 asks for a screenshot. The left mouse
// button on the screen is the stylus, at the screen pixel under the pointer. It redraws only
// when the framebuffer's change counter has moved, and otherwise sleeps in SDL_WaitEventTimeout.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <SDL.h>

#include "sim/frontend/FrontEnd.h"
#include "sim/frontend/SdlSoundSink.h"

class SdlFrontEnd : public FrontEnd {
public:
    // nullptr with the reason when there is no display to open a window on.
    static std::unique_ptr<SdlFrontEnd> Create(KeyPress pressKey, StylusTouch touch,
                                               ScreenshotKey screenshot, std::string& why);
    ~SdlFrontEnd() override;

    void Run() override;
    void Stop() override;

private:
    SdlFrontEnd(KeyPress pressKey, StylusTouch touch, ScreenshotKey screenshot)
        : m_pressKey(std::move(pressKey)), m_touch(std::move(touch)),
          m_screenshot(std::move(screenshot)) {}
    bool Open(std::string& why);
    void DrawPanel();
    void Present();
    static std::optional<int> KeyOfPcKey(SDL_Keycode key);
    // The window's pixel as a pixel of the device's screen, kept on the screen.
    static void ToScreen(int windowX, int windowY, int& x, int& y);

    KeyPress m_pressKey;
    StylusTouch m_touch;
    ScreenshotKey m_screenshot;
    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_screen = nullptr;
    SDL_Texture* m_panel = nullptr;
    std::unique_ptr<SdlSoundSink> m_sound;
    Uint32 m_stopEvent = 0;
    std::atomic<bool> m_stopRequested{false};
    std::uint64_t m_shownChange = UINT64_MAX;
    std::optional<int> m_heldKey; // the drawn key under a pressed mouse button
    bool m_stylusDown = false;    // the mouse button went down on the screen
};
