#include "sim/frontend/KeypadPanel.h"

#include <array>

namespace {

constexpr int kKeyW = 56;
constexpr int kKeyH = 44;
constexpr int kGap = 8;
constexpr int kLeft = 16;
constexpr int kTop = 120;

constexpr int Col(int c) {
    return kLeft + c * (kKeyW + kGap);
}
constexpr int Row(int r) {
    return kTop + r * (kKeyH + kGap);
}

constexpr std::array<KeypadPanel::Key, 12> kKeys = {{
    {1, "1", Col(0), Row(0), kKeyW, kKeyH},
    {2, "2", Col(1), Row(0), kKeyW, kKeyH},
    {3, "3", Col(2), Row(0), kKeyW, kKeyH},
    {9, "9", Col(0), Row(1), kKeyW, kKeyH},
    {10, "0", Col(1), Row(1), kKeyW, kKeyH},
    {4, "About", Col(2), Row(1), kKeyW, kKeyH},
    {5, "Up", Col(1), Row(2) + kGap, kKeyW, kKeyH},
    {6, "Left", Col(0), Row(3) + kGap, kKeyW, kKeyH},
    {11, "Enter", Col(1), Row(3) + kGap, kKeyW, kKeyH},
    {7, "Right", Col(2), Row(3) + kGap, kKeyW, kKeyH},
    {8, "Down", Col(1), Row(4) + kGap, kKeyW, kKeyH},
    {0, "Select", Col(0), Row(5) + 2 * kGap, 3 * kKeyW + 2 * kGap, kKeyH},
}};

} // namespace

std::span<const KeypadPanel::Key> KeypadPanel::Keys() {
    return kKeys;
}

std::optional<int> KeypadPanel::KeyAt(int x, int y) {
    for (const Key& k : kKeys)
        if (x >= k.x && x < k.x + k.w && y >= k.y && y < k.y + k.h)
            return k.code;
    return std::nullopt;
}
