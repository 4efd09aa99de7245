// The kernel object of an event: signalled or not, and either reset by hand or reset by the
// one wait that it releases.
#pragma once

#include <cstdint>

#include "platform/kernel/KernelObject.h"

class EventObject : public KernelObject {
public:
    EventObject(bool manualReset, bool initialState)
        : m_manualReset(manualReset), m_signalled(initialState) {}

    // Each takes the kernel lock and wakes the waiters. Pulse releases the waits under way at
    // this moment (only one of them for an auto-reset event) and leaves the event reset.
    void Set();
    void Reset();
    void Pulse();

    // An auto-reset event releases one wait and is reset by it.
    bool TryAcquireLocked() override;

    // A wait on an event brackets itself with these, so that a pulse can tell the waits that
    // were under way when it came from those that began afterwards. With the kernel lock held.
    std::uint64_t BeginWaitLocked();
    bool TryAcquireLocked(std::uint64_t waitingSince);
    void EndWaitLocked();

private:
    const bool m_manualReset;
    // All guarded by the kernel lock.
    bool m_signalled;
    int m_waiters = 0;
    std::uint64_t m_pulses = 0; // pulses so far
    int m_pulseReleases = 0;    // waits the last pulse may still release
};
