// The window front end's keys on SDL's dummy video driver (no display needed): F12 asks for a
// screenshot once per press, and the keypad's PC keys still press keypad keys.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "sim/frontend/SdlFrontEnd.h"

namespace {

SDL_Event KeyEvent(Uint32 type, SDL_Keycode key, bool repeat = false) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    event.key.repeat = repeat ? 1 : 0;
    return event;
}

TEST(SdlFrontEndTest, F12TakesAScreenshotAndTheKeypadKeysStillPress) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (const char* display = std::getenv("DISPLAY"); !display || !*display)
        ::setenv("DISPLAY", ":norvane-test", 1);

    std::vector<std::pair<int, bool>> keys;
    int screenshots = 0;
    SdlFrontEnd* running = nullptr;
    std::string why;
    auto frontEnd = SdlFrontEnd::Create(
        [&](int code, bool down) {
            keys.emplace_back(code, down);
            // The last event pushed: everything before it has been handled.
            if (code == 11 && !down)
                running->Stop();
        },
        [](Stylus::Change, int, int) {}, [&] { ++screenshots; }, why);
    ASSERT_TRUE(frontEnd) << why;
    running = frontEnd.get();

    for (SDL_Event event : {KeyEvent(SDL_KEYDOWN, SDLK_F12), KeyEvent(SDL_KEYDOWN, SDLK_F12, true),
                            KeyEvent(SDL_KEYUP, SDLK_F12), KeyEvent(SDL_KEYDOWN, SDLK_F1),
                            KeyEvent(SDL_KEYUP, SDLK_F1), KeyEvent(SDL_KEYUP, SDLK_RETURN)})
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    // Should the keys go astray, the front end is stopped after a generous while instead of
    // hanging the test.
    std::atomic<bool> finished{false};
    std::thread guard([&] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!finished && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!finished)
            running->Stop();
    });
    frontEnd->Run();
    finished = true;
    guard.join();

    EXPECT_EQ(screenshots, 1);
    EXPECT_EQ(keys, (std::vector<std::pair<int, bool>>{{4, true}, {4, false}, {11, false}}));
}

} // namespace
