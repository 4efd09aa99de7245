// One key of the device registry in memory: its full path, its sub-keys and its typed values.
// The registry's store and the registry file's format both work on a tree of these.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/kernel/Registry.h"

struct RegistryKey {
    struct Value {
        std::wstring name;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };

    std::wstring path; // "HKEY_LOCAL_MACHINE\\I18N"
    // Both maps are keyed by the folded (lower-case) name: names match case-insensitively but
    // keep the spelling they were created with.
    std::map<std::wstring, std::shared_ptr<RegistryKey>> subkeys;
    std::map<std::wstring, Value> values;
};
