// The virtual pins of the board-support library (KorrinBspCore): named general-purpose lines,
// such as the keypad's "Keypad.Key0" to "Keypad.Key8", reached through 32-bit handles. Each call
// returns 0 on success or a Win32 error code; with no board installed every call fails, state
// reads give 0 and no call touches memory it was not given.
#pragma once

#include "platform/kernel/WinTypes.h"

inline constexpr DWORD VIRTUAL_PIN_INPUT = 0;
inline constexpr DWORD VIRTUAL_PIN_OUTPUT = 1;

// Fills handle with a new handle of the pin of that name: 0. Non-zero when no such pin exists
// (handle is then 0).
DWORD GetVirtualPin(LPCWSTR name, DWORD* handle);
// Makes a new pin newName on the line of the pin sourceName. Fails when the source does not
// exist or newName is taken.
DWORD CloneVirtualPin(LPCWSTR sourceName, LPCWSTR newName, DWORD flags);
// Connects the handle to its line; direction and level calls need it.
DWORD ApplyVirtualPinContract(DWORD handle);
// VIRTUAL_PIN_INPUT or VIRTUAL_PIN_OUTPUT.
DWORD SetVirtualPinDirection(DWORD handle, DWORD direction);
// state: non-zero when the line is active. 0 on failure.
DWORD GetVirtualPinState(DWORD handle, DWORD* state);
// Drives an output line active or inactive.
DWORD ActivateVirtualPin(DWORD handle);
DWORD DeactivateVirtualPin(DWORD handle);
// Gives the handle back; the pin stays on the board for later GetVirtualPin calls.
DWORD ReleaseVirtualPin(DWORD handle);
