// The keypad's key-click setting, HKLM\Keyboard "Sound", cached for the keypad thread.
#pragma once

#include <atomic>

#include "platform/kernel/WinTypes.h"

// Non-zero: every new key press clicks; 1 at process start. Written on the UI thread and read
// by the keypad thread on each key press, so it is atomic.
extern std::atomic<DWORD> KeySoundEnabled;

// Reads the registry value into KeySoundEnabled and returns it; when the key or the value
// cannot be read, the cached setting stays.
DWORD ReadKeySoundSetting();
