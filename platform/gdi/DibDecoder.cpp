#include "platform/gdi/DibDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

std::uint32_t Read32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) |
           (std::uint32_t(b[at + 2]) << 16) | (std::uint32_t(b[at + 3]) << 24);
}

std::uint16_t Read16(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint16_t(b[at] | (b[at + 1] << 8));
}

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

// A DIB's colour rows decoded into 0x00RRGGBB pixels, top row first.
struct Dib {
    int width = 0;
    int height = 0; // rows of colour data (for icons: half the header's height)
    int bitsPerPixel = 0;
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> alphaBytes; // 32-bit images: the fourth byte of each pixel
    std::size_t endOfBits = 0;            // offset just past the colour rows
    bool bottomUp = true;
};

std::size_t Stride(int width, int bitsPerPixel) {
    return (std::size_t(width) * std::size_t(bitsPerPixel) + 31) / 32 * 4;
}

// Decodes the header at offset 0 of dib; bitsAt is where the rows start (nullopt: right after
// the palette). heightDivisor is 2 for icon images.
std::optional<Dib> DecodeDib(std::span<const std::uint8_t> dib, std::optional<std::size_t> bitsAt,
                             int heightDivisor) {
    if (dib.size() < 40) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = Read32(dib, 0);
    if (headerSize < 40 || headerSize > dib.size()) {
        return std::nullopt;
    }
    const auto width = std::int32_t(Read32(dib, 4));
    const auto rawHeight = std::int32_t(Read32(dib, 8));
    const int bpp = Read16(dib, 14);
    const std::uint32_t compression = Read32(dib, 16);
    const std::uint32_t colorsUsed = Read32(dib, 32);
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) {
        return std::nullopt;
    }
    Dib out;
    out.bottomUp = rawHeight > 0;
    out.width = width;
    out.height = std::abs(rawHeight) / heightDivisor;
    out.bitsPerPixel = bpp;
    if (out.height <= 0 || std::int64_t(out.width) * out.height > DibDecoder::kMaxPixels) {
        return std::nullopt;
    }
    const bool indexed = bpp == 1 || bpp == 4 || bpp == 8;
    if (!indexed && bpp != 16 && bpp != 24 && bpp != 32) {
        return std::nullopt;
    }
    // Bit fields are accepted only in the standard layouts, which read as BI_RGB does.
    if (compression != kBiRgb && !(compression == kBiBitfields && (bpp == 16 || bpp == 32))) {
        return std::nullopt;
    }
    std::size_t paletteAt = headerSize;
    if (compression == kBiBitfields) {
        // The masks follow a 40-byte header, or sit inside a larger one at the same place.
        if (52 > dib.size()) {
            return std::nullopt;
        }
        const bool standard = bpp == 32 ? Read32(dib, 40) == 0xFF0000 &&
                                              Read32(dib, 44) == 0xFF00 && Read32(dib, 48) == 0xFF
                                        : Read32(dib, 40) == 0x7C00 && Read32(dib, 44) == 0x3E0 &&
                                              Read32(dib, 48) == 0x1F;
        if (!standard) {
            return std::nullopt;
        }
        if (headerSize == 40) {
            paletteAt += 12;
        }
    }
    std::vector<std::uint32_t> palette;
    if (indexed) {
        const std::uint32_t maxColors = 1u << bpp;
        const std::uint32_t count = colorsUsed == 0 ? maxColors : std::min(colorsUsed, maxColors);
        if (paletteAt + std::size_t(count) * 4 > dib.size()) {
            return std::nullopt;
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            palette.push_back(Read32(dib, paletteAt + std::size_t(i) * 4) & 0x00FFFFFF);
        }
        palette.resize(maxColors, 0);
    }
    const std::size_t rowsAt = bitsAt.value_or(paletteAt + (indexed ? palette.size() * 4 : 0));
    const std::size_t stride = Stride(out.width, bpp);
    const std::uint64_t end =
        std::uint64_t(rowsAt) + std::uint64_t(stride) * std::uint64_t(out.height);
    if (end > dib.size()) {
        return std::nullopt;
    }
    out.endOfBits = std::size_t(end);
    out.pixels.resize(std::size_t(out.width) * std::size_t(out.height));
    if (bpp == 32) {
        out.alphaBytes.resize(out.pixels.size());
    }
    for (int row = 0; row < out.height; ++row) {
        const std::size_t at = rowsAt + std::size_t(row) * stride;
        const int y = out.bottomUp ? out.height - 1 - row : row;
        for (int x = 0; x < out.width; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(out.width) + std::size_t(x);
            std::uint32_t p = 0;
            switch (bpp) {
            case 1:
                p = palette[(dib[at + std::size_t(x) / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                p = palette[(dib[at + std::size_t(x) / 2] >> (x % 2 ? 0 : 4)) & 0xF];
                break;
            case 8:
                p = palette[dib[at + std::size_t(x)]];
                break;
            case 16: {
                // 5-5-5: each field widened to 8 bits.
                const std::uint16_t v = Read16(dib, at + std::size_t(x) * 2);
                const auto widen = [](unsigned f) { return (f << 3) | (f >> 2); };
                p = (widen((v >> 10) & 31) << 16) | (widen((v >> 5) & 31) << 8) | widen(v & 31);
                break;
            }
            case 24: {
                const std::size_t b = at + std::size_t(x) * 3;
                p = (std::uint32_t(dib[b + 2]) << 16) | (std::uint32_t(dib[b + 1]) << 8) | dib[b];
                break;
            }
            default: {
                const std::uint32_t v = Read32(dib, at + std::size_t(x) * 4);
                p = v & 0x00FFFFFF;
                out.alphaBytes[i] = std::uint8_t(v >> 24);
                break;
            }
            }
            out.pixels[i] = p;
        }
    }
    return out;
}

} // namespace

std::shared_ptr<BitmapObject> DibDecoder::DecodeBmp(std::span<const std::uint8_t> bytes) {
    std::optional<Dib> dib;
    if (bytes.size() >= 14 && bytes[0] == 'B' && bytes[1] == 'M') {
        const std::uint32_t offBits = Read32(bytes, 10);
        if (offBits < 14 || offBits > bytes.size()) {
            return nullptr;
        }
        dib = DecodeDib(bytes.subspan(14), std::size_t(offBits) - 14, 1);
    } else {
        dib = DecodeDib(bytes, std::nullopt, 1);
    }
    if (!dib) {
        return nullptr;
    }
    auto bitmap = std::make_shared<BitmapObject>(dib->width, dib->height, dib->bitsPerPixel);
    bitmap->pixels = std::move(dib->pixels);
    return bitmap;
}

std::shared_ptr<IconObject> DibDecoder::DecodeIconImage(std::span<const std::uint8_t> bytes) {
    const std::optional<Dib> dib = DecodeDib(bytes, std::nullopt, 2);
    if (!dib) {
        return nullptr;
    }
    auto icon = std::make_shared<IconObject>(dib->width, dib->height);
    icon->pixels = dib->pixels;
    // A 32-bit image with any alpha carries its own opacity; otherwise the AND mask decides
    // (a set bit lets the background show).
    const bool hasAlpha = std::any_of(dib->alphaBytes.begin(), dib->alphaBytes.end(),
                                      [](std::uint8_t a) { return a != 0; });
    if (hasAlpha) {
        icon->alpha = dib->alphaBytes;
        return icon;
    }
    const std::size_t stride = Stride(dib->width, 1);
    if (dib->endOfBits + stride * std::size_t(dib->height) > bytes.size()) {
        return nullptr;
    }
    for (int row = 0; row < dib->height; ++row) {
        const std::size_t at = dib->endOfBits + std::size_t(row) * stride;
        const int y = dib->bottomUp ? dib->height - 1 - row : row;
        for (int x = 0; x < dib->width; ++x) {
            const bool transparent = (bytes[at + std::size_t(x) / 8] >> (7 - x % 8)) & 1;
            icon->alpha[std::size_t(y) * std::size_t(dib->width) + std::size_t(x)] =
                transparent ? 0 : 255;
        }
    }
    return icon;
}

std::shared_ptr<BitmapObject> DibDecoder::Scale(const BitmapObject& from, int width, int height) {
    auto to = std::make_shared<BitmapObject>(width, height, from.bitsPerPixel);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            to->At(x, y) = from.At(x * from.width / width, y * from.height / height);
        }
    }
    return to;
}

std::shared_ptr<IconObject> DibDecoder::Scale(const IconObject& from, int width, int height) {
    auto to = std::make_shared<IconObject>(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t src =
                std::size_t(y * from.height / height) * std::size_t(from.width) +
                std::size_t(x * from.width / width);
            const std::size_t dst = std::size_t(y) * std::size_t(width) + std::size_t(x);
            to->pixels[dst] = from.pixels[src];
            to->alpha[dst] = from.alpha[src];
        }
    }
    return to;
}
