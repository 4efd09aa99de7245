// Waitable kernel objects (threads, events, processes) and the handle table that names them.
// All waitable state is guarded by one kernel lock with one condition variable: objects are
// few and waits are short, and one lock makes every wait race-free by construction.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/kernel/WinTypes.h"

class KernelObject {
public:
    virtual ~KernelObject() = default;

    // Called with the kernel lock held: true when the object is signalled. A successful wait
    // consumes the signal of objects that reset themselves (auto-reset events).
    virtual bool TryAcquireLocked() = 0;

    static std::mutex& Lock();
    // Wakes every waiter to re-test its object; call after changing state under Lock().
    static void NotifyAllLocked();
    static std::condition_variable& Condition();
};

// The handle table. Handles are small integers cast to HANDLE, never reused while the process
// runs, so a stale handle fails cleanly instead of reaching another object.
class HandleTable {
public:
    static HANDLE Insert(std::shared_ptr<KernelObject> object);
    static std::shared_ptr<KernelObject> Get(HANDLE handle);
    // Closes the handle; the object lives on while anyone else holds it. FALSE for a bad handle.
    static BOOL Close(HANDLE handle);
    // A second handle to the same object (DuplicateHandle).
    static HANDLE Duplicate(HANDLE handle);

    template <class T> static std::shared_ptr<T> GetAs(HANDLE handle) {
        return std::dynamic_pointer_cast<T>(Get(handle));
    }
};
