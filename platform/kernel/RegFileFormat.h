// The registry file's text, "Windows Registry Editor Version 5.00": reads it into a key tree,
// naming the line of the first error, and writes a key tree back as that text.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RegistryKey;

class RegFileFormat {
public:
    struct Parsed {
        std::shared_ptr<RegistryKey> root; // null when the text does not parse
        int line = 0;                      // 1-based line of the first error
        std::string message;               // what is wrong there
    };

    // The root key, as the file names it at the start of every key path.
    static constexpr std::wstring_view kRootName = L"HKEY_LOCAL_MACHINE";

    static Parsed Parse(std::istream& in);
    static std::string Write(const RegistryKey& root);

    // Key and value names with control characters cannot be held by the file.
    static bool HasControlChars(std::wstring_view text);
    // The names of a sub-key path, or nothing when a name is empty (a leading or doubled
    // backslash) or holds a character the file cannot hold. One trailing backslash is allowed.
    static std::optional<std::vector<std::wstring>> SplitKeyPath(std::wstring_view path);
};
