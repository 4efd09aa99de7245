// The drawn keypad beside the screen in the window front end: where each of the twelve keys
// sits and which key a point falls on. Laid out like the device: numbered keys on top, the
// arrow cross with enter in its middle, select at the bottom.
#pragma once

#include <optional>
#include <span>

class KeypadPanel {
public:
    struct Key {
        int code;
        const char* label;
        int x, y, w, h; // relative to the panel's top-left corner
    };

    static constexpr int kWidth = 216;
    static constexpr int kHeight = 640;

    static std::span<const Key> Keys();
    // The key under the point (panel coordinates), if any.
    static std::optional<int> KeyAt(int x, int y);
};
