#include "platform/kernel/Resources.h"

#include <algorithm>
#include <cwctype>
#include <deque>
#include <mutex>
#include <string>

#include "platform/kernel/ThreadControl.h"

namespace {

struct Module {
    std::wstring path;
    const ResourceModuleData* data = nullptr;
};

// Modules are never unregistered: their handles and data stay valid until the process ends.
struct ModuleTable {
    std::mutex mutex;
    std::deque<Module> modules;
    Module* executable = nullptr;
    Module* resources = nullptr;
};

ModuleTable& Table() {
    static ModuleTable table;
    return table;
}

HINSTANCE HandleOf(Module* module) {
    return reinterpret_cast<HINSTANCE>(module);
}

bool SameText(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
        return std::towupper(wint_t(x)) == std::towupper(wint_t(y));
    });
}

std::wstring_view FileNameOf(std::wstring_view path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

// The registered module behind a handle (NULL: the executable), or nullptr. Caller holds the lock.
const Module* ModuleOfLocked(ModuleTable& table, HINSTANCE handle) {
    if (handle == nullptr) {
        return table.executable;
    }
    for (Module& m : table.modules) {
        if (HandleOf(&m) == handle) {
            return &m;
        }
    }
    return nullptr;
}

// The module's tables are constant, so they are read without the lock once found.
const ResourceModuleData* DataOf(HINSTANCE handle) {
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    const Module* module = ModuleOfLocked(table, handle);
    return module ? module->data : nullptr;
}

bool NameMatches(const ResourceName& name, LPCTSTR wanted) {
    if (wanted == nullptr) {
        return false;
    }
    if (IS_INTRESOURCE(wanted)) {
        return name.id != 0 && name.id == WORD(reinterpret_cast<std::uintptr_t>(wanted));
    }
    return name.id == 0 && SameText(name.name, wanted);
}

} // namespace

HINSTANCE RegisterResourceModule(LPCTSTR modulePath, const ResourceModuleData& data) {
    PlatformCheckpoint();
    if (modulePath == nullptr || *modulePath == 0) {
        return nullptr;
    }
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    for (Module& m : table.modules) {
        if (SameText(m.path, modulePath)) {
            return m.data == &data ? HandleOf(&m) : nullptr;
        }
    }
    Module& module = table.modules.emplace_back(Module{modulePath, &data});
    const std::wstring_view path = module.path;
    if (table.executable == nullptr && path.size() >= 4 &&
        SameText(path.substr(path.size() - 4), L".exe")) {
        table.executable = &module;
    }
    return HandleOf(&module);
}

HMODULE GetModuleHandle(LPCTSTR moduleName) {
    PlatformCheckpoint();
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (moduleName == nullptr) {
        return table.executable ? HandleOf(table.executable) : nullptr;
    }
    const std::wstring_view wanted = moduleName;
    for (Module& m : table.modules) {
        if (SameText(m.path, wanted) || SameText(FileNameOf(m.path), wanted)) {
            return HandleOf(&m);
        }
    }
    return nullptr;
}

DWORD GetModuleFileName(HMODULE module, LPTSTR fileName, DWORD size) {
    PlatformCheckpoint();
    std::wstring path;
    {
        ModuleTable& table = Table();
        std::lock_guard lock(table.mutex);
        const Module* found = ModuleOfLocked(table, module);
        if (found == nullptr) {
            return 0;
        }
        path = found->path;
    }
    if (fileName == nullptr || size == 0) {
        return 0;
    }
    if (path.size() < size) {
        std::copy(path.begin(), path.end(), fileName);
        fileName[path.size()] = L'\0';
        return DWORD(path.size());
    }
    std::copy_n(path.begin(), size - 1, fileName);
    fileName[size - 1] = L'\0';
    return size;
}

HINSTANCE AfxGetInstanceHandle() {
    PlatformCheckpoint();
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    return table.executable ? HandleOf(table.executable) : nullptr;
}

HINSTANCE AfxGetResourceHandle() {
    PlatformCheckpoint();
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    Module* module = table.resources ? table.resources : table.executable;
    return module ? HandleOf(module) : nullptr;
}

void AfxSetResourceHandle(HINSTANCE module) {
    PlatformCheckpoint();
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.resources = const_cast<Module*>(ModuleOfLocked(table, module));
}

std::optional<std::wstring_view> FindStringResource(HINSTANCE module, UINT id) {
    PlatformCheckpoint();
    const ResourceModuleData* data = DataOf(module);
    if (data == nullptr) {
        return std::nullopt;
    }
    const auto found =
        std::lower_bound(data->strings.begin(), data->strings.end(), id,
                         [](const StringResource& s, UINT wanted) { return s.id < wanted; });
    if (found == data->strings.end() || found->id != id) {
        return std::nullopt;
    }
    return found->text;
}

const DialogTemplate* FindDialogTemplate(HINSTANCE module, LPCTSTR name) {
    PlatformCheckpoint();
    const ResourceModuleData* data = DataOf(module);
    if (data == nullptr) {
        return nullptr;
    }
    for (const DialogTemplate& dialog : data->dialogs) {
        if (NameMatches(dialog.name, name)) {
            return &dialog;
        }
    }
    return nullptr;
}

HRSRC FindResource(HMODULE module, LPCTSTR name, LPCTSTR type) {
    PlatformCheckpoint();
    const ResourceModuleData* data = DataOf(module);
    if (data == nullptr) {
        return nullptr;
    }
    for (const RawResource& raw : data->raw) {
        if (NameMatches(raw.type, type) && NameMatches(raw.name, name)) {
            return reinterpret_cast<HRSRC>(const_cast<RawResource*>(&raw));
        }
    }
    return nullptr;
}

namespace {
// The resource behind a handle from FindResource, checked against the module's table.
const RawResource* RawOf(HMODULE module, HRSRC resource) {
    const ResourceModuleData* data = DataOf(module);
    if (data == nullptr || resource == nullptr) {
        return nullptr;
    }
    for (const RawResource& raw : data->raw) {
        if (reinterpret_cast<const void*>(&raw) == reinterpret_cast<const void*>(resource)) {
            return &raw;
        }
    }
    return nullptr;
}
} // namespace

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    PlatformCheckpoint();
    const RawResource* raw = RawOf(module, resource);
    return raw ? const_cast<BYTE*>(raw->bytes.data()) : nullptr;
}

LPVOID LockResource(HGLOBAL data) {
    PlatformCheckpoint();
    return data;
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
    PlatformCheckpoint();
    const RawResource* raw = RawOf(module, resource);
    return raw ? DWORD(raw->bytes.size()) : 0;
}
