// Little-endian 16- and 32-bit fields in a byte buffer, as the co-processor's frames and the
// NSSP FIFO's words lie in memory.
#pragma once

#include <cstdint>

class LittleEndian {
public:
    static std::uint16_t Get16(const std::uint8_t* p);
    static std::uint32_t Get32(const std::uint8_t* p);
    static void Put16(std::uint8_t* p, std::uint32_t value);
    static void Put32(std::uint8_t* p, std::uint32_t value);
};
