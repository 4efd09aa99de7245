#include "platform/gdi/HandleWrappers.h"

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace {

struct Maps {
    std::mutex mutex;
    std::map<const void*, void*> permanent;
    std::map<std::pair<const void*, std::type_index>, std::shared_ptr<void>> temporary;
};

Maps& TheMaps() {
    static Maps maps;
    return maps;
}

} // namespace

void HandleWrappers::AttachPermanent(const void* handle, void* wrapper) {
    Maps& m = TheMaps();
    std::lock_guard lock(m.mutex);
    m.permanent[handle] = wrapper;
}

void HandleWrappers::DetachPermanent(const void* handle) {
    Maps& m = TheMaps();
    std::lock_guard lock(m.mutex);
    m.permanent.erase(handle);
}

void* HandleWrappers::FindPermanent(const void* handle) {
    Maps& m = TheMaps();
    std::lock_guard lock(m.mutex);
    const auto it = m.permanent.find(handle);
    return it == m.permanent.end() ? nullptr : it->second;
}

void* HandleWrappers::Lookup(const void* handle, std::type_index kind,
                             std::shared_ptr<void> (*make)(const void* handle)) {
    Maps& m = TheMaps();
    std::lock_guard lock(m.mutex);
    if (const auto it = m.permanent.find(handle); it != m.permanent.end()) {
        return it->second;
    }
    auto& slot = m.temporary[{handle, kind}];
    if (!slot) {
        slot = make(handle);
    }
    return slot.get();
}

void HandleWrappers::Forget(const void* handle) {
    std::vector<std::shared_ptr<void>> doomed;
    {
        Maps& m = TheMaps();
        std::lock_guard lock(m.mutex);
        for (auto it = m.temporary.begin(); it != m.temporary.end();) {
            if (it->first.first == handle) {
                doomed.push_back(std::move(it->second));
                it = m.temporary.erase(it);
            } else {
                ++it;
            }
        }
    }
}
