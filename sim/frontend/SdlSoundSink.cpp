#include "sim/frontend/SdlSoundSink.h"

std::unique_ptr<SdlSoundSink> SdlSoundSink::Create() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    std::unique_ptr<SdlSoundSink> sink(new SdlSoundSink());
    SoundSink::Install(sink.get());
    return sink;
}

SdlSoundSink::~SdlSoundSink() {
    SoundSink::Uninstall(this);
    if (m_device)
        SDL_CloseAudioDevice(m_device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSoundSink::Play(std::span<const std::uint8_t> wave, bool wait) {
    SDL_AudioSpec format{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    SDL_RWops* source = SDL_RWFromConstMem(wave.data(), int(wave.size()));
    if (!source || !SDL_LoadWAV_RW(source, 1, &format, &samples, &length))
        return; // not a wave SDL can read: silent, as the device is with a sound it cannot play

    std::lock_guard<std::mutex> lock(m_mutex);
    // One device, reopened only when a sound comes in another format.
    if (!m_device || format.freq != m_format.freq || format.format != m_format.format ||
        format.channels != m_format.channels) {
        if (m_device)
            SDL_CloseAudioDevice(m_device);
        m_device = SDL_OpenAudioDevice(nullptr, 0, &format, nullptr, 0);
        m_format = format;
    }
    if (m_device) {
        SDL_QueueAudio(m_device, samples, length);
        SDL_PauseAudioDevice(m_device, 0);
    }
    SDL_FreeWAV(samples);
    if (wait && m_device) {
        // A synchronous sound has ended when Play returns: wait for what is queued.
        const Uint32 bytesPerSecond =
            Uint32(format.freq) * format.channels * (SDL_AUDIO_BITSIZE(format.format) / 8);
        if (bytesPerSecond > 0)
            SDL_Delay(
                Uint32(std::uint64_t(SDL_GetQueuedAudioSize(m_device)) * 1000 / bytesPerSecond));
    }
}
