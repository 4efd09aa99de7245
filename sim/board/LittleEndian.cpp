#include "sim/board/LittleEndian.h"

std::uint16_t LittleEndian::Get16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}

std::uint32_t LittleEndian::Get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void LittleEndian::Put16(std::uint8_t* p, std::uint32_t value) {
    p[0] = std::uint8_t(value);
    p[1] = std::uint8_t(value >> 8);
}

void LittleEndian::Put32(std::uint8_t* p, std::uint32_t value) {
    Put16(p, value);
    Put16(p + 2, value >> 16);
}
