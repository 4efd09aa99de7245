// Bytes written as hexadecimal text, as norvane-ctl takes a raw request's data on its command
// line ("5100750069006c00", or "51 00 75 00": white space may stand between whole bytes).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class HexBytes {
public:
    // The bytes, two digits each, high digit first, upper or lower case. Nothing when the text
    // holds no digit, a character that is neither a hex digit nor white space, or a byte with
    // one digit only; error then says which, with the 1-based position of the fault.
    static std::optional<std::vector<std::uint8_t>> Parse(std::string_view text,
                                                          std::string& error);
};
