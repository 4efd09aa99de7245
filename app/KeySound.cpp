#include "app/KeySound.h"

#include "platform/kernel/Registry.h"

std::atomic<DWORD> KeySoundEnabled{1};

DWORD ReadKeySoundSetting() {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, L"Keyboard", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return KeySoundEnabled;
    }
    // Whatever the value's type, its first four bytes are the setting.
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueEx(key, L"Sound", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
        ERROR_SUCCESS) {
        KeySoundEnabled = value;
    }
    RegCloseKey(key);
    return KeySoundEnabled;
}
