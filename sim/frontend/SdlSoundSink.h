// Plays the device's sounds (the key click and any other WAVE the launcher plays) through the
// host's audio, for the window front end. Installed as the device's sound sink while it lives.
#pragma once

#include <memory>
#include <mutex>

#include <SDL.h>

#include "platform/kernel/SoundSink.h"

class SdlSoundSink : public SoundSink {
public:
    // nullptr when the host has no audio to play on; the device's sounds are then only counted.
    static std::unique_ptr<SdlSoundSink> Create();
    ~SdlSoundSink() override;
    SdlSoundSink(const SdlSoundSink&) = delete;
    SdlSoundSink& operator=(const SdlSoundSink&) = delete;

    void Play(std::span<const std::uint8_t> wave, bool wait) override;

private:
    SdlSoundSink() = default;

    std::mutex m_mutex;
    SDL_AudioDeviceID m_device = 0;
    SDL_AudioSpec m_format{}; // the format the open device was opened for
};
