// Painting: what a window's drawing context may touch, erasing with the class brush, update
// regions, WM_SETREDRAW, and what a hidden window gives back.
#include "WindowFixture.h"

#include "platform/gdi/Framebuffer.h"
#include "platform/gdi/WinGdi.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;

void Fill(HDC hdc, COLORREF colour) {
    RECT all{-1000, -1000, 1000, 1000};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &all, brush);
    DeleteObject(brush);
}

void FillWindow(HWND hwnd, COLORREF colour) {
    HDC hdc = GetDC(hwnd);
    Fill(hdc, colour);
    ReleaseDC(hwnd, hdc);
}

std::uint32_t At(int x, int y) {
    return Framebuffer::Instance().Pixel(x, y);
}

using PaintingTest = WindowTest;

TEST_F(PaintingTest, AWindowDrawsOnlyWhereNoChildOrHigherSiblingCoversIt) {
    HWND top = MakeTopLevel({0, 0, 100, 100});
    HWND upper = MakeChild(top, {10, 10, 40, 40}, 1); // made first: above its later siblings
    HWND lower = MakeChild(top, {30, 30, 60, 60}, 2);
    PumpUntilIdle();
    Framebuffer::Instance().Clear(kBlack);

    struct Step {
        HWND target;
        COLORREF colour;
        std::vector<std::pair<POINT, std::uint32_t>> expected;
    };
    const std::vector<Step> steps = {
        // The parent stops at both children and at its own edge.
        {top,
         RGB(255, 0, 0),
         {{{5, 5}, kRed},
          {{20, 20}, kBlack},
          {{50, 50}, kBlack},
          {{35, 35}, kBlack},
          {{150, 5}, kBlack}}},
        // The lower child stops where the upper one overlaps it.
        {lower, RGB(0, 255, 0), {{{50, 50}, kGreen}, {{35, 35}, kBlack}, {{20, 20}, kBlack}}},
        {upper, RGB(0, 0, 255), {{{35, 35}, kBlue}, {{20, 20}, kBlue}, {{50, 50}, kGreen}}},
        // The screen's context draws everywhere.
        {nullptr, RGB(255, 255, 255), {{{35, 35}, kWhite}, {{150, 300}, kWhite}}},
    };
    for (const Step& step : steps) {
        FillWindow(step.target, step.colour);
        for (const auto& [p, colour] : step.expected)
            EXPECT_EQ(At(p.x, p.y), colour) << "at " << p.x << "," << p.y;
    }
}

TEST_F(PaintingTest, UpdateWindowErasesWithTheClassBrushAndValidates) {
    HWND top = MakeTopLevel({0, 0, 20, 20});
    PumpUntilIdle();
    Framebuffer::Instance().Clear(kBlack);
    InvalidateRect(top, nullptr, TRUE);
    ClearProbeLog();
    ASSERT_TRUE(UpdateWindow(top));
    EXPECT_EQ(ProbeLogOf(WM_PAINT).size(), 1u);
    EXPECT_EQ(ProbeLogOf(WM_ERASEBKGND).size(), 1u);
    EXPECT_EQ(At(5, 5), kWhite); // COLOR_WINDOW
    EXPECT_EQ(At(25, 5), kBlack);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(PaintingTest, RedrawOffHoldsBackPaintingUntilItIsOnAgain) {
    HWND top = MakeTopLevel({0, 0, 20, 20});
    PumpUntilIdle();
    Framebuffer::Instance().Clear(kBlack);
    SendMessage(top, WM_SETREDRAW, FALSE, 0);
    InvalidateRect(top, nullptr, TRUE);
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    FillWindow(top, RGB(255, 0, 0));
    EXPECT_EQ(At(5, 5), kBlack);
    SendMessage(top, WM_SETREDRAW, TRUE, 0);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_EQ(msg.hwnd, top);
}

TEST_F(PaintingTest, HidingAChildRepaintsWhatItCoveredAndDrawsItsFrameWhenShown) {
    HWND top = MakeTopLevel({0, 0, 100, 100});
    HWND child = MakeChild(top, {10, 20, 30, 50}, 1, WS_VISIBLE | WS_BORDER);
    PumpUntilIdle();
    ShowWindow(child, SW_HIDE);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(top, &update, FALSE));
    EXPECT_EQ((std::vector<LONG>{update.left, update.top, update.right, update.bottom}),
              (std::vector<LONG>{10, 20, 30, 50}));
    PumpUntilIdle();

    // Showing draws the one-pixel frame at once; the client waits for WM_PAINT.
    Framebuffer::Instance().Clear(kRed);
    ShowWindow(child, SW_SHOW);
    EXPECT_EQ(At(10, 20), kBlack); // the frame, COLOR_WINDOWFRAME
    EXPECT_EQ(At(15, 35), kRed);
    PumpUntilIdle();
    EXPECT_EQ(At(15, 35), kWhite);
    EXPECT_EQ(At(10, 35), kBlack);
    EXPECT_EQ(At(29, 49), kBlack);
    EXPECT_EQ(At(28, 48), kWhite);
}

} // namespace
