#include "platform/kernel/KernelSync.h"

#include <map>
#include <memory>
#include <string>

#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventObject.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/kernel/ThreadObject.h"

namespace {

HANDLE CurrentProcessPseudoHandle() {
    return reinterpret_cast<HANDLE>(std::intptr_t(-1));
}

// The object a handle names; the pseudo-handle of the current thread names its thread object.
std::shared_ptr<KernelObject> Resolve(HANDLE handle) {
    if (handle == ThreadObject::PseudoHandle())
        return ThreadObject::Current();
    return HandleTable::Get(handle);
}

// Named events live while any handle to them is open.
struct NamedEvents {
    std::mutex mutex;
    std::map<std::wstring, std::weak_ptr<EventObject>> events;
};

NamedEvents& TheNamedEvents() {
    static NamedEvents named;
    return named;
}

} // namespace

HANDLE CreateEvent(void* /*lpEventAttributes*/, BOOL bManualReset, BOOL bInitialState,
                   LPCTSTR lpName) {
    PlatformCheckpoint();
    if (lpName == nullptr || *lpName == L'\0')
        return HandleTable::Insert(std::make_shared<EventObject>(bManualReset, bInitialState));
    NamedEvents& named = TheNamedEvents();
    std::lock_guard<std::mutex> lock(named.mutex);
    std::weak_ptr<EventObject>& slot = named.events[lpName];
    std::shared_ptr<EventObject> event = slot.lock();
    if (!event) {
        event = std::make_shared<EventObject>(bManualReset, bInitialState);
        slot = event;
    }
    return HandleTable::Insert(event);
}

BOOL EventModify(HANDLE hEvent, DWORD func) {
    PlatformCheckpoint();
    auto event = HandleTable::GetAs<EventObject>(hEvent);
    if (!event)
        return FALSE;
    switch (func) {
    case EVENT_SET:
        event->Set();
        return TRUE;
    case EVENT_RESET:
        event->Reset();
        return TRUE;
    case EVENT_PULSE:
        event->Pulse();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL SetEvent(HANDLE hEvent) {
    return EventModify(hEvent, EVENT_SET);
}
BOOL ResetEvent(HANDLE hEvent) {
    return EventModify(hEvent, EVENT_RESET);
}
BOOL PulseEvent(HANDLE hEvent) {
    return EventModify(hEvent, EVENT_PULSE);
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    PlatformCheckpoint();
    std::shared_ptr<KernelObject> object = Resolve(hHandle);
    if (!object)
        return WAIT_FAILED;
    auto event = std::dynamic_pointer_cast<EventObject>(object);
    DeviceClock& clock = DeviceClock::Instance();
    bool signalled = false;
    {
        ThreadControl::WaitScope scope;
        const std::uint64_t deadline = dwMilliseconds == INFINITE
                                           ? DeviceClock::kNoDeadline
                                           : clock.NowUs() + std::uint64_t(dwMilliseconds) * 1000;
        std::unique_lock<std::mutex> lock(KernelObject::Lock());
        if (event) {
            const std::uint64_t since = event->BeginWaitLocked();
            signalled = clock.WaitUntil(lock, KernelObject::Condition(), deadline,
                                        [&] { return event->TryAcquireLocked(since); });
            event->EndWaitLocked();
        } else {
            signalled = clock.WaitUntil(lock, KernelObject::Condition(), deadline,
                                        [&] { return object->TryAcquireLocked(); });
        }
    }
    return signalled ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL CloseHandle(HANDLE hObject) {
    PlatformCheckpoint();
    // Closing a pseudo-handle does nothing, as on the platform.
    if (hObject == ThreadObject::PseudoHandle() || hObject == CurrentProcessPseudoHandle())
        return TRUE;
    return HandleTable::Close(hObject);
}

HANDLE GetCurrentProcess() {
    PlatformCheckpoint();
    return CurrentProcessPseudoHandle();
}

BOOL DuplicateHandle(HANDLE hSourceProcess, HANDLE hSource, HANDLE hTargetProcess, HANDLE* lpTarget,
                     DWORD /*dwDesiredAccess*/, BOOL /*bInheritHandle*/, DWORD dwOptions) {
    PlatformCheckpoint();
    if (hSourceProcess != CurrentProcessPseudoHandle() ||
        hTargetProcess != CurrentProcessPseudoHandle() || lpTarget == nullptr)
        return FALSE;
    std::shared_ptr<KernelObject> object = Resolve(hSource);
    if (!object)
        return FALSE;
    *lpTarget = HandleTable::Insert(std::move(object));
    if (dwOptions & DUPLICATE_CLOSE_SOURCE)
        CloseHandle(hSource);
    return TRUE;
}
