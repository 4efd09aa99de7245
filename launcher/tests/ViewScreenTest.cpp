// What the launcher view puts on the screen and does with its timer: the progress popup drawn
// over the program list, the background painted from bitmap 130 over what the popup left, and
// the battery read only on the view's own timer.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/tests/LauncherViewTest.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/Framebuffer.h"
#include "res/resource.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlue = 0x0000FF; // the framebuffer holds 0x00RRGGBB

std::uint32_t Screen(int x, int y) {
    return Framebuffer::Instance().Pixel(x, y);
}

// The background picture's pixels as the screen shows them.
std::vector<std::uint32_t> Background() {
    CDC screen;
    screen.Attach(GetDC(nullptr));
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap picture;
    EXPECT_TRUE(picture.LoadBitmap(IDB_BACKGROUND));
    CBitmap* old = memory.SelectObject(&picture);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < Framebuffer::kHeight; ++y)
        for (int x = 0; x < Framebuffer::kWidth; ++x) {
            const COLORREF c = memory.GetPixel(x, y);
            pixels.push_back(std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 |
                             GetBValue(c));
        }
    memory.SelectObject(old);
    ReleaseDC(nullptr, screen.Detach());
    return pixels;
}

// The popup stands over the program list at 20,140-220,180: a border, a black frame inside it,
// white within, the text in blue; it is gone when ShowProgress returns, its picture is not.
TEST_F(LauncherViewTest, ProgressPopupDrawsOverTheList) {
    RECT list;
    GetWindowRect(List(), &list);
    ASSERT_LT(list.top, 140); // the popup's place lies on the list
    ASSERT_GT(list.bottom, 180);

    view->ShowProgress(L"Connecting ..", 0);

    EXPECT_EQ(Screen(21, 141), kBlack);
    EXPECT_EQ(Screen(218, 178), kBlack);
    EXPECT_EQ(Screen(22, 142), kWhite);
    EXPECT_EQ(Screen(217, 177), kWhite);
    int blue = 0;
    for (int y = 143; y < 177; ++y)
        for (int x = 23; x < 217; ++x)
            blue += Screen(x, y) == kBlue ? 1 : 0;
    EXPECT_GT(blue, 20);
    // Text is centred: no blue near the ends.
    for (int y = 143; y < 177; ++y) {
        EXPECT_NE(Screen(30, y), kBlue);
        EXPECT_NE(Screen(209, y), kBlue);
    }
    EXPECT_EQ(GetDlgItem(view->GetSafeHwnd(), 0xFFFF), nullptr);
    const auto created = Events("window.created");
    ASSERT_FALSE(created.empty());
    EXPECT_EQ(created.back().fields["id"], 0xFFFF);
    EXPECT_EQ(created.back().fields["text"], "Connecting ..");
    EXPECT_EQ(LauncherTestDevice::Picture().Describe()["progress"], "Connecting ..");

    // What the popup left goes at the next paints: the list's grey where the list lies, and
    // the status forgets the text.
    view->UpdateWindow();
    PumpFor(100);
    EXPECT_EQ(Screen(100, 160), 0x989898u);
    EXPECT_EQ(Screen(21, 141), 0x989898u);
    EXPECT_TRUE(LauncherTestDevice::Picture().Describe()["progress"].is_null());
}

// Every paint of the view draws bitmap 130, whatever was on the screen before.
TEST_F(LauncherViewTest, PaintDrawsTheBackground) {
    RECT list;
    GetWindowRect(List(), &list);
    const RECT left{0, 0, list.left, 320};
    HDC screen = GetDC(nullptr);
    CDC::FromHandle(screen)->FillSolidRect(&left, 0x00FF00FF);
    ReleaseDC(nullptr, screen);
    view->InvalidateRect(nullptr, TRUE);
    view->UpdateWindow();
    const std::vector<std::uint32_t> background = Background();
    int differing = 0;
    for (int y = 0; y < 290; ++y)
        for (int x = 0; x < list.left; ++x)
            differing += Screen(x, y) != background[std::size_t(y * Framebuffer::kWidth + x)];
    EXPECT_EQ(differing, 0);
}

// Only the view's timer 100 reads the battery.
TEST_F(LauncherViewTest, OnlyTimer100ReadsTheBattery) {
    device.BootLauncherImage();
    recorder.exchanges.clear();
    view->SendMessage(WM_TIMER, 7);
    EXPECT_EQ(Exchanges("GET_BATTERY"), 0);
    view->SendMessage(WM_TIMER, QCaldroAppView::kBatteryTimerId);
    EXPECT_EQ(Exchanges("GET_BATTERY"), 1);
}

} // namespace
