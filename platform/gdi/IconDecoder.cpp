#include "platform/gdi/IconDecoder.h"

#include <cstdlib>
#include <limits>

#include "platform/gdi/DibDecoder.h"

namespace {

constexpr std::size_t kDirSize = 6;
constexpr std::size_t kEntrySize = 16;

std::uint32_t Read32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) |
           (std::uint32_t(b[at + 2]) << 16) | (std::uint32_t(b[at + 3]) << 24);
}

} // namespace

std::shared_ptr<IconObject> IconDecoder::Decode(std::span<const std::uint8_t> bytes, int cx,
                                                int cy) {
    if (bytes.size() < kDirSize || bytes[0] != 0 || bytes[1] != 0 || bytes[2] != 1 ||
        bytes[3] != 0) {
        return nullptr;
    }
    const std::size_t count = std::size_t(bytes[4] | (bytes[5] << 8));
    if (count == 0 || kDirSize + count * kEntrySize > bytes.size()) {
        return nullptr;
    }
    const int wantW = cx > 0 ? cx : DEFAULT_ICON_SIZE;
    const int wantH = cy > 0 ? cy : DEFAULT_ICON_SIZE;
    std::shared_ptr<IconObject> best;
    int bestDistance = std::numeric_limits<int>::max();
    int bestDepth = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kDirSize + i * kEntrySize;
        const std::uint32_t size = Read32(bytes, entry + 8);
        const std::uint32_t offset = Read32(bytes, entry + 12);
        if (offset > bytes.size() || size > bytes.size() - offset) {
            continue;
        }
        auto image = DibDecoder::DecodeIconImage(bytes.subspan(offset, size));
        if (!image) {
            continue;
        }
        // Closest size first; among equals the deeper colour (the bit count of its header).
        const int distance = std::abs(image->width - wantW) + std::abs(image->height - wantH);
        const int depth = bytes[offset + 14] | (bytes[offset + 15] << 8);
        if (distance < bestDistance || (distance == bestDistance && depth > bestDepth)) {
            best = std::move(image);
            bestDistance = distance;
            bestDepth = depth;
        }
    }
    if (!best || cx <= 0 || cy <= 0 || (best->width == cx && best->height == cy)) {
        return best;
    }
    return DibDecoder::Scale(*best, cx, cy);
}
