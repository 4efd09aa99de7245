// The keypad scanner: a worker thread that reads the keypad's virtual pins as a small key matrix
// every 30 ms, turns presses and held keys into key codes with a repeat count, clicks on every new
// press and posts each event as WM_KEYPAD to the application's UI thread.
#pragma once

#include "keypad/QWorkerThread.h"
#include "platform/kernel/WinTypes.h"

class QKeypadScanner : public QWorkerThread {
public:
    // The stop-event wait of each loop, which paces the scan.
    static constexpr DWORD KEY_POLL_MS = 30;
    // Polls a key is held, after its first message, before it repeats.
    static constexpr DWORD KEY_REPEAT_DELAY = 17;

    // Acquires and configures the pins and reads the key-click setting; the thread is started
    // later with Start.
    QKeypadScanner();
    // Stops the thread, then releases the pins.
    ~QKeypadScanner() override;

    // The key code of one matrix scan: 0 to 11, or KEY_NONE when no key is down. When several
    // keys are down the one earliest in the scan order wins.
    BYTE ScanKeys();
    // Hides the "Connected to USB" notice and posts WM_KEYPAD (code, repeat) to the UI thread.
    void PostKey(BYTE code, WORD repeat);

protected:
    DWORD Run() override;

private:
    static constexpr int kInputPins = 7;

    // The output pin of that name, cloned from sourceName when the board does not have it yet.
    static DWORD AcquireOutputPin(LPCWSTR name, LPCWSTR sourceName);
    bool IsPinActive(DWORD pin);

    HMODULE m_hModule = nullptr;
    DWORD m_hInputPins[kInputPins] = {};
    DWORD m_hPinK7 = 0;
    DWORD m_hPinK8 = 0;
};
