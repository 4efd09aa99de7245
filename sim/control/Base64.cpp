#include "sim/control/Base64.h"

#include <nettle/base64.h>

std::string Base64::Encode(const std::vector<std::uint8_t>& bytes) {
    std::string out(BASE64_ENCODE_RAW_LENGTH(bytes.size()), '\0');
    base64_encode_raw(out.data(), bytes.size(), bytes.data());
    return out;
}

// nettle's decoder skips white space and takes a third '=' after two; neither is well-formed
// padded base64, so both are refused before it decodes.
std::optional<std::vector<std::uint8_t>> Base64::Decode(std::string_view text) {
    if (text.size() % 4 != 0 || text.find_first_of(" \t\n\v\f\r") != std::string_view::npos ||
        text.ends_with("==="))
        return std::nullopt;
    std::vector<std::uint8_t> out(BASE64_DECODE_LENGTH(text.size()));
    base64_decode_ctx context;
    base64_decode_init(&context);
    std::size_t size = 0;
    if (!base64_decode_update(&context, &size, out.data(), text.size(), text.data()) ||
        !base64_decode_final(&context))
        return std::nullopt;
    out.resize(size);
    return out;
}
