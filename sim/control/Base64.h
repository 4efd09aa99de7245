// Base64 (RFC 4648, with padding; nettle's coder): carries binary data such as a screenshot's
// PNG bytes inside the control socket's one-line JSON answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Base64 {
public:
    static std::string Encode(const std::vector<std::uint8_t>& bytes);
    // nullopt when the text is not well-formed base64 (wrong length, stray characters, bits
    // left over past the last byte).
    static std::optional<std::vector<std::uint8_t>> Decode(std::string_view text);
};
