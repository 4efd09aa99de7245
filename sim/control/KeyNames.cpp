#include "sim/control/KeyNames.h"

#include <array>

namespace {

constexpr std::array<KeyNames::Key, 12> kKeys = {{
    {"select", 0, "toggles the selection in a multi-select list"},
    {"1", 1, "numbered key, no fixed role"},
    {"2", 2, "numbered key, no fixed role"},
    {"3", 3, "numbered key, no fixed role"},
    {"about", 4, "opens the About box from the launcher"},
    {"up", 5, "up"},
    {"left", 6, "left"},
    {"right", 7, "right"},
    {"down", 8, "down"},
    {"9", 9, "numbered key, no fixed role"},
    {"0", 10, "numbered key (code 10), no fixed role"},
    {"enter", 11, "activates the focused item or button"},
}};

} // namespace

std::span<const KeyNames::Key> KeyNames::All() {
    return kKeys;
}

std::optional<int> KeyNames::CodeOf(std::string_view name) {
    for (const Key& k : kKeys)
        if (name == k.name)
            return k.code;
    return std::nullopt;
}

std::string KeyNames::NameOf(int code) {
    for (const Key& k : kKeys)
        if (k.code == code)
            return k.name;
    return {};
}

std::string KeyNames::Describe() {
    std::string out;
    for (const Key& k : kKeys) {
        std::string name = k.name;
        name.resize(8, ' ');
        out += "  " + name + "code " + std::to_string(k.code) + (k.code < 10 ? "   " : "  ") +
               k.role + "\n";
    }
    return out;
}
