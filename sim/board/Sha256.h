// SHA-256 of a byte string (nettle's), so the simulator can show which image the co-processor
// holds in a form a user can compare with `sha256sum` of the file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include <nettle/sha2.h>

class Sha256 {
public:
    Sha256();

    void Update(const std::uint8_t* data, std::size_t size);
    // The digest of everything passed to Update; the object starts afresh afterwards.
    std::array<std::uint8_t, 32> Finish();

    // Lower-case hex digest of one byte string.
    static std::string Hex(const std::uint8_t* data, std::size_t size);

private:
    sha256_ctx m_context;
};
