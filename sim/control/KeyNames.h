// The names by which the control socket, norvane-ctl and the front ends call the twelve keys of
// the device's keypad, with the key code the keypad scanner reports for each.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

class KeyNames {
public:
    struct Key {
        const char* name;
        int code;
        const char* role; // what the key does on the device, for --help
    };

    static std::span<const Key> All();
    // The key code of a key name (names are matched exactly, in lower case).
    static std::optional<int> CodeOf(std::string_view name);
    // The name of a key code; empty for a code that is not a key.
    static std::string NameOf(int code);
    // One line per key: name, code and role.
    static std::string Describe();
};
