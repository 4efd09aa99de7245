#include "sim/keypad/KeypadMatrix.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/bsp/VirtualPin.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "testsupport/ClockModeGuard.h"

namespace {

// Holds the seven input lines and the two output lines of the keypad as a scanner would, so a
// test can drive the outputs and read every input.
class PinBench {
public:
    PinBench() {
        for (int n = 0; n < 7; ++n) {
            const std::wstring name = L"Keypad.Key" + std::to_wstring(n);
            EXPECT_EQ(0u, GetVirtualPin(name.c_str(), &m_inputs[n]));
            EXPECT_EQ(0u, ApplyVirtualPinContract(m_inputs[n]));
            EXPECT_EQ(0u, SetVirtualPinDirection(m_inputs[n], VIRTUAL_PIN_INPUT));
        }
        m_k7 = Output(L"Keypad.Key7");
        m_k8 = Output(L"Keypad.Key8");
    }
    ~PinBench() {
        for (DWORD pin : m_inputs)
            ReleaseVirtualPin(pin);
        ReleaseVirtualPin(m_k7);
        ReleaseVirtualPin(m_k8);
    }

    void Drive(bool k7, bool k8) {
        EXPECT_EQ(0u, k7 ? ActivateVirtualPin(m_k7) : DeactivateVirtualPin(m_k7));
        EXPECT_EQ(0u, k8 ? ActivateVirtualPin(m_k8) : DeactivateVirtualPin(m_k8));
    }
    // The active input lines, as a string of line numbers ("" for none).
    std::string ActiveInputs() {
        std::string active;
        for (int n = 0; n < 7; ++n) {
            DWORD state = 0xDEAD;
            EXPECT_EQ(0u, GetVirtualPinState(m_inputs[n], &state));
            if (state)
                active += char('0' + n);
        }
        return active;
    }

private:
    static DWORD Output(LPCWSTR name) {
        DWORD pin = 0;
        EXPECT_EQ(0u, GetVirtualPin(name, &pin));
        EXPECT_EQ(0u, ApplyVirtualPinContract(pin));
        EXPECT_EQ(0u, SetVirtualPinDirection(pin, VIRTUAL_PIN_OUTPUT));
        return pin;
    }

    DWORD m_inputs[7] = {};
    DWORD m_k7 = 0;
    DWORD m_k8 = 0;
};

struct WiringCase {
    int code;
    const char* phaseA;  // active inputs with K7 active, K8 inactive
    const char* phaseB;  // with K8 active, K7 inactive
    const char* neither; // with both outputs inactive
};

TEST(KeypadMatrixTest, EachKeyPullsItsInputLineInItsPhase) {
    const WiringCase cases[] = {
        {0, "1", "1", "1"}, {1, "", "2", ""}, {2, "", "3", ""},    {3, "", "4", ""},
        {4, "", "5", ""},   {5, "2", "", ""}, {6, "3", "", ""},    {7, "5", "", ""},
        {8, "4", "", ""},   {9, "", "6", ""}, {10, "0", "0", "0"}, {11, "6", "", ""},
    };
    KeypadMatrix matrix;
    PinBench bench;
    for (const WiringCase& c : cases) {
        SCOPED_TRACE("key " + std::to_string(c.code));
        ASSERT_TRUE(matrix.Press(c.code));
        bench.Drive(true, false);
        EXPECT_EQ(c.phaseA, bench.ActiveInputs());
        bench.Drive(false, true);
        EXPECT_EQ(c.phaseB, bench.ActiveInputs());
        bench.Drive(false, false);
        EXPECT_EQ(c.neither, bench.ActiveInputs());
        ASSERT_TRUE(matrix.Release(c.code));
        bench.Drive(true, true);
        EXPECT_EQ("", bench.ActiveInputs());
    }
}

TEST(KeypadMatrixTest, SeveralKeysDownReadAsTheWiresCombineThem) {
    KeypadMatrix matrix;
    PinBench bench;
    // Up (line 2, A), key 1 (line 2, B), enter (line 6, A) and select (line 1, direct).
    for (int code : {5, 1, 11, 0})
        matrix.Press(code);
    bench.Drive(true, false);
    EXPECT_EQ("126", bench.ActiveInputs());
    bench.Drive(false, true);
    EXPECT_EQ("12", bench.ActiveInputs());
    bench.Drive(true, true);
    EXPECT_EQ("126", bench.ActiveInputs());
    EXPECT_EQ((std::vector<int>{0, 1, 5, 11}), matrix.DownKeys());
}

// A timed press reads up on the wires from its device time on, before the simulator's Release
// comes, once a read has seen it; until that Release the key still counts as down for a second
// press.
TEST(KeypadMatrixTest, ATimedPressEndsOnTheWiresAtItsDeviceTime) {
    ClockModeGuard guard;
    DeviceClock& clock = ClockModeGuard::Clock();
    clock.SetManual();
    KeypadMatrix matrix;
    PinBench bench;
    bench.Drive(false, false);
    const std::uint64_t releaseAt = clock.NowUs() + 100000;
    ASSERT_TRUE(matrix.Press(0, releaseAt)); // select: line 1, read in every phase
    EXPECT_EQ("1", bench.ActiveInputs());
    clock.AdvanceTo(releaseAt - 1);
    EXPECT_EQ("1", bench.ActiveInputs());
    clock.AdvanceTo(releaseAt);
    EXPECT_EQ("", bench.ActiveInputs());
    EXPECT_FALSE(matrix.Press(0)) << "still down until released";
    EXPECT_TRUE(matrix.Release(0));
    // A press that no read saw during its hold is seen once, late, and then reads up.
    ASSERT_TRUE(matrix.Press(0, clock.NowUs() + 1000));
    clock.AdvanceTo(clock.NowUs() + 50000);
    EXPECT_EQ("1", bench.ActiveInputs());
    EXPECT_EQ("", bench.ActiveInputs());
    EXPECT_TRUE(matrix.Release(0));
    ASSERT_TRUE(matrix.Press(0));
    clock.AdvanceTo(releaseAt + 1000000);
    EXPECT_EQ("1", bench.ActiveInputs()) << "an untimed press holds";
    matrix.Release(0);
}

TEST(KeypadMatrixTest, PressAndReleaseAreRecordedOnceEach) {
    KeypadMatrix matrix;
    EventLog::Instance().Clear();
    EXPECT_TRUE(matrix.Press(8));
    EXPECT_FALSE(matrix.Press(8)); // already down
    EXPECT_TRUE(matrix.IsDown(8));
    EXPECT_TRUE(matrix.Release(8));
    EXPECT_FALSE(matrix.Release(8));
    EXPECT_FALSE(matrix.IsDown(8));
    for (int code : {-1, 12, 255}) {
        EXPECT_FALSE(matrix.Press(code));
        EXPECT_FALSE(matrix.IsDown(code));
    }
    matrix.Press(3);
    matrix.Press(10);
    matrix.ReleaseAll();
    EXPECT_TRUE(matrix.DownKeys().empty());

    std::vector<std::string> seen;
    for (const EventLog::Entry& e : EventLog::Instance().Since())
        if (e.kind == "key.down" || e.kind == "key.up")
            seen.push_back(e.kind + " " + e.fields["key"].dump() + " " +
                           e.fields["pin"].get<std::string>() + " " +
                           e.fields["phase"].get<std::string>());
    EXPECT_EQ(
        (std::vector<std::string>{"key.down 8 Keypad.Key4 A", "key.up 8 Keypad.Key4 A",
                                  "key.down 3 Keypad.Key4 B", "key.down 10 Keypad.Key0 direct",
                                  "key.up 3 Keypad.Key4 B", "key.up 10 Keypad.Key0 direct"}),
        seen);
}

TEST(KeypadMatrixTest, ClonesShareTheirSourceLineAndOutliveTheirHandles) {
    KeypadMatrix matrix;
    PinBench bench;
    EXPECT_EQ(0u, CloneVirtualPin(L"Keypad.Key7", L"MyVirtualPinK7", 0x12000007));
    EXPECT_NE(0u, CloneVirtualPin(L"Keypad.Key7", L"MyVirtualPinK7", 0x12000007)); // name taken
    EXPECT_NE(0u, CloneVirtualPin(L"Keypad.Key9", L"MyVirtualPinK9", 0x12000007)); // no source
    DWORD missing = 77;
    EXPECT_NE(0u, GetVirtualPin(L"MyVirtualPinK9", &missing));
    EXPECT_EQ(0u, missing);

    DWORD k7 = 0;
    ASSERT_EQ(0u, GetVirtualPin(L"MyVirtualPinK7", &k7));
    EXPECT_EQ(0u, ReleaseVirtualPin(k7));
    ASSERT_EQ(0u, GetVirtualPin(L"MyVirtualPinK7", &k7)); // the pin is still there
    ApplyVirtualPinContract(k7);
    SetVirtualPinDirection(k7, VIRTUAL_PIN_OUTPUT);
    bench.Drive(false, false);
    matrix.Press(6); // left: line 3 in phase A
    EXPECT_EQ("", bench.ActiveInputs());
    EXPECT_EQ(0u, ActivateVirtualPin(k7));
    EXPECT_EQ("3", bench.ActiveInputs());
    ReleaseVirtualPin(k7);
}

TEST(KeypadMatrixTest, HandlesNeedTheirContractAndOutputsTheirDirection) {
    KeypadMatrix matrix;
    DWORD pin = 0;
    ASSERT_EQ(0u, GetVirtualPin(L"Keypad.Key1", &pin));
    DWORD state = 5;
    EXPECT_NE(0u, GetVirtualPinState(pin, &state)); // no contract yet
    EXPECT_EQ(0u, state);
    EXPECT_NE(0u, SetVirtualPinDirection(pin, VIRTUAL_PIN_INPUT));
    EXPECT_EQ(0u, ApplyVirtualPinContract(pin));
    EXPECT_EQ(0u, SetVirtualPinDirection(pin, VIRTUAL_PIN_INPUT));
    EXPECT_NE(0u, SetVirtualPinDirection(pin, 2));
    EXPECT_NE(0u, ActivateVirtualPin(pin)); // an input is not driven
    matrix.Press(0);
    EXPECT_EQ(0u, GetVirtualPinState(pin, &state));
    EXPECT_EQ(1u, state);
    EXPECT_EQ(0u, ReleaseVirtualPin(pin));
    EXPECT_NE(0u, ReleaseVirtualPin(pin));
    state = 5;
    EXPECT_NE(0u, GetVirtualPinState(pin, &state)); // released
    EXPECT_EQ(0u, state);
}

TEST(KeypadMatrixTest, WithoutABoardEveryCallFailsAndReadsInactive) {
    DWORD pin = 0;
    {
        KeypadMatrix matrix;
        ASSERT_EQ(0u, GetVirtualPin(L"Keypad.Key0", &pin));
        ApplyVirtualPinContract(pin);
        matrix.Press(10);
    }
    DWORD state = 9;
    EXPECT_NE(0u, GetVirtualPinState(pin, &state));
    EXPECT_EQ(0u, state);
    DWORD other = 9;
    EXPECT_NE(0u, GetVirtualPin(L"Keypad.Key0", &other));
    EXPECT_EQ(0u, other);
    EXPECT_NE(0u, CloneVirtualPin(L"Keypad.Key7", L"MyVirtualPinK7", 0x12000007));
    EXPECT_NE(0u, ApplyVirtualPinContract(pin));
    EXPECT_NE(0u, SetVirtualPinDirection(pin, VIRTUAL_PIN_OUTPUT));
    EXPECT_NE(0u, ActivateVirtualPin(pin));
    EXPECT_NE(0u, DeactivateVirtualPin(pin));
    EXPECT_NE(0u, ReleaseVirtualPin(pin));
    EXPECT_NE(0u, GetVirtualPin(nullptr, &other));
    EXPECT_NE(0u, GetVirtualPin(L"Keypad.Key0", nullptr));
    EXPECT_NE(0u, GetVirtualPinState(pin, nullptr));
}

} // namespace
