// SHA-256 (FIPS 180-4) of a byte string, so the simulator can show which image the
// co-processor holds in a form a user can compare with `sha256sum` of the file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
public:
    Sha256();

    void Update(const std::uint8_t* data, std::size_t size);
    // The digest of everything passed to Update; the object is spent afterwards.
    std::array<std::uint8_t, 32> Finish();

    // Lower-case hex digest of one byte string.
    static std::string Hex(const std::uint8_t* data, std::size_t size);

private:
    void Compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_block{};
    std::size_t m_blockUsed = 0;
    std::uint64_t m_totalBytes = 0;
};
