// The device's registry: keys and typed values under HKEY_LOCAL_MACHINE, kept in memory and
// persisted in the state directory as a "Windows Registry Editor Version 5.00" text file. The
// file is read once at start and rewritten atomically (new file, sync, rename) on RegFlushKey
// and at a clean exit, so a crash never leaves a half-written registry behind.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/kernel/WinTypes.h"

struct RegistryKey;

using REGSAM = DWORD;
using PHKEY = HKEY*;

inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t(0x80000002));

// The device ignores the access mask; these are the values the launcher's code passes.
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Key names match case-insensitively; a sub-key path separates its names with backslashes.
// Key and value names with control characters are refused (ERROR_INVALID_PARAMETER): the
// registry file could not hold them. Missing keys and values give ERROR_FILE_NOT_FOUND, a
// handle that is not open ERROR_INVALID_HANDLE.
LONG RegOpenKeyEx(HKEY key, LPCTSTR subKey, DWORD options, REGSAM desired, PHKEY result);
LONG RegCreateKeyEx(HKEY key, LPCTSTR subKey, DWORD reserved, LPTSTR keyClass, DWORD options,
                    REGSAM desired, void* security, PHKEY result, LPDWORD disposition);
// data == NULL asks for the size only. A buffer too small gives ERROR_MORE_DATA with *dataSize
// set to the size needed. REG_SZ sizes count bytes of wide characters with the terminating null.
LONG RegQueryValueEx(HKEY key, LPCTSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                     LPDWORD dataSize);
LONG RegSetValueEx(HKEY key, LPCTSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                   DWORD dataSize);
// Writes the registry file (Registry::Save); ERROR_ACCESS_DENIED when it could not be written.
LONG RegFlushKey(HKEY key);
LONG RegCloseKey(HKEY key);

class Registry {
public:
    struct LoadResult {
        bool ok = true;
        int line = 0;        // 1-based line of the first error, 0 when the file is fine
        std::string message; // what is wrong there
        explicit operator bool() const { return ok; }
    };

    static Registry& Instance();

    // Replaces the registry with the contents of the file and remembers the file for saving.
    // A missing file gives an empty registry. A file that does not parse gives an empty
    // registry too, and is never overwritten afterwards: saving fails until the next Load.
    // Keys opened before a Load are closed by it.
    LoadResult Load(const std::filesystem::path& file);
    // Writes the registry to the remembered file atomically. True when written, or when no
    // file was ever loaded (the registry is then held in memory only); false when the loaded
    // file did not parse or the write failed, and the file on disk is then left as it was.
    bool Save();
    // The registry as the file holds it.
    std::string ToText() const;

    // Test hook: runs after the new file is written and synced, before it replaces the old one;
    // returning false abandons the save there, as a crash at that moment would.
    void SetBeforeRenameHookForTest(std::function<bool()> hook);

private:
    friend LONG RegOpenKeyEx(HKEY, LPCTSTR, DWORD, REGSAM, PHKEY);
    friend LONG RegCreateKeyEx(HKEY, LPCTSTR, DWORD, LPTSTR, DWORD, REGSAM, void*, PHKEY, LPDWORD);
    friend LONG RegQueryValueEx(HKEY, LPCTSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
    friend LONG RegSetValueEx(HKEY, LPCTSTR, DWORD, DWORD, const BYTE*, DWORD);
    friend LONG RegFlushKey(HKEY);
    friend LONG RegCloseKey(HKEY);

    Registry();

    std::shared_ptr<RegistryKey> KeyOfLocked(HKEY key) const;
    HKEY NewHandleLocked(std::shared_ptr<RegistryKey> key);
    LONG OpenLocked(HKEY key, LPCTSTR subKey, bool create, PHKEY result, LPDWORD disposition);
    bool SaveLocked();

    mutable std::mutex m_mutex;
    std::shared_ptr<RegistryKey> m_root;
    std::unordered_map<std::uintptr_t, std::shared_ptr<RegistryKey>> m_handles;
    std::uintptr_t m_nextHandle = 0x1000;
    std::filesystem::path m_file;
    bool m_fileUnreadable = false;
    std::function<bool()> m_beforeRename;
};
