// The gallery's keypad routing: outside a menu a keypad key goes to the focused window, as in
// the launcher; while a menu is tracked it becomes the keyboard key that the menu loop reads.
#include <gtest/gtest.h>

#include <vector>

#include "keypad/Keypad.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/user/WinUser.h"
#include "sim/gallery/QGalleryApp.h"

namespace {

struct Received {
    UINT message;
    WPARAM wParam;
    friend bool operator==(const Received&, const Received&) = default;
};
std::vector<Received> g_received;

LRESULT ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYPAD || message == WM_KEYDOWN)
        g_received.push_back({message, wParam});
    return DefWindowProc(hwnd, message, wParam, lParam);
}

class GalleryAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeviceClock::Instance().SetManual();
        WNDCLASS wc;
        wc.lpfnWndProc = ProbeProc;
        wc.lpszClassName = L"GalleryProbe";
        RegisterClass(&wc);
        m_probe = CreateWindowEx(0, L"GalleryProbe", L"", WS_VISIBLE, 0, 0, 240, 320, nullptr,
                                 nullptr, nullptr, nullptr);
        SetFocus(m_probe);
        g_received.clear();
    }
    void TearDown() override {
        DestroyWindow(m_probe);
        DeviceClock::Instance().SetScaled(1.0);
    }
    // A keypad key as the scanner posts it, through the main loop's body.
    std::vector<Received> Press(WPARAM key) {
        g_received.clear();
        PostThreadMessage(GetCurrentThreadId(), WM_KEYPAD, key, 1);
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!m_app.PreTranslateMessage(&msg))
                DispatchMessage(&msg);
        return g_received;
    }

    QGalleryApp m_app;
    HWND m_probe = nullptr;
};

TEST_F(GalleryAppTest, KeypadKeysBecomeMenuKeysOnlyWhileAMenuIsTracked) {
    struct Case {
        WPARAM key;
        UINT vk; // 0: the key means nothing in a menu
    };
    const Case cases[] = {
        {KEY_UP, VK_UP},
        {KEY_DOWN, VK_DOWN},
        {KEY_LEFT, VK_LEFT},
        {KEY_RIGHT, VK_RIGHT},
        {KEY_ENTER, VK_RETURN},
        {KEY_SELECT, VK_ESCAPE},
        {KEY_ABOUT, VK_ESCAPE},
        {KEY_1, 0},
        {KEY_10, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        m_app.SetMenuTracking(TRUE);
        const std::vector<Received> inMenu =
            c.vk ? std::vector<Received>{{WM_KEYDOWN, c.vk}} : std::vector<Received>{};
        EXPECT_EQ(Press(c.key), inMenu);
        m_app.SetMenuTracking(FALSE);
        EXPECT_EQ(Press(c.key), (std::vector<Received>{{WM_KEYPAD, c.key}}));
    }
}

} // namespace
