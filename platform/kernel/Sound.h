// PlaySound of the device: the sounds the launcher plays are WAVE resources of a module (the key
// click, WAVE 143 of the executable), handed to the sound sink and recorded in the event log as
// "sound.played". The device has no default sound: a sound that cannot be played is silent.
#pragma once

#include "platform/kernel/WinTypes.h"

inline constexpr DWORD SND_SYNC = 0x0000;
inline constexpr DWORD SND_ASYNC = 0x0001;     // return at once; the sound plays on
inline constexpr DWORD SND_NODEFAULT = 0x0002; // no default sound when this one cannot play
inline constexpr DWORD SND_MEMORY = 0x0004;
inline constexpr DWORD SND_RESOURCE = 0x00040004; // sound names a WAVE resource of module

// Plays the WAVE resource sound (an ordinal made with MAKEINTRESOURCE, or a name) of module
// (NULL: the executable); flags must include SND_RESOURCE. FALSE, with nothing played, when the
// resource does not exist or is not a RIFF WAVE file.
BOOL PlaySound(LPCTSTR sound, HMODULE module, DWORD flags);
