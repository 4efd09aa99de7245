#include "platform/bsp/BspBackend.h"

namespace {
BspBackend* g_installed = nullptr;
} // namespace

std::shared_mutex& BspBackend::InstallLock() {
    static std::shared_mutex lock;
    return lock;
}

BspBackend* BspBackend::InstalledLocked() {
    return g_installed;
}

void BspBackend::Install(BspBackend* backend) {
    std::unique_lock<std::shared_mutex> lock(InstallLock());
    g_installed = backend;
}

void BspBackend::Uninstall(BspBackend* backend) {
    std::unique_lock<std::shared_mutex> lock(InstallLock());
    if (g_installed == backend)
        g_installed = nullptr;
}
