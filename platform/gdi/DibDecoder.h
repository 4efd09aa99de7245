// Reads device-independent bitmaps: BMP files (BITMAPFILEHEADER + BITMAPINFOHEADER) and the
// bitmaps inside icons, at 1, 4 and 8 bits per pixel with a palette and at 16, 24 and 32 bits,
// bottom-up or top-down. Every size and offset is checked against the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/gdi/GdiObject.h"

class DibDecoder {
public:
    // A whole BMP file, or a packed DIB (the header, palette and bits without a file header).
    static std::shared_ptr<BitmapObject> DecodeBmp(std::span<const std::uint8_t> bytes);

    // The image of one icon entry: a header whose height counts the colour rows and the AND
    // mask rows, then the palette, the colour rows and the mask rows.
    static std::shared_ptr<IconObject> DecodeIconImage(std::span<const std::uint8_t> bytes);

    // Nearest-neighbour scaling to width x height.
    static std::shared_ptr<BitmapObject> Scale(const BitmapObject& from, int width, int height);
    static std::shared_ptr<IconObject> Scale(const IconObject& from, int width, int height);

    // The largest picture accepted, in pixels.
    static constexpr std::int64_t kMaxPixels = 4096 * 4096;
};
