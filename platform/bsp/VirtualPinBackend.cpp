#include "platform/bsp/VirtualPinBackend.h"

#include <mutex>

namespace {
VirtualPinBackend* g_installed = nullptr;
} // namespace

std::shared_mutex& VirtualPinBackend::InstallLock() {
    static std::shared_mutex lock;
    return lock;
}

VirtualPinBackend* VirtualPinBackend::InstalledLocked() {
    return g_installed;
}

void VirtualPinBackend::Install(VirtualPinBackend* backend) {
    std::unique_lock<std::shared_mutex> lock(InstallLock());
    g_installed = backend;
}

void VirtualPinBackend::Uninstall(VirtualPinBackend* backend) {
    std::unique_lock<std::shared_mutex> lock(InstallLock());
    if (g_installed == backend)
        g_installed = nullptr;
}
