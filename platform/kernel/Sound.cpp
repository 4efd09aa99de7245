#include "platform/kernel/Sound.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "platform/kernel/CString.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/Resources.h"
#include "platform/kernel/SoundSink.h"
#include "platform/kernel/ThreadControl.h"

namespace {

// A RIFF WAVE file whose declared length fits in the bytes it came with.
bool IsWaveFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return false;
    const std::uint64_t riffLength = std::uint64_t(bytes[4]) | std::uint64_t(bytes[5]) << 8 |
                                     std::uint64_t(bytes[6]) << 16 | std::uint64_t(bytes[7]) << 24;
    return riffLength >= 4 && riffLength + 8 <= bytes.size();
}

nlohmann::json NameOf(LPCTSTR sound) {
    if (IS_INTRESOURCE(sound))
        return int(reinterpret_cast<std::uintptr_t>(sound));
    return CString(sound).ToUtf8();
}

} // namespace

BOOL PlaySound(LPCTSTR sound, HMODULE module, DWORD flags) {
    PlatformCheckpoint();
    if ((flags & SND_RESOURCE) != SND_RESOURCE || sound == nullptr)
        return FALSE;
    HRSRC found = FindResource(module, sound, L"WAVE");
    if (found == nullptr)
        return FALSE;
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    const std::span<const std::uint8_t> wave(bytes, bytes ? SizeofResource(module, found) : 0);
    if (!IsWaveFile(wave))
        return FALSE;
    EventLog::Instance().Record("sound.played", {{"resource", NameOf(sound)}});
    SoundSink::Deliver(wave, (flags & SND_ASYNC) == 0);
    return TRUE;
}
