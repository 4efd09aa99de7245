// Messages between threads, in scaled device time: a sent message waits for its owner to pump,
// the waiting sender serves messages sent to it, an ended thread answers nothing, and a window
// of another thread can be hidden.
#include "WindowFixture.h"

#include <future>
#include <mutex>
#include <string>
#include <thread>

#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/KernelTime.h"

namespace {

constexpr UINT kAsk = WM_USER + 1;
constexpr UINT kCallBack = WM_USER + 2;

std::mutex g_eventsLock;
std::vector<std::string> g_events;
DWORD g_callBackThread = 0;
HWND g_caller = nullptr;

void Note(std::string event) {
    std::lock_guard lock(g_eventsLock);
    g_events.push_back(std::move(event));
}

std::vector<std::string> Events() {
    std::lock_guard lock(g_eventsLock);
    return g_events;
}

LRESULT CallerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCallBack) {
        g_callBackThread = GetCurrentThreadId();
        Note("caller handles the call-back");
        return 5;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kAsk) {
        Note("owner handles the question");
        // Sending back to the caller, which waits in its own SendMessage.
        const LRESULT answer = SendMessage(g_caller, kCallBack, 0, 0);
        return 40 + answer * LRESULT(wParam);
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

LPCTSTR RegisterOnce(LPCTSTR name, WNDPROC proc) {
    WNDCLASS wc;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClass(&wc); // a second registration fails harmlessly
    return name;
}

class CrossThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeviceClock::Instance().SetScaled(50.0);
        std::lock_guard lock(g_eventsLock);
        g_events.clear();
    }
    void TearDown() override { DeviceClock::Instance().SetScaled(1.0); }
};

TEST_F(CrossThreadTest, ASentMessageWaitsForTheOwnerToPumpWhileTheSenderServesCallBacks) {
    g_caller = CreateWindowEx(0, RegisterOnce(L"Caller", CallerProc), L"", 0, 0, 0, 1, 1, nullptr,
                              nullptr, nullptr, nullptr);
    std::promise<std::pair<HWND, DWORD>> ready;
    std::thread owner([&] {
        HWND w = CreateWindowEx(0, RegisterOnce(L"Owner", OwnerProc), L"", 0, 0, 0, 1, 1, nullptr,
                                nullptr, nullptr, nullptr);
        ready.set_value({w, GetCurrentThreadId()});
        Sleep(200); // device time, not a message wait: the sent message waits
        Note("owner pumps");
        MSG msg;
        while (GetMessage(&msg, nullptr, 0, 0))
            DispatchMessage(&msg);
    });
    const auto [ownerWindow, ownerThread] = ready.get_future().get();

    const LRESULT answer = SendMessage(ownerWindow, kAsk, 2, 0);
    Note("question answered");

    EXPECT_EQ(answer, 50);
    EXPECT_EQ(Events(),
              (std::vector<std::string>{"owner pumps", "owner handles the question",
                                        "caller handles the call-back", "question answered"}));
    EXPECT_EQ(g_callBackThread, GetCurrentThreadId());
    PostThreadMessage(ownerThread, WM_QUIT, 0, 0);
    owner.join();
    DestroyWindow(g_caller);
}

TEST_F(CrossThreadTest, AWindowWhoseThreadEndedAnswersZero) {
    // Already ended: the thread's windows went with it.
    std::promise<std::pair<HWND, DWORD>> made;
    std::thread([&] {
        HWND w = CreateWindowEx(0, RegisterOnce(L"Owner", OwnerProc), L"", 0, 0, 0, 1, 1, nullptr,
                                nullptr, nullptr, nullptr);
        made.set_value({w, GetCurrentThreadId()});
    }).join();
    const auto [gone, goneThread] = made.get_future().get();
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_EQ(SendMessage(gone, kAsk, 1, 0), 0);
    EXPECT_FALSE(PostThreadMessage(goneThread, WM_USER, 0, 0));

    // Ending while the sender waits: the sender is released with 0, the message never runs.
    std::promise<HWND> ready;
    std::thread ending([&] {
        HWND w = CreateWindowEx(0, RegisterOnce(L"Owner", OwnerProc), L"", 0, 0, 0, 1, 1, nullptr,
                                nullptr, nullptr, nullptr);
        ready.set_value(w);
        Sleep(100);
    });
    HWND doomed = ready.get_future().get();
    EXPECT_EQ(SendMessage(doomed, kAsk, 1, 0), 0);
    ending.join();
    EXPECT_TRUE(Events().empty());
}

TEST_F(CrossThreadTest, TimersInScaledTimeNeverFireEarly) {
    DeviceClock::Instance().SetScaled(5.0);
    HWND w =
        CreateWindowEx(0, ProbeClass(), L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const std::uint64_t start = DeviceClock::Instance().NowMs();
    SetTimer(w, 1, 30, nullptr);
    SetTimer(w, 2, 70, nullptr);
    std::vector<std::pair<WPARAM, std::uint64_t>> ticks;
    MSG msg;
    while (ticks.size() < 4 && GetMessage(&msg, nullptr, 0, 0))
        if (msg.message == WM_TIMER)
            ticks.emplace_back(msg.wParam, DeviceClock::Instance().NowMs() - start);
    DestroyWindow(w);
    ASSERT_EQ(ticks.size(), 4u);
    // The earlier deadline goes first. How late each tick comes, and so how the two timers
    // interleave later, depends on the host in scaled time; that none comes early does not.
    EXPECT_EQ(ticks[0].first, 1u);
    int seen[3] = {};
    for (const auto& [id, at] : ticks) {
        ASSERT_TRUE(id == 1 || id == 2) << id;
        ++seen[id];
        EXPECT_GE(at, std::uint64_t(id == 1 ? 30 : 70) * std::uint64_t(seen[id])) << "timer " << id;
    }
}

} // namespace

// The keypad scanner hides the system's USB notice, a window of another thread, from its own
// thread: the window is hidden at once, whatever its thread is doing (here it waits for
// messages), neither thread's focus or active window moves, and the window beneath gets the part
// it uncovered to paint. A handle whose window has gone since it was found is refused.
TEST_F(CrossThreadTest, AWindowOfAnotherThreadIsHiddenAtOnceAndUncoversTheOneBeneath) {
    HWND below = CreateWindowEx(0, RegisterOnce(L"Caller", CallerProc), L"", WS_POPUP | WS_VISIBLE,
                                0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(below, nullptr);
    const HWND focus = GetFocus();
    const HWND active = GetActiveWindow();
    std::promise<std::pair<HWND, DWORD>> made;
    std::promise<HWND> systemActive;
    std::thread system([&] {
        HWND w = CreateWindowEx(WS_EX_TOPMOST, L"Dialog", L"Connected to USB", WS_POPUP | WS_BORDER,
                                30, 135, 180, 50, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(w, SW_SHOW);
        made.set_value({w, GetCurrentThreadId()});
        MSG msg;
        while (GetMessage(&msg, nullptr, 0, 0))
            DispatchMessage(&msg);
        systemActive.set_value(GetActiveWindow());
    });
    const auto [notice, systemThread] = made.get_future().get();
    ValidateRect(below, nullptr);

    ASSERT_EQ(FindWindow(L"Dialog", L"Connected to USB"), notice);
    EXPECT_TRUE(IsWindowVisible(notice));
    EXPECT_TRUE(ShowWindow(notice, SW_HIDE)) << "it was visible";
    EXPECT_FALSE(IsWindowVisible(notice));
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(below, &update, FALSE));
    EXPECT_EQ(std::vector<LONG>({update.left, update.top, update.right, update.bottom}),
              std::vector<LONG>({30, 135, 210, 185}));
    EXPECT_EQ(GetFocus(), focus);
    EXPECT_EQ(GetActiveWindow(), active);
    EXPECT_FALSE(ShowWindow(notice, SW_HIDE)) << "hidden already";

    PostThreadMessage(systemThread, WM_QUIT, 0, 0);
    EXPECT_EQ(systemActive.get_future().get(), notice) << "still its thread's active window";
    system.join();
    EXPECT_FALSE(IsWindow(notice));
    EXPECT_FALSE(ShowWindow(notice, SW_HIDE));
    DestroyWindow(below);
}
