#include "platform/kernel/ThreadObject.h"

#include <atomic>

#include "platform/kernel/KernelThreads.h"

namespace {

// Ids start well above 0 and never reach 0xFFFFFFFF, which callers use as "no thread".
std::atomic<DWORD> g_nextId{0x100};

// The calling thread's object. A thread the platform did not start owns its object here and
// finishes it when it exits, so that its handles signal like those of any other thread.
struct CurrentSlot {
    std::shared_ptr<ThreadObject> object;
    bool ownedHere = false;

    ~CurrentSlot() {
        if (ownedHere)
            object->Finish(0);
    }
};
thread_local CurrentSlot t_current;

} // namespace

ThreadObject::ThreadObject(int priority) : m_id(g_nextId.fetch_add(1)), m_priority(priority) {}

std::shared_ptr<ThreadObject> ThreadObject::Current() {
    if (!t_current.object) {
        auto object = std::make_shared<ThreadObject>(THREAD_PRIORITY_NORMAL);
        object->m_control = ThreadControl::CurrentShared();
        t_current.object = std::move(object);
        t_current.ownedHere = true;
    }
    return t_current.object;
}

void ThreadObject::BecomeCurrent(std::shared_ptr<ThreadObject> object) {
    {
        std::lock_guard<std::mutex> lock(KernelObject::Lock());
        object->m_control = ThreadControl::CurrentShared();
    }
    t_current.object = std::move(object);
    t_current.ownedHere = false;
}

std::shared_ptr<ThreadObject> ThreadObject::FromHandle(HANDLE handle) {
    if (handle == PseudoHandle())
        return Current();
    return HandleTable::GetAs<ThreadObject>(handle);
}

std::shared_ptr<ThreadControl> ThreadObject::Control() const {
    std::lock_guard<std::mutex> lock(KernelObject::Lock());
    return m_control;
}

int ThreadObject::Priority() const {
    std::lock_guard<std::mutex> lock(KernelObject::Lock());
    return m_priority;
}

void ThreadObject::SetPriority(int priority) {
    std::lock_guard<std::mutex> lock(KernelObject::Lock());
    m_priority = priority;
}

DWORD ThreadObject::ExitCode() const {
    std::lock_guard<std::mutex> lock(KernelObject::Lock());
    return m_exitCode;
}

void ThreadObject::Finish(DWORD code) {
    std::shared_ptr<ThreadControl> control = Control();
    // Suspension must return at once before anyone can see the handle signalled.
    if (control)
        control->MarkFinished();
    std::lock_guard<std::mutex> lock(KernelObject::Lock());
    m_exitCode = code;
    m_finished = true;
    NotifyAllLocked();
}
