#include "launcher/QDeviceQueries.h"

#include <cstring>
#include <cwchar>

#include "link/CoprocBytes.h"
#include "link/CoprocProtocol.h"
#include "link/QCoprocLink.h"
#include "platform/kernel/KernelTime.h"
#include "platform/kernel/Registry.h"

namespace {

// Byte offsets of the fields the launcher reads in each reply.
constexpr int kBatteryWarning = 6;  // BYTE, non-zero: low battery
constexpr int kBatteryCharging = 7; // BYTE, non-zero: on the charger
constexpr int kBatteryLevel = 8;    // 32-bit float, 0 to 1
constexpr int kClockSecond = 8;     // each a 32-bit field whose low word is the value
constexpr int kClockMinute = 12;
constexpr int kClockHour = 16;
constexpr int kClockDay = 20;
constexpr int kClockMonth = 24;
constexpr int kClockYear = 28;
constexpr int kIdentityProduct = 6; // BYTE

constexpr BYTE kProductNorvane = 5;
constexpr BYTE kProductCaldro = 6;
// The size of the buffer that "Product" is read into; a longer value counts as missing.
constexpr DWORD kProductBufferBytes = 260;

WORD Field(const BYTE* reply, int offset) {
    return LOWORD(Le32(reply + offset));
}

bool Failed(DWORD status) {
    return LOWORD(status) != 0;
}

} // namespace

void QDeviceQueries::UpdateBattery(QBatteryGauge& gauge, bool redraw) {
    BYTE reply[COPROC_REPLY_BATTERY] = {};
    if (Failed(QCoprocLink::Instance().GetBatteryStatus(reply)))
        return;
    const DWORD levelBits = Le32(reply + kBatteryLevel);
    float level = 0.0f;
    std::memcpy(&level, &levelBits, sizeof level);
    gauge.SetWarning(BOOL(reply[kBatteryWarning]), FALSE);
    // The gauge clamps the level to 0..1 and takes a level that is not a number as 0.
    gauge.SetLevel(level, FALSE);
    gauge.SetCharging(BOOL(reply[kBatteryCharging]), redraw ? TRUE : FALSE);
}

void QDeviceQueries::SyncCurrentTime() {
    BYTE reply[COPROC_REPLY_CLOCK] = {};
    if (Failed(QCoprocLink::Instance().GetClock(reply)))
        return;
    SYSTEMTIME time{};
    time.wYear = Field(reply, kClockYear);
    time.wMonth = Field(reply, kClockMonth);
    time.wDay = Field(reply, kClockDay);
    time.wHour = Field(reply, kClockHour);
    time.wMinute = Field(reply, kClockMinute);
    time.wSecond = Field(reply, kClockSecond);
    time.wMilliseconds = 0;
    // The platform refuses a date that cannot exist (month 13, 31 February, hour 24, ...) and
    // leaves the clock as it was.
    SetLocalTime(&time);
}

void QDeviceQueries::RecordProductType() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"HARDWARE", 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return;
    BYTE existing[kProductBufferBytes];
    DWORD size = sizeof existing;
    DWORD type = REG_NONE;
    if (RegQueryValueEx(key, L"Product", nullptr, &type, existing, &size) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return;
    }
    BYTE reply[COPROC_REPLY_IDENTITY] = {};
    if (Failed(QCoprocLink::Instance().GetIdentity(reply))) {
        RegCloseKey(key);
        return;
    }
    const wchar_t* product = nullptr;
    if (reply[kIdentityProduct] == kProductCaldro)
        product = L"Caldro";
    else if (reply[kIdentityProduct] == kProductNorvane)
        product = L"Norvane";
    if (product)
        RegSetValueEx(key, L"Product", 0, REG_SZ, reinterpret_cast<const BYTE*>(product),
                      DWORD((std::wcslen(product) + 1) * sizeof(wchar_t)));
    RegFlushKey(HKEY_LOCAL_MACHINE);
    RegCloseKey(key);
}
