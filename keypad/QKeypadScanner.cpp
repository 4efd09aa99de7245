#include "keypad/QKeypadScanner.h"

#include <string>

#include "app/KeySound.h"
#include "keypad/Keypad.h"
#include "platform/bsp/VirtualPin.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/Resources.h"
#include "platform/kernel/Sound.h"
#include "platform/user/CWinApp.h"
#include "platform/user/WinUser.h"

namespace {

// The flags the output pins are cloned with.
constexpr DWORD kCloneFlags = 0x12000007;
constexpr WORD kClickSound = 143;

// The codes of the matrix keys on input slots 2 to 6, for each phase.
constexpr BYTE kPhaseBCodes[5] = {KEY_1, KEY_2, KEY_3, KEY_ABOUT, KEY_9};
constexpr BYTE kPhaseACodes[5] = {KEY_UP, KEY_LEFT, KEY_DOWN, KEY_RIGHT, KEY_ENTER};

} // namespace

QKeypadScanner::QKeypadScanner() : m_hModule(GetModuleHandle(nullptr)) {
    for (int n = 0; n < kInputPins; ++n) {
        const std::wstring name = L"Keypad.Key" + std::to_wstring(n);
        GetVirtualPin(name.c_str(), &m_hInputPins[n]);
        ApplyVirtualPinContract(m_hInputPins[n]);
        SetVirtualPinDirection(m_hInputPins[n], VIRTUAL_PIN_INPUT);
    }
    m_hPinK7 = AcquireOutputPin(L"MyVirtualPinK7", L"Keypad.Key7");
    m_hPinK8 = AcquireOutputPin(L"MyVirtualPinK8", L"Keypad.Key8");
    ReadKeySoundSetting();
}

QKeypadScanner::~QKeypadScanner() {
    // The thread reads the pins, so it ends before they go.
    Stop();
    for (int n = 1; n < kInputPins; ++n)
        ReleaseVirtualPin(m_hInputPins[n]);
    ReleaseVirtualPin(m_hPinK7);
    ReleaseVirtualPin(m_hPinK8);
    ReleaseVirtualPin(m_hInputPins[0]);
}

DWORD QKeypadScanner::AcquireOutputPin(LPCWSTR name, LPCWSTR sourceName) {
    DWORD pin = 0;
    // A pin of that name made earlier, by this program or another, is taken over as it is.
    if (GetVirtualPin(name, &pin) != 0) {
        CloneVirtualPin(sourceName, name, kCloneFlags);
        GetVirtualPin(name, &pin);
    }
    ApplyVirtualPinContract(pin);
    SetVirtualPinDirection(pin, VIRTUAL_PIN_OUTPUT);
    return pin;
}

bool QKeypadScanner::IsPinActive(DWORD pin) {
    DWORD state = 0;
    GetVirtualPinState(pin, &state);
    return state != 0;
}

BYTE QKeypadScanner::ScanKeys() {
    if (IsPinActive(m_hInputPins[0]))
        return KEY_10;
    if (IsPinActive(m_hInputPins[1]))
        return KEY_SELECT;

    DeactivateVirtualPin(m_hPinK7);
    ActivateVirtualPin(m_hPinK8);
    for (int n = 0; n < 5; ++n)
        if (IsPinActive(m_hInputPins[n + 2]))
            return kPhaseBCodes[n];

    ActivateVirtualPin(m_hPinK7);
    DeactivateVirtualPin(m_hPinK8);
    for (int n = 0; n < 5; ++n)
        if (IsPinActive(m_hInputPins[n + 2]))
            return kPhaseACodes[n];
    return KEY_NONE;
}

void QKeypadScanner::PostKey(BYTE code, WORD repeat) {
    HWND notice = FindWindow(L"Dialog", L"Connected to USB");
    if (notice && IsWindow(notice))
        ShowWindow(notice, SW_HIDE);
    EventLog::Instance().Record("keypad.posted", {{"key", code}, {"repeat", repeat}});
    // Without an application object there is no UI thread to take the key: the post fails and
    // the event is lost, as any failed post is.
    const CWinApp* app = AfxGetApp();
    PostThreadMessage(app ? app->m_nThreadID : 0, WM_KEYPAD, WPARAM(code), LPARAM(repeat));
}

DWORD QKeypadScanner::Run() {
    DWORD counter = 0;
    BYTE previous = KEY_NONE;
    while (!IsStopRequested(KEY_POLL_MS)) {
        const BYTE code = ScanKeys();
        if (code < 13) {
            if (code == previous) {
                if (counter > KEY_REPEAT_DELAY)
                    PostKey(code, WORD(counter - 16));
                ++counter;
            } else {
                PostKey(code, 1);
                if (KeySoundEnabled.load() != 0)
                    PlaySound(MAKEINTRESOURCE(kClickSound), m_hModule,
                              SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
                counter = 0;
            }
        }
        previous = code;
    }
    return 0;
}
