#include "sim/board/Sha256.h"

Sha256::Sha256() {
    sha256_init(&m_context);
}

void Sha256::Update(const std::uint8_t* data, std::size_t size) {
    sha256_update(&m_context, size, data);
}

std::array<std::uint8_t, 32> Sha256::Finish() {
    std::array<std::uint8_t, SHA256_DIGEST_SIZE> digest{};
    sha256_digest(&m_context, digest.size(), digest.data());
    return digest;
}

std::string Sha256::Hex(const std::uint8_t* data, std::size_t size) {
    Sha256 sha;
    sha.Update(data, size);
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (std::uint8_t byte : sha.Finish()) {
        out += digits[byte >> 4];
        out += digits[byte & 15];
    }
    return out;
}
