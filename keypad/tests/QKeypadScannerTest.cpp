// The keypad scanner on the simulated keypad matrix: its scan order, the repeat timing in device
// time, the click, the notice it hides, its pins, and keys across a suspension.
#include "keypad/QKeypadScanner.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/KeySound.h"
#include "keypad/Keypad.h"
#include "platform/bsp/VirtualPinBackend.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/KernelTime.h"
#include "platform/kernel/Registry.h"
#include "platform/user/CWinApp.h"
#include "res/NorvaneAppResources.h"
#include "sim/keypad/KeypadMatrix.h"
#include "testsupport/ClockModeGuard.h"
#include "testsupport/ThreadTestSupport.h"

namespace {

// The keys are posted to the test's own thread, as the UI thread.
CWinApp& App() {
    static CWinApp app;
    return app;
}

// The keypad matrix with key changes scheduled in device time. Each pin read first applies the
// changes that are due and, once the script's end is reached, asks the scanner to stop: so the
// scanner's own Run is driven on the test thread in manual time. It also records how the pins
// are set up and released.
class ScriptedKeypad : public VirtualPinBackend {
public:
    struct Change {
        std::uint64_t atMs; // from the script's start
        int code;
        bool down;
        std::function<void()> then = {}; // runs when the change is applied
    };

    ScriptedKeypad() { VirtualPinBackend::Install(this); }
    ~ScriptedKeypad() override { VirtualPinBackend::Uninstall(this); }

    void Script(std::vector<Change> changes, std::uint64_t endMs, CEvent* stop) {
        m_startMs = DeviceClock::Instance().NowMs();
        m_changes = std::move(changes);
        m_next = 0;
        m_endMs = endMs;
        m_stop = stop;
    }
    std::uint64_t StartMs() const { return m_startMs; }

    KeypadMatrix matrix;               // installs itself first; this board is installed over it
    std::vector<std::string> setup;    // "clone NAME", "NAME input", "NAME output"
    std::vector<std::string> released; // pin names, in order

    DWORD OpenPin(const std::wstring& name, DWORD* handle) override {
        const DWORD result = matrix.OpenPin(name, handle);
        if (result == 0)
            m_names[*handle] = Narrow(name);
        return result;
    }
    DWORD ClonePin(const std::wstring& source, const std::wstring& newName, DWORD flags) override {
        setup.push_back("clone " + Narrow(newName));
        return matrix.ClonePin(source, newName, flags);
    }
    DWORD ApplyContract(DWORD handle) override { return matrix.ApplyContract(handle); }
    DWORD SetDirection(DWORD handle, DWORD direction) override {
        setup.push_back(m_names[handle] + (direction ? " output" : " input"));
        return matrix.SetDirection(handle, direction);
    }
    DWORD GetState(DWORD handle, DWORD* state) override {
        CatchUp();
        return matrix.GetState(handle, state);
    }
    DWORD SetActive(DWORD handle, bool active) override { return matrix.SetActive(handle, active); }
    DWORD ReleaseHandle(DWORD handle) override {
        released.push_back(m_names[handle]);
        return matrix.ReleaseHandle(handle);
    }

private:
    static std::string Narrow(const std::wstring& text) {
        return std::string(text.begin(), text.end());
    }

    void CatchUp() {
        const std::uint64_t elapsed = DeviceClock::Instance().NowMs() - m_startMs;
        while (m_next < m_changes.size() && m_changes[m_next].atMs <= elapsed) {
            const Change& change = m_changes[m_next++];
            if (change.down)
                matrix.Press(change.code);
            else
                matrix.Release(change.code);
            if (change.then)
                change.then();
        }
        if (m_stop && elapsed >= m_endMs)
            m_stop->SetEvent();
    }

    std::map<DWORD, std::string> m_names;
    std::vector<Change> m_changes;
    std::size_t m_next = 0;
    std::uint64_t m_startMs = 0;
    std::uint64_t m_endMs = 0;
    CEvent* m_stop = nullptr;
};

class TestScanner : public QKeypadScanner {
public:
    using QKeypadScanner::Run;
    CEvent& StopEvent() { return *m_pStopEvent; }
};

struct Posted {
    std::uint64_t atMs; // from the script's start
    int key;
    int repeat;
    bool operator==(const Posted&) const = default;
};
void PrintTo(const Posted& p, std::ostream* os) {
    *os << "{" << p.atMs << " ms, key " << p.key << ", repeat " << p.repeat << "}";
}

std::vector<Posted> PostedSince(std::uint64_t startMs) {
    std::vector<Posted> out;
    for (const EventLog::Entry& e : EventLog::Instance().Since())
        if (e.kind == "keypad.posted")
            out.push_back(
                {e.timeMs - startMs, e.fields["key"].get<int>(), e.fields["repeat"].get<int>()});
    return out;
}

int Clicks() {
    int clicks = 0;
    for (const EventLog::Entry& e : EventLog::Instance().Since())
        if (e.kind == "sound.played" && e.fields["resource"] == 143)
            ++clicks;
    return clicks;
}

// The WM_KEYPAD thread messages waiting in the test thread's queue, as {key, repeat}.
std::vector<std::pair<int, int>> TakeKeypadMessages() {
    std::vector<std::pair<int, int>> keys;
    MSG msg;
    while (PeekMessage(&msg, nullptr, WM_KEYPAD, WM_KEYPAD, PM_REMOVE))
        if (msg.hwnd == nullptr)
            keys.emplace_back(int(msg.wParam), int(msg.lParam));
    return keys;
}

void SetKeySound(DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"Keyboard", 0, nullptr, 0,
                                            KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueEx(key, L"Sound", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

class KeypadScannerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(RegisterNorvaneAppResources(), nullptr);
        App().m_nThreadID = GetCurrentThreadId();
        TakeKeypadMessages(); // makes the queue, and empties it
        SetKeySound(1);
        EventLog::Instance().Clear();
        ClockModeGuard::Clock().SetManual();
    }
    void TearDown() override {
        SetKeySound(1);
        ReadKeySoundSetting();
    }

    // Runs the scanner's loop on this thread until the script ends; returns what it posted.
    static std::vector<Posted> RunScript(ScriptedKeypad& keypad, TestScanner& scanner,
                                         std::vector<ScriptedKeypad::Change> changes,
                                         std::uint64_t endMs) {
        scanner.StopEvent().ResetEvent();
        keypad.Script(std::move(changes), endMs, &scanner.StopEvent());
        EXPECT_EQ(0u, scanner.Run());
        std::vector<Posted> posted = PostedSince(keypad.StartMs());
        std::vector<std::pair<int, int>> expected;
        for (const Posted& p : posted)
            expected.emplace_back(p.key, p.repeat);
        EXPECT_EQ(expected, TakeKeypadMessages()) << "each event is posted to the UI thread";
        return posted;
    }

    ClockModeGuard m_clock;
};

struct TimingCase {
    const char* what;
    std::vector<ScriptedKeypad::Change> changes;
    std::uint64_t endMs;
    std::vector<Posted> posted;
    int clicks;
};

// Scans run every 30 ms from the script's start, so a key pressed at 100 ms is seen at 120 ms.
TEST_F(KeypadScannerTest, PressesAndHeldKeysInDeviceTime) {
    const TimingCase cases[] = {
        {"short press", {{100, KEY_UP, true}, {200, KEY_UP, false}}, 400, {{120, KEY_UP, 1}}, 1},
        {"held key: 18 silent polls, then one repeat per poll",
         {{100, KEY_DOWN, true}, {800, KEY_DOWN, false}},
         900,
         {{120, KEY_DOWN, 1},
          {690, KEY_DOWN, 2},
          {720, KEY_DOWN, 3},
          {750, KEY_DOWN, 4},
          {780, KEY_DOWN, 5}},
         1},
        {"release and press again",
         {{100, KEY_DOWN, true},
          {200, KEY_DOWN, false},
          {300, KEY_DOWN, true},
          {400, KEY_DOWN, false}},
         500,
         {{120, KEY_DOWN, 1}, {300, KEY_DOWN, 1}},
         2},
        {"up and enter together",
         {{100, KEY_ENTER, true},
          {100, KEY_UP, true},
          {200, KEY_UP, false},
          {200, KEY_ENTER, false}},
         300,
         {{120, KEY_UP, 1}},
         1},
        {"straight from one key to another",
         {{100, KEY_UP, true},
          {200, KEY_UP, false},
          {200, KEY_RIGHT, true},
          {300, KEY_RIGHT, false}},
         400,
         {{120, KEY_UP, 1}, {210, KEY_RIGHT, 1}},
         2},
        {"no key down", {}, 900, {}, 0},
    };
    for (const TimingCase& c : cases) {
        SCOPED_TRACE(c.what);
        EventLog::Instance().Clear();
        ScriptedKeypad keypad;
        TestScanner scanner;
        EXPECT_EQ(c.posted, RunScript(keypad, scanner, c.changes, c.endMs));
        EXPECT_EQ(c.clicks, Clicks());
    }
}

TEST_F(KeypadScannerTest, SeveralKeysResolveInScanOrder) {
    struct ScanCase {
        std::vector<int> down;
        int code;
    };
    std::vector<ScanCase> cases;
    for (int code = 0; code < KeypadMatrix::kKeyCount; ++code)
        cases.push_back({{code}, code});
    const std::vector<int> order = {10, 0, 1, 2, 3, 4, 9, 5, 6, 8, 7, 11};
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        cases.push_back({std::vector<int>(order.begin() + long(i), order.end()), order[i]});
    cases.push_back({{KEY_RIGHT, KEY_DOWN}, KEY_DOWN});
    cases.push_back({{KEY_ENTER, KEY_RIGHT}, KEY_RIGHT});
    cases.push_back({{}, KEY_NONE});

    KeypadMatrix matrix;
    TestScanner scanner;
    for (const ScanCase& c : cases) {
        SCOPED_TRACE("expecting " + std::to_string(c.code));
        matrix.ReleaseAll();
        for (int code : c.down)
            matrix.Press(code);
        EXPECT_EQ(c.code, scanner.ScanKeys());
    }
}

TEST_F(KeypadScannerTest, NoClickWhenTheKeySoundIsOff) {
    SetKeySound(0);
    ScriptedKeypad keypad;
    TestScanner scanner; // reads the setting now
    SetKeySound(1);      // too late for this scanner
    EXPECT_EQ((std::vector<Posted>{{120, KEY_ENTER, 1}}),
              RunScript(keypad, scanner, {{100, KEY_ENTER, true}, {200, KEY_ENTER, false}}, 300));
    EXPECT_EQ(0, Clicks());
}

TEST_F(KeypadScannerTest, EveryKeyEventHidesTheUsbNotice) {
    HWND notice = CreateWindowEx(0, L"Dialog", L"Connected to USB", WS_POPUP | WS_VISIBLE, 0, 0,
                                 100, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, notice);
    ScriptedKeypad keypad;
    TestScanner scanner;
    RunScript(keypad, scanner, {}, 300);
    EXPECT_TRUE(IsWindowVisible(notice)) << "no key, no change";

    // Shown again while the key is held: the repeats hide it too.
    const auto showAgain = [&] { ShowWindow(notice, SW_SHOW); };
    const std::vector<Posted> posted = RunScript(
        keypad, scanner,
        {{100, KEY_DOWN, true}, {400, KEY_DOWN, true, showAgain}, {700, KEY_DOWN, false}}, 800);
    ASSERT_EQ(2u, posted.size());
    EXPECT_EQ(2, posted[1].repeat);
    EXPECT_FALSE(IsWindowVisible(notice));
    DestroyWindow(notice);
}

TEST_F(KeypadScannerTest, PinsAreSetUpOnceAndReleasedInOrder) {
    ScriptedKeypad keypad;
    const std::vector<std::string> firstSetup = {
        "Keypad.Key0 input",    "Keypad.Key1 input",    "Keypad.Key2 input",
        "Keypad.Key3 input",    "Keypad.Key4 input",    "Keypad.Key5 input",
        "Keypad.Key6 input",    "clone MyVirtualPinK7", "MyVirtualPinK7 output",
        "clone MyVirtualPinK8", "MyVirtualPinK8 output"};
    { TestScanner scanner; }
    EXPECT_EQ(firstSetup, keypad.setup);
    EXPECT_EQ((std::vector<std::string>{"Keypad.Key1", "Keypad.Key2", "Keypad.Key3", "Keypad.Key4",
                                        "Keypad.Key5", "Keypad.Key6", "MyVirtualPinK7",
                                        "MyVirtualPinK8", "Keypad.Key0"}),
              keypad.released);

    // A later scanner takes the output pins over without cloning them again.
    keypad.setup.clear();
    {
        TestScanner scanner;
        keypad.matrix.Press(KEY_LEFT);
        EXPECT_EQ(KEY_LEFT, scanner.ScanKeys());
    }
    EXPECT_EQ(std::vector<std::string>(firstSetup.begin(), firstSetup.begin() + 7),
              std::vector<std::string>(keypad.setup.begin(), keypad.setup.begin() + 7));
    EXPECT_EQ((std::vector<std::string>{"MyVirtualPinK7 output", "MyVirtualPinK8 output"}),
              std::vector<std::string>(keypad.setup.begin() + 7, keypad.setup.end()));
}

TEST_F(KeypadScannerTest, WithoutPinsNothingIsDown) {
    TestScanner scanner; // no board installed
    EXPECT_EQ(KEY_NONE, scanner.ScanKeys());
    EXPECT_EQ(KEY_NONE, scanner.ScanKeys());
}

// The scanner on its own thread, in scaled time: only the order and values of what it posts
// are asserted.
class KeypadScannerThreadTest : public KeypadScannerTest {
protected:
    void SetUp() override {
        KeypadScannerTest::SetUp();
        ClockModeGuard::Clock().SetScaled(5.0);
    }
    static std::vector<int> Repeats() {
        std::vector<int> repeats;
        for (const Posted& p : PostedSince(0))
            repeats.push_back(p.repeat);
        return repeats;
    }
    // Waits until count events were posted, however slowly the host runs the scanner.
    static bool WaitForPosts(std::size_t count) {
        return Eventually([&] { return PostedSince(0).size() >= count; });
    }
};

// The keypad matrix counting the scanner's pin reads: a check that nothing was posted first
// waits until the scanner has scanned the keypad.
class CountingMatrix : public KeypadMatrix {
public:
    DWORD GetState(DWORD handle, DWORD* state) override {
        reads.fetch_add(1);
        return KeypadMatrix::GetState(handle, state);
    }
    // Waits until the scanner has read the pins of count more whole scans.
    bool WaitForScans(long count) {
        const long from = reads.load();
        return Eventually([&] { return reads.load() >= from + count * kPinsPerScan; });
    }
    std::atomic<long> reads{0};

private:
    static constexpr long kPinsPerScan = 12; // two pins, then five in each phase
};

TEST_F(KeypadScannerThreadTest, KeysPressedWhileSuspendedAreNotSeen) {
    CountingMatrix matrix;
    TestScanner scanner;
    ASSERT_TRUE(scanner.Start());
    scanner.Suspend();
    matrix.Press(KEY_ENTER);
    Sleep(300);
    matrix.Release(KEY_ENTER);
    scanner.Resume();
    ASSERT_TRUE(matrix.WaitForScans(2));
    EXPECT_TRUE(scanner.Stop());
    EXPECT_TRUE(PostedSince(0).empty());
    EXPECT_EQ(0, Clicks());
}

TEST_F(KeypadScannerThreadTest, AKeyHeldAcrossASuspensionGoesOnRepeating) {
    KeypadMatrix matrix;
    TestScanner scanner;
    ASSERT_TRUE(scanner.Start());
    matrix.Press(KEY_DOWN);
    ASSERT_TRUE(WaitForPosts(1));
    scanner.Suspend();
    const std::size_t atSuspend = PostedSince(0).size();
    Sleep(1000);
    EXPECT_EQ(atSuspend, PostedSince(0).size()) << "nothing is posted while suspended";
    scanner.Resume();
    ASSERT_TRUE(WaitForPosts(atSuspend + 3));
    matrix.Release(KEY_DOWN);
    EXPECT_TRUE(scanner.Stop());

    const std::vector<int> repeats = Repeats();
    ASSERT_GE(repeats.size(), atSuspend + 3);
    for (std::size_t i = 0; i < repeats.size(); ++i)
        EXPECT_EQ(int(i) + 1, repeats[i]) << "at " << i;
    EXPECT_EQ(1, Clicks());
}

} // namespace
