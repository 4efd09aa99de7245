#include "platform/kernel/KernelThreads.h"

#include "platform/kernel/ThreadObject.h"

namespace {

constexpr DWORD kBadSuspendCount = 0xFFFFFFFF;

bool IsValidPriority(int priority) {
    return priority >= THREAD_PRIORITY_TIME_CRITICAL && priority <= THREAD_PRIORITY_IDLE;
}

} // namespace

DWORD GetCurrentThreadId() {
    PlatformCheckpoint();
    return ThreadObject::Current()->Id();
}

HANDLE GetCurrentThread() {
    PlatformCheckpoint();
    return ThreadObject::PseudoHandle();
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
    PlatformCheckpoint();
    auto object = ThreadObject::FromHandle(thread);
    if (!object || !IsValidPriority(priority))
        return FALSE;
    object->SetPriority(priority);
    return TRUE;
}

int GetThreadPriority(HANDLE thread) {
    PlatformCheckpoint();
    auto object = ThreadObject::FromHandle(thread);
    return object ? object->Priority() : THREAD_PRIORITY_ERROR_RETURN;
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
    PlatformCheckpoint();
    auto object = ThreadObject::FromHandle(thread);
    if (!object || exitCode == nullptr)
        return FALSE;
    *exitCode = object->ExitCode();
    return TRUE;
}

DWORD SuspendThread(HANDLE thread) {
    PlatformCheckpoint();
    auto object = ThreadObject::FromHandle(thread);
    auto control = object ? object->Control() : nullptr;
    return control ? DWORD(control->Suspend()) : kBadSuspendCount;
}

DWORD ResumeThread(HANDLE thread) {
    PlatformCheckpoint();
    auto object = ThreadObject::FromHandle(thread);
    auto control = object ? object->Control() : nullptr;
    return control ? DWORD(control->Resume()) : kBadSuspendCount;
}
