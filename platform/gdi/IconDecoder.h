// Reads icon files (ICONDIR with its entries): picks the entry closest to the size asked for
// and brings it to that size.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/gdi/GdiObject.h"

class IconDecoder {
public:
    // cx x cy is the size wanted; 0 x 0 takes the entry closest to the default icon size at
    // its own size. An entry of another size is scaled (nearest neighbour).
    static std::shared_ptr<IconObject> Decode(std::span<const std::uint8_t> bytes, int cx, int cy);
};
