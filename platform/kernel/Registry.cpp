#include "platform/kernel/Registry.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

#include "platform/kernel/AsciiFold.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/RegFileFormat.h"
#include "platform/kernel/RegistryKey.h"
#include "platform/kernel/ThreadControl.h"

namespace fs = std::filesystem;

namespace {

std::shared_ptr<RegistryKey> EmptyRoot() {
    auto root = std::make_shared<RegistryKey>();
    root->path = RegFileFormat::kRootName;
    return root;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

} // namespace

Registry::Registry() : m_root(EmptyRoot()) {}

Registry& Registry::Instance() {
    static Registry registry;
    return registry;
}

Registry::LoadResult Registry::Load(const fs::path& file) {
    std::shared_ptr<RegistryKey> root = EmptyRoot();
    LoadResult result;

    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    const bool exists = fs::exists(file, ec);
    if (exists && !in) {
        result = LoadResult{false, 0, "cannot be read"};
    } else if (exists) {
        RegFileFormat::Parsed parsed = RegFileFormat::Parse(in);
        if (parsed.root)
            root = std::move(parsed.root);
        else
            result = LoadResult{false, parsed.line, std::move(parsed.message)};
    }

    std::lock_guard<std::mutex> lock(m_mutex);
    m_root = std::move(root);
    m_handles.clear();
    m_file = file;
    m_fileUnreadable = !result.ok;
    return result;
}

bool Registry::Save() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return SaveLocked();
}

bool Registry::SaveLocked() {
    if (m_file.empty())
        return true;
    if (m_fileUnreadable)
        return false;
    const std::string text = RegFileFormat::Write(*m_root);
    const fs::path dir = m_file.has_parent_path() ? m_file.parent_path() : fs::path(".");
    std::string temp = (dir / (m_file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && m_beforeRename)
        ok = m_beforeRename();
    if (!ok || ::rename(temp.c_str(), m_file.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself is durable only once the folder is synced.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

std::string Registry::ToText() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return RegFileFormat::Write(*m_root);
}

void Registry::SetBeforeRenameHookForTest(std::function<bool()> hook) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_beforeRename = std::move(hook);
}

std::shared_ptr<RegistryKey> Registry::KeyOfLocked(HKEY key) const {
    if (key == HKEY_LOCAL_MACHINE)
        return m_root;
    auto it = m_handles.find(reinterpret_cast<std::uintptr_t>(key));
    return it == m_handles.end() ? nullptr : it->second;
}

HKEY Registry::NewHandleLocked(std::shared_ptr<RegistryKey> key) {
    const std::uintptr_t id = m_nextHandle;
    m_nextHandle += 4;
    m_handles.emplace(id, std::move(key));
    return reinterpret_cast<HKEY>(id);
}

LONG Registry::OpenLocked(HKEY key, LPCTSTR subKey, bool create, PHKEY result,
                          LPDWORD disposition) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::shared_ptr<RegistryKey> current = KeyOfLocked(key);
    if (!current)
        return ERROR_INVALID_HANDLE;
    auto names = RegFileFormat::SplitKeyPath(subKey ? subKey : L"");
    if (!names)
        return ERROR_INVALID_PARAMETER;
    bool created = false;
    for (const std::wstring& name : *names) {
        auto it = current->subkeys.find(FoldAscii(name));
        if (it != current->subkeys.end()) {
            current = it->second;
            continue;
        }
        if (!create)
            return ERROR_FILE_NOT_FOUND;
        auto sub = std::make_shared<RegistryKey>();
        sub->path = current->path + L"\\" + name;
        current->subkeys.emplace(FoldAscii(name), sub);
        current = sub;
        created = true;
    }
    if (disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = NewHandleLocked(std::move(current));
    return ERROR_SUCCESS;
}

LONG RegOpenKeyEx(HKEY key, LPCTSTR subKey, DWORD, REGSAM, PHKEY result) {
    PlatformCheckpoint();
    Registry& registry = Registry::Instance();
    std::lock_guard<std::mutex> lock(registry.m_mutex);
    return registry.OpenLocked(key, subKey, false, result, nullptr);
}

LONG RegCreateKeyEx(HKEY key, LPCTSTR subKey, DWORD, LPTSTR, DWORD, REGSAM, void*, PHKEY result,
                    LPDWORD disposition) {
    PlatformCheckpoint();
    Registry& registry = Registry::Instance();
    std::lock_guard<std::mutex> lock(registry.m_mutex);
    return registry.OpenLocked(key, subKey, true, result, disposition);
}

LONG RegQueryValueEx(HKEY key, LPCTSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                     LPDWORD dataSize) {
    PlatformCheckpoint();
    Registry& registry = Registry::Instance();
    std::lock_guard<std::mutex> lock(registry.m_mutex);
    auto node = registry.KeyOfLocked(key);
    if (!node)
        return ERROR_INVALID_HANDLE;
    auto it = node->values.find(FoldAscii(valueName ? valueName : L""));
    if (it == node->values.end())
        return ERROR_FILE_NOT_FOUND;
    const RegistryKey::Value& value = it->second;
    if (type)
        *type = value.type;
    const DWORD size = DWORD(value.data.size());
    if (!data) {
        if (dataSize)
            *dataSize = size;
        return ERROR_SUCCESS;
    }
    if (!dataSize)
        return ERROR_INVALID_PARAMETER;
    if (*dataSize < size) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    if (size)
        std::memcpy(data, value.data.data(), size);
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG RegSetValueEx(HKEY key, LPCTSTR valueName, DWORD, DWORD type, const BYTE* data,
                   DWORD dataSize) {
    PlatformCheckpoint();
    Registry& registry = Registry::Instance();
    std::wstring name = valueName ? valueName : L"";
    std::string keyPath;
    {
        std::lock_guard<std::mutex> lock(registry.m_mutex);
        auto node = registry.KeyOfLocked(key);
        if (!node)
            return ERROR_INVALID_HANDLE;
        if ((!data && dataSize) || RegFileFormat::HasControlChars(name))
            return ERROR_INVALID_PARAMETER;
        std::vector<BYTE> bytes(data, data + (data ? dataSize : 0));
        node->values[FoldAscii(name)] = RegistryKey::Value{name, type, std::move(bytes)};
        keyPath = CString(node->path).ToUtf8();
    }
    EventLog::Instance().Record(
        "registry.value_set",
        {{"key", keyPath}, {"name", CString(name).ToUtf8()}, {"type", type}, {"size", dataSize}});
    return ERROR_SUCCESS;
}

LONG RegFlushKey(HKEY key) {
    PlatformCheckpoint();
    Registry& registry = Registry::Instance();
    bool ok = false;
    std::string file;
    {
        std::lock_guard<std::mutex> lock(registry.m_mutex);
        if (!registry.KeyOfLocked(key))
            return ERROR_INVALID_HANDLE;
        ok = registry.SaveLocked();
        file = registry.m_file.string();
    }
    EventLog::Instance().Record("registry.flushed", {{"file", file}, {"ok", ok}});
    return ok ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LONG RegCloseKey(HKEY key) {
    PlatformCheckpoint();
    Registry& registry = Registry::Instance();
    std::lock_guard<std::mutex> lock(registry.m_mutex);
    if (key == HKEY_LOCAL_MACHINE)
        return ERROR_SUCCESS;
    return registry.m_handles.erase(reinterpret_cast<std::uintptr_t>(key)) ? ERROR_SUCCESS
                                                                           : ERROR_INVALID_HANDLE;
}
