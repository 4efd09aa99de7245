#include "platform/kernel/CardSlot.h"

#include <atomic>

namespace {

// Even while a card is in the slot, odd while it is out; every eject and insert adds one. One
// atomic word, so a reader on any thread sees either the old mount or the new one, never a mix,
// and needs no lock on its way through a read.
std::atomic<CardSlot::Mount> g_mount{0};

bool Step(bool toInserted) {
    CardSlot::Mount now = g_mount.load();
    while (((now & 1) == 0) != toInserted) {
        if (g_mount.compare_exchange_weak(now, now + 1))
            return true;
    }
    return false;
}

} // namespace

bool CardSlot::Eject() {
    return Step(false);
}

bool CardSlot::Insert() {
    return Step(true);
}

bool CardSlot::Inserted() {
    return (g_mount.load() & 1) == 0;
}

CardSlot::Mount CardSlot::Current() {
    return g_mount.load();
}

bool CardSlot::IsMounted(Mount mount) {
    return (mount & 1) == 0 && g_mount.load() == mount;
}
