// What the window tests share: a probe window class that records every message it receives,
// and the device clock in manual mode for the duration of a test.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/kernel/DeviceClock.h"
#include "platform/user/WinUser.h"

struct ProbeMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The messages the probe windows of all threads received, in order (guarded inside).
std::vector<ProbeMessage> ProbeLog();
void ClearProbeLog();
// Only the given message, in order.
std::vector<ProbeMessage> ProbeLogOf(UINT message);

// Window class "Probe": records each message, then default processing; white background.
LPCTSTR ProbeClass();
// Registers a class of that name and procedure with a white background, once; its name, or
// null when it could not be registered.
LPCTSTR WhiteClass(LPCTSTR name, WNDPROC proc);

// Empties the calling thread's queue, dispatching everything (no pre-translation).
void PumpUntilIdle();

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND MakeTopLevel(RECT r, DWORD style = WS_VISIBLE);
    HWND MakeChild(HWND parent, RECT r, int id, DWORD style = WS_VISIBLE);

    std::vector<HWND> m_windows;
};
