// The whole launcher as the device runs it: the application object on a UI thread of its own,
// the start-up thread and the keypad scanner on the simulated keypad, in scaled device time.
// Only orders and device-time values are asserted.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/QCaldroApp.h"
#include "keypad/Keypad.h"
#include "launcher/tests/LauncherTestDevice.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelTime.h"
#include "platform/user/CWnd.h"
#include "platform/user/WinUser.h"
#include "res/resource.h"
#include "sim/keypad/KeypadMatrix.h"
#include "testsupport/LogEvents.h"

namespace {

constexpr double kSpeed = 10.0;
// Device time a test waits at most for what it expects.
constexpr DWORD kPatienceMs = 60000;

class LauncherApp : public ::testing::Test {
protected:
    void SetUp() override {
        DeviceClock::Instance().SetScaled(kSpeed);
        m_logSeq = EventLog::Instance().LastSeq();
        device.InstallProgram("Norvane\\Zentra\\Zentra.exe");
        device.WriteCard("Norvane\\Zentra\\Zentra.bin", LauncherTestDevice::Pattern(3000, 2));
        device.WriteCard("Norvane\\App\\NorvaneApp.ini", "[Zentra]\nPara=-go\n");
    }

    void TearDown() override {
        Close();
        ::unsetenv("ECHO_ARGS_WAIT_FOR");
        DeviceClock::Instance().SetManual();
    }

    // Runs the launcher on a UI thread of its own; with waitIdle, until its start-up is done.
    void Start(bool waitIdle = true) {
        ASSERT_EQ(AfxGetApp(), &theApp);
        m_ui = std::thread([this] {
            AfxWinMain();
            m_ended = true;
        });
        if (waitIdle) {
            ASSERT_TRUE(WaitFor([] { return State() == "idle"; }));
        }
    }

    // Closes the main frame; true when the launcher's loop ended.
    bool Close() {
        if (!m_ui.joinable())
            return true;
        PostMessage(FindWindow(nullptr, L"AppFrame"), WM_CLOSE, 0, 0);
        const bool ended = WaitFor([this] { return m_ended.load(); });
        if (ended)
            m_ui.join();
        else
            m_ui.detach();
        return ended;
    }

    static std::string State() { return LauncherTestDevice::Picture().Describe()["state"]; }

    static bool WaitFor(const std::function<bool()>& done) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > kPatienceMs)
                return false;
            Sleep(10);
        }
        return true;
    }

    // A key held until the scanner has posted it, however busy the host is; a key that the
    // scanner must not see is held for ten scans.
    void Press(int code, bool posted = true) {
        const std::uint64_t seq = LastSeq();
        ASSERT_TRUE(matrix.Press(code));
        if (posted) {
            EXPECT_TRUE(WaitFor([&] {
                for (const EventLog::Entry& e : EventLog::Instance().Since(seq))
                    if (e.kind == "keypad.posted" && e.fields["key"] == code)
                        return true;
                return false;
            }));
        } else {
            Sleep(300);
        }
        ASSERT_TRUE(matrix.Release(code));
        Sleep(100);
    }

    std::vector<EventLog::Entry> Events(const std::string& kind) const {
        return EventsOfKind(kind, m_logSeq);
    }

    // Keys the launcher's windows received since the given event, as "id:key".
    std::vector<std::string> DeliveredSince(std::uint64_t seq) const {
        std::vector<std::string> out;
        for (const EventLog::Entry& e : EventLog::Instance().Since(seq))
            if (e.kind == "keypad.delivered")
                out.push_back(std::to_string(e.fields["id"].get<int>()) + ":" +
                              std::to_string(e.fields["key"].get<int>()));
        return out;
    }

    static std::uint64_t LastSeq() { return EventLog::Instance().LastSeq(); }

    // A launch begun after the given event has ended: the launcher was launching and is idle.
    static bool LaunchEndedSince(std::uint64_t seq) {
        bool launching = false;
        std::string last;
        for (const EventLog::Entry& e : EventLog::Instance().Since(seq))
            if (e.kind == "launcher.state") {
                last = e.fields["state"];
                launching = launching || last == "launching";
            }
        return launching && last == "idle";
    }

    // The view's answer to WM_COPYDATA with the given code and no data.
    static LRESULT SendRequest(DWORD code) {
        HWND view = GetDlgItem(FindWindow(nullptr, L"AppFrame"), AFX_IDW_PANE_FIRST);
        COPYDATASTRUCT request{code, 0, nullptr};
        return SendMessage(view, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request));
    }

    LauncherTestDevice device;
    KeypadMatrix matrix;
    std::uint64_t m_logSeq = 0;

private:
    std::thread m_ui;
    std::atomic<bool> m_ended{false};
};

const std::string kList = std::to_string(IDC_APP_LIST);

// The list is filled after the slide-in's 16 frames, and keys reach the list, unused ones the
// view.
TEST_F(LauncherApp, StartsUpAndTakesKeys) {
    Start();
    const auto states = Events("launcher.state");
    ASSERT_GE(states.size(), 2u);
    EXPECT_EQ(states[0].fields["state"], "starting");
    const auto built = Events("catalogue.built");
    ASSERT_EQ(built.size(), 1u);
    EXPECT_EQ(built[0].fields["items"], 10);
    EXPECT_GE(built[0].timeMs - states[0].timeMs, 1600u);
    EXPECT_EQ(LauncherTestDevice::TheBoard().Image(), device.LauncherImage());

    const std::uint64_t seq = LastSeq();
    Press(KEY_RIGHT);
    Press(KEY_ABOUT);
    ASSERT_TRUE(WaitFor([&] { return DeliveredSince(seq).size() >= 3; }));
    const std::string view = std::to_string(AFX_IDW_PANE_FIRST);
    EXPECT_EQ(DeliveredSince(seq),
              (std::vector<std::string>{kList + ":7", kList + ":4", view + ":4"}));
    // The first arrow focuses the first program, and the status shows it.
    ASSERT_TRUE(
        WaitFor([] { return !LauncherTestDevice::Picture().Describe()["focus"].is_null(); }));
    EXPECT_EQ(LauncherTestDevice::Picture().Describe()["focus"], 0);
}

// While the program runs the launcher is blocked and its keypad silent; afterwards both are back.
TEST_F(LauncherApp, LaunchHoldsTheKeypadUntilTheProgramEnds) {
    const std::filesystem::path gate = device.StateDir() / "program-may-end";
    ::setenv("ECHO_ARGS_WAIT_FOR", gate.c_str(), 1);
    Start();
    Press(KEY_RIGHT);
    Press(KEY_ENTER);
    ASSERT_TRUE(
        WaitFor([] { return !LauncherTestDevice::Picture().Describe()["running"].is_null(); }));
    EXPECT_EQ(State(), "launching");
    EXPECT_EQ(LauncherTestDevice::Picture().Describe()["running"]["program"],
              "\\Storage Card\\Norvane\\Zentra\\Zentra.exe");

    std::uint64_t seq = LastSeq();
    Press(KEY_DOWN, false);
    EXPECT_TRUE(DeliveredSince(seq).empty());
    std::ofstream(gate).put('\n');
    ASSERT_TRUE(WaitFor([] { return State() == "idle"; }));
    EXPECT_EQ(device.ProgramArguments(), std::vector<std::string>{"-go"});
    EXPECT_EQ(LauncherTestDevice::TheBoard().Image(), device.LauncherImage());

    seq = LastSeq();
    Press(KEY_DOWN);
    ASSERT_TRUE(WaitFor([&] { return !DeliveredSince(seq).empty(); }));
    EXPECT_EQ(DeliveredSince(seq).front(), kList + ":8");
}

// HKLM\Keyboard "Sound" as the launcher reads it.
void SetKeyClick(DWORD on) {
    LauncherTestDevice::SetDword(L"Keyboard", L"Sound", on);
}

// The new key presses since the given event, each with whether it clicked. The last press is
// left out: its click may still be on its way.
std::vector<std::pair<int, bool>> ClicksSince(std::uint64_t seq) {
    std::vector<std::pair<int, bool>> presses;
    for (const EventLog::Entry& e : EventLog::Instance().Since(seq))
        if (e.kind == "keypad.posted" && e.fields["repeat"] == 1)
            presses.emplace_back(e.fields["key"].get<int>(), false);
        else if (e.kind == "sound.played" && e.fields["resource"] == 143 && !presses.empty())
            presses.back().second = true;
    if (!presses.empty())
        presses.pop_back();
    return presses;
}

// The key-click setting is read again when a launch ends, not before it: changed while idle it
// leaves the clicks as they were; changed while the program runs it holds from the launch's
// end.
TEST_F(LauncherApp, KeyClickSettingIsReadWhenALaunchEnds) {
    const std::filesystem::path gate = device.StateDir() / "program-may-end";
    ::setenv("ECHO_ARGS_WAIT_FOR", gate.c_str(), 1);
    SetKeyClick(1);
    Start();
    const std::uint64_t seq = LastSeq();
    SetKeyClick(0);
    Press(KEY_RIGHT);
    SetKeyClick(1);
    Press(KEY_ENTER);
    ASSERT_TRUE(
        WaitFor([] { return !LauncherTestDevice::Picture().Describe()["running"].is_null(); }));
    SetKeyClick(0);
    std::ofstream(gate).put('\n');
    ASSERT_TRUE(WaitFor([&] { return LaunchEndedSince(seq); }));
    Press(KEY_DOWN);
    SetKeyClick(1);
    Press(KEY_UP);
    Press(KEY_DOWN);

    EXPECT_EQ(ClicksSince(seq),
              (std::vector<std::pair<int, bool>>{
                  {KEY_RIGHT, true}, {KEY_ENTER, true}, {KEY_DOWN, false}, {KEY_UP, false}}));
}

enum class Before { CloseWithoutConnection, LaunchWithRefusedImage };

struct KeypadCase {
    const char* name;
    Before before;
};

void PrintTo(const KeypadCase& c, std::ostream* os) {
    *os << c.name;
}

class KeypadAfter : public LauncherApp, public ::testing::WithParamInterface<KeypadCase> {};

// After a close request with no connection open, and after a launch whose image the
// co-processor refuses, the scanner runs and its keys reach the list.
TEST_P(KeypadAfter, KeysReachTheList) {
    Start();
    const std::uint64_t seq = LastSeq();
    switch (GetParam().before) {
    case Before::CloseWithoutConnection:
        EXPECT_EQ(SendRequest(101), 0);
        EXPECT_EQ(Events("remote.request").back().fields["result"], "ignored");
        break;
    case Before::LaunchWithRefusedImage:
        device.Coproc("status.LOAD_HEADER=7");
        Press(KEY_RIGHT);
        Press(KEY_ENTER);
        ASSERT_TRUE(WaitFor([&] { return LaunchEndedSince(seq); }));
        bool failed = false;
        for (const EventLog::Entry& e : Events("progress.shown"))
            failed = failed || e.fields["text"] == "Load program failed";
        EXPECT_TRUE(failed);
        break;
    }

    const std::uint64_t keys = LastSeq();
    Press(KEY_DOWN);
    ASSERT_TRUE(WaitFor([&] { return !DeliveredSince(keys).empty(); }));
    EXPECT_EQ(DeliveredSince(keys).front(), kList + ":" + std::to_string(KEY_DOWN));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, KeypadAfter,
    ::testing::Values(KeypadCase{"CloseWithoutConnection", Before::CloseWithoutConnection},
                      KeypadCase{"LaunchWithRefusedImage", Before::LaunchWithRefusedImage}),
    [](const auto& info) { return std::string(info.param.name); });

// A remote connection silences the keypad until it is closed; a launcher closed while one is
// open still ends, its scanner stopped although suspended.
TEST_F(LauncherApp, RemoteConnectionHoldsTheKeypad) {
    Start();
    HWND view = GetDlgItem(FindWindow(nullptr, L"AppFrame"), AFX_IDW_PANE_FIRST);
    ASSERT_NE(view, nullptr);
    const char16_t name[] = u"Zentra";
    COPYDATASTRUCT request;
    request.dwData = 100;
    request.cbData = sizeof name;
    request.lpData = const_cast<char16_t*>(name);
    EXPECT_EQ(SendMessage(view, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request)), 0);
    EXPECT_EQ(State(), "remote");
    EXPECT_EQ(LauncherTestDevice::TheBoard().Image(), LauncherTestDevice::Pattern(3000, 2));

    std::uint64_t seq = LastSeq();
    Press(KEY_RIGHT, false);
    EXPECT_TRUE(DeliveredSince(seq).empty());

    request.dwData = 101;
    EXPECT_EQ(SendMessage(view, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request)), 0);
    EXPECT_EQ(State(), "idle");
    seq = LastSeq();
    Press(KEY_RIGHT);
    ASSERT_TRUE(WaitFor([&] { return !DeliveredSince(seq).empty(); }));

    request.dwData = 100;
    SendMessage(view, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request));
    EXPECT_TRUE(Close());
    EXPECT_EQ(State(), "closed");
}

// A launcher closed while its start-up thread still works waits for that thread before the
// view's members go: the thread finds the list gone and ends, then the view closes.
TEST_F(LauncherApp, ClosedDuringStartup) {
    device.Coproc("boot_late_ms=1500");
    Start(false);
    ASSERT_TRUE(WaitFor([&] { return !Events("launcher.state").empty(); }));
    EXPECT_TRUE(Close());
    EXPECT_EQ(State(), "closed");
    std::vector<std::string> order;
    for (const EventLog::Entry& e : EventLog::Instance().Since(m_logSeq))
        if (e.kind == "catalogue.built")
            order.push_back("built");
        else if (e.kind == "launcher.state")
            order.push_back(e.fields["state"]);
    EXPECT_EQ(order, (std::vector<std::string>{"starting", "built", "idle", "closed"}));
}

// With no co-processor the launcher still comes up: the caption says so and the list is empty.
TEST_F(LauncherApp, StartsWithoutCoprocessor) {
    device.Coproc("unplugged=1");
    Start();
    const auto status = LauncherTestDevice::Picture().Describe();
    EXPECT_EQ(status["caption"], "Disconnected");
    EXPECT_TRUE(status["items"].empty());
    const std::uint64_t seq = LastSeq();
    Press(KEY_ABOUT);
    ASSERT_TRUE(WaitFor([&] { return DeliveredSince(seq).size() >= 2; }));
}

} // namespace
