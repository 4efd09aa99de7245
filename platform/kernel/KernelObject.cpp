#include "platform/kernel/KernelObject.h"

#include <unordered_map>

namespace {

struct Table {
    std::mutex mutex;
    std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
    std::uintptr_t next = 0x100;
};

Table& TheTable() {
    static Table table;
    return table;
}

} // namespace

std::mutex& KernelObject::Lock() {
    static std::mutex lock;
    return lock;
}

std::condition_variable& KernelObject::Condition() {
    static std::condition_variable cv;
    return cv;
}

void KernelObject::NotifyAllLocked() {
    Condition().notify_all();
}

HANDLE HandleTable::Insert(std::shared_ptr<KernelObject> object) {
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    const std::uintptr_t id = t.next;
    t.next += 4;
    t.objects.emplace(id, std::move(object));
    return reinterpret_cast<HANDLE>(id);
}

std::shared_ptr<KernelObject> HandleTable::Get(HANDLE handle) {
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == t.objects.end() ? nullptr : it->second;
}

BOOL HandleTable::Close(HANDLE handle) {
    std::shared_ptr<KernelObject> doomed;
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == t.objects.end())
        return FALSE;
    doomed = std::move(it->second);
    t.objects.erase(it);
    return TRUE;
}

HANDLE HandleTable::Duplicate(HANDLE handle) {
    auto object = Get(handle);
    return object ? Insert(std::move(object)) : nullptr;
}
