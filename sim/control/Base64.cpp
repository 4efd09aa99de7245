#include "sim/control/Base64.h"

#include <array>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int, 256> MakeReverse() {
    std::array<int, 256> table{};
    for (int& v : table)
        v = -1;
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = i;
    return table;
}
constexpr std::array<int, 256> kReverse = MakeReverse();

} // namespace

std::string Base64::Encode(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t v =
            (std::uint32_t(bytes[i]) << 16) | (std::uint32_t(bytes[i + 1]) << 8) | bytes[i + 2];
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t v = std::uint32_t(bytes[i]) << 16;
        if (rest == 2)
            v |= std::uint32_t(bytes[i + 1]) << 8;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> Base64::Decode(std::string_view text) {
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        // Padding may only end the text: "xx==" or "xxx=".
        const int pad = last ? (text[i + 3] == '=') + (text[i + 2] == '=') : 0;
        if (pad == 1 && text[i + 2] == '=')
            return std::nullopt;
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k) {
            const int d = k >= 4 - pad ? 0 : kReverse[static_cast<unsigned char>(text[i + k])];
            if (d < 0)
                return std::nullopt;
            v = (v << 6) | std::uint32_t(d);
        }
        out.push_back(std::uint8_t(v >> 16));
        if (pad < 2)
            out.push_back(std::uint8_t(v >> 8));
        if (pad < 1)
            out.push_back(std::uint8_t(v));
    }
    return out;
}
