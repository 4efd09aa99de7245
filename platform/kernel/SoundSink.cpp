#include "platform/kernel/SoundSink.h"

#include <atomic>
#include <mutex>

namespace {
SoundSink* g_installed = nullptr;
std::atomic<std::uint64_t> g_played{0};
} // namespace

std::shared_mutex& SoundSink::InstallLock() {
    static std::shared_mutex lock;
    return lock;
}

void SoundSink::Install(SoundSink* sink) {
    std::unique_lock<std::shared_mutex> lock(InstallLock());
    g_installed = sink;
}

void SoundSink::Uninstall(SoundSink* sink) {
    std::unique_lock<std::shared_mutex> lock(InstallLock());
    if (g_installed == sink)
        g_installed = nullptr;
}

void SoundSink::Deliver(std::span<const std::uint8_t> wave, bool wait) {
    g_played.fetch_add(1);
    std::shared_lock<std::shared_mutex> lock(InstallLock());
    if (g_installed)
        g_installed->Play(wave, wait);
}

std::uint64_t SoundSink::PlayedCount() {
    return g_played.load();
}
