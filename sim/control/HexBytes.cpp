#include "sim/control/HexBytes.h"

#include "platform/kernel/HexDigit.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A character for an error line: itself in quotes when printable ASCII, else its byte value.
std::string Shown(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F)
        return "'" + std::string(1, c) + "'";
    const char* digits = "0123456789ABCDEF";
    return std::string("byte 0x") + digits[byte >> 4] + digits[byte & 0xF];
}

} // namespace

std::optional<std::vector<std::uint8_t>> HexBytes::Parse(std::string_view text,
                                                         std::string& error) {
    std::vector<std::uint8_t> bytes;
    int high = -1; // the first digit of a byte not yet complete
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::string at = " at position " + std::to_string(i + 1);
        if (IsSpace(c)) {
            if (high >= 0) {
                error = "a byte of one hex digit before the white space" + at;
                return std::nullopt;
            }
            continue;
        }
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            error = Shown(c) + at + " is not a hex digit";
            return std::nullopt;
        }
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(std::uint8_t(high << 4 | digit));
            high = -1;
        }
    }
    if (high >= 0) {
        error = "an odd number of hex digits: the last byte has one";
        return std::nullopt;
    }
    if (bytes.empty()) {
        error = "no hex digits";
        return std::nullopt;
    }
    return bytes;
}
