// Fixture of the launcher view's tests under the manual clock: the test device, a recorder on
// the board, and a ViewProbe in a screen-filling top-level window of the test thread, which is
// the view's UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "launcher/tests/LauncherTestDevice.h"
#include "launcher/tests/ViewProbe.h"
#include "testsupport/BoardRecorder.h"
#include "testsupport/ManualClock.h"

class LauncherViewTest : public ManualClock {
protected:
    struct Listed {
        std::wstring text;
        std::wstring program;
        std::wstring bin;
        std::wstring para;
        int image = -1;
        bool operator==(const Listed&) const = default;
    };

    void SetUp() override;
    void TearDown() override;

    HWND List() const;
    HWND Caption() const;
    // The program list's items with their launch records, in list order.
    std::vector<Listed> ReadList() const;
    void FocusItem(int index);
    // NM_DBLCLK from the list, as a double tap on tappedItem sends it.
    LRESULT DoubleClick(int tappedItem);
    // WM_COPYDATA to the view; data may be null.
    LRESULT CopyData(DWORD code, const void* data, DWORD bytes);
    // The texts of "progress.shown" since the test began.
    std::vector<std::string> ProgressTexts() const;
    // Handles the test thread's messages for ms of device time, as a message loop would.
    void PumpFor(DWORD ms);
    // The same until device time endUs, and once more there.
    void PumpUntil(std::uint64_t endUs);
    // Whether the battery timer armed at device time armedUs reads the battery when its 30 s
    // are up and not before: no read until 29.9 s after, one by 30.0 s.
    bool BatteryReadAtThirtySeconds(std::uint64_t armedUs);
    // Exchanges with that command name the co-processor took since the recorder was cleared.
    int Exchanges(const std::string& command) const;
    static std::wstring WindowText(HWND hwnd);

    LauncherTestDevice device;
    BoardRecorder recorder;
    HWND frame = nullptr;
    ViewProbe* view = nullptr;
};
