// Where the device's sounds go: the window front end installs a sink that plays them through the
// host's audio. Every sound is counted whether a sink is installed or not, so a headless run and
// the tests see each click that a user would hear.
#pragma once

#include <cstdint>
#include <shared_mutex>
#include <span>

class SoundSink {
public:
    virtual ~SoundSink() = default;

    // The bytes of a RIFF WAVE file, valid only during the call. With wait, the sound has ended
    // when Play returns (a synchronous PlaySound); otherwise it plays on after Play returns.
    virtual void Play(std::span<const std::uint8_t> wave, bool wait) = 0;

    // Makes sink the one that hears the device's sounds (replacing any other).
    static void Install(SoundSink* sink);
    // Removes sink if it is the installed one. Returns once no call into it is running.
    static void Uninstall(SoundSink* sink);

    // Counts the sound and hands it to the installed sink, if any.
    static void Deliver(std::span<const std::uint8_t> wave, bool wait);
    // Sounds delivered since the process started.
    static std::uint64_t PlayedCount();

private:
    static std::shared_mutex& InstallLock();
};
