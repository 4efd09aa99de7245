// What the launcher view puts on the screen and does with its timer: the slide-in frame by
// frame, the progress popup drawn over the program list, the background painted from bitmap 130
// over what the popup left, and the battery read only on the view's own timer.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/tests/LauncherViewTest.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/Framebuffer.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/KernelTime.h"
#include "platform/kernel/ThreadControl.h"
#include "res/resource.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlue = 0x0000FF; // the framebuffer holds 0x00RRGGBB

std::uint32_t Screen(int x, int y) {
    return Framebuffer::Instance().Pixel(x, y);
}

// A colour as the framebuffer holds it.
std::uint32_t ToPixel(COLORREF c) {
    return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
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
        for (int x = 0; x < Framebuffer::kWidth; ++x)
            pixels.push_back(ToPixel(memory.GetPixel(x, y)));
    memory.SelectObject(old);
    ReleaseDC(nullptr, screen.Detach());
    return pixels;
}

// The screen after each drawing of the test thread while run() runs, with the device time of
// the drawing. The screen's lock is held but while one drawing may pass; the thread is then
// parked at its next platform call until its picture is taken.
struct Shot {
    std::uint64_t us;
    std::vector<std::uint32_t> pixels;
};

std::vector<Shot> ScreensWhile(const std::function<void()>& run) {
    const std::shared_ptr<ThreadControl> drawer = ThreadControl::CurrentShared();
    Framebuffer& fb = Framebuffer::Instance();
    std::vector<Shot> shots;
    std::atomic<bool> done{false};
    std::atomic<bool> finished{false};
    std::promise<void> holding;
    std::thread stepper([&] {
        std::uint64_t seen = fb.ChangeCount();
        std::unique_lock screen(fb.Mutex());
        holding.set_value();
        while (!done) {
            // The suspension is raised before the screen is let go: the drawer finishes at most
            // the one drawing it waits for, then parks at its next platform call.
            std::thread suspender([&] { drawer->Suspend(); });
            while (drawer->SuspendCount() == 0)
                std::this_thread::yield();
            screen.unlock();
            suspender.join();
            Framebuffer::Snapshot now = fb.Take();
            if (now.changeCount != seen) {
                shots.push_back({DeviceClock::Instance().NowUs(), std::move(now.pixels)});
                seen = now.changeCount;
            }
            screen.lock();
            drawer->Resume();
        }
        screen.unlock();
        finished = true;
    });
    holding.get_future().wait();
    run();
    done = true;
    // Platform calls, at which the stepper's last suspension finds the thread.
    while (!finished)
        GetTickCount();
    stepper.join();
    return shots;
}

// Holds the start-up thread when it first pulls the co-processor's reset line low, until
// Open, so that it neither moves the manual clock nor draws.
class ResetGate : public BoardObserver {
public:
    ResetGate() { LauncherTestDevice::TheBoard().AddObserver(this); }
    ~ResetGate() override {
        Open();
        LauncherTestDevice::TheBoard().RemoveObserver(this);
    }
    void OnLine(int gpio, bool level, std::uint64_t) override {
        if (gpio != CoprocModel::kResetLine || level)
            return;
        std::unique_lock lock(m_mutex);
        m_cv.wait(lock, [this] { return m_open; });
    }
    void Open() {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_cv.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_open = false;
};

// The slide-in: a black screen, then bitmap 130 drawn at rows 300, 280, ..., 0, one frame every
// 100 ms of device time, the screen above the picture still black.
TEST_F(LauncherViewTest, SlideInRaisesTheBackgroundOverBlack) {
    // Running from an earlier boot, so that the start-up's reset is a change of the line.
    device.BootLauncherImage();
    const std::vector<std::uint32_t> background = Background();
    ResetGate gate;

    const std::vector<Shot> shots = ScreensWhile([&] { view->BeginStartup(); });

    ASSERT_EQ(shots.size(), 17u);
    const std::vector<std::uint32_t> black(background.size(), kBlack);
    EXPECT_EQ(shots[0].pixels, black);
    for (std::size_t frame = 0; frame < 16; ++frame) {
        SCOPED_TRACE(frame);
        const Shot& shot = shots[frame + 1];
        EXPECT_EQ(shot.us - shots[0].us, 100000u * frame);
        const int top = 300 - 20 * int(frame);
        int differing = 0;
        for (int y = 0; y < Framebuffer::kHeight; ++y)
            for (int x = 0; x < Framebuffer::kWidth; ++x) {
                const std::uint32_t expected =
                    y < top ? kBlack : background[std::size_t((y - top) * Framebuffer::kWidth + x)];
                differing += shot.pixels[std::size_t(y * Framebuffer::kWidth + x)] != expected;
            }
        EXPECT_EQ(differing, 0);
    }
}

// The popup's frame is its client rectangle, inside its border: (21,141)-(219,179) on screen;
// its text is one line centred in that rectangle shrunk by 2 pixels, (23,143)-(217,177), in blue
// on white, a text too wide for it cut at its sides rather than wrapped.
TEST_F(LauncherViewTest, ProgressPopupFramesACentredLine) {
    const RECT client{21, 141, 219, 179};
    const RECT area{23, 143, 217, 177};
    for (const wchar_t* text : {L"Connecting ..", L"MMMMMMMMMM MMMMMMMMMM MMMMMMMMMM MMMMMMMMMM"}) {
        SCOPED_TRACE(CString(text).ToUtf8());
        // The text where centring puts it, drawn on white off the screen.
        CDC screen;
        screen.Attach(GetDC(nullptr));
        CDC memory;
        memory.CreateCompatibleDC(&screen);
        CBitmap canvas;
        canvas.CreateCompatibleBitmap(&screen, Framebuffer::kWidth, Framebuffer::kHeight);
        CBitmap* old = memory.SelectObject(&canvas);
        memory.FillSolidRect(0, 0, Framebuffer::kWidth, Framebuffer::kHeight, 0x00FFFFFF);
        memory.SetTextColor(0x00FF0000);
        const CSize extent = memory.GetTextExtent(text);
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        memory.TextOut(area.left + (width - extent.cx) / 2, area.top + (height - extent.cy) / 2,
                       text);

        view->ShowProgress(text, 0);

        int differing = 0;
        for (int y = client.top; y < client.bottom; ++y)
            for (int x = client.left; x < client.right; ++x) {
                const bool frame = x == client.left || x == client.right - 1 || y == client.top ||
                                   y == client.bottom - 1;
                const bool inArea =
                    x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                const std::uint32_t expected = frame    ? kBlack
                                               : inArea ? ToPixel(memory.GetPixel(x, y))
                                                        : kWhite;
                differing += Screen(x, y) != expected;
            }
        EXPECT_EQ(differing, 0);
        memory.SelectObject(old);
        ReleaseDC(nullptr, screen.Detach());
    }
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
