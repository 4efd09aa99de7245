#include "sim/control/GifPalette.h"

namespace {

// A channel's nearest level of levels evenly spaced from 0 to 255, and that level's value.
int LevelOf(std::uint32_t channel, int levels) {
    return int((channel * std::uint32_t(levels - 1) + 127) / 255);
}
std::uint32_t ValueOf(int level, int levels) {
    return std::uint32_t((level * 255 + (levels - 1) / 2) / (levels - 1));
}

} // namespace

GifPalette GifPalette::Of(const std::uint32_t* pixels, int stride, int left, int top, int width,
                          int height) {
    GifPalette palette;
    for (int y = top; y < top + height && palette.m_exact; ++y)
        for (int x = left; x < left + width; ++x) {
            const std::uint32_t rgb = pixels[std::size_t(y) * std::size_t(stride) + std::size_t(x)];
            if (palette.m_index.contains(rgb))
                continue;
            if (palette.m_colours.size() == kMaxColours) {
                palette.m_exact = false;
                break;
            }
            palette.m_index.emplace(rgb, std::uint8_t(palette.m_colours.size()));
            palette.m_colours.push_back(rgb);
        }
    if (!palette.m_exact) {
        // Too many colours for an exact table (a photograph, a colour gradient): the cube keeps
        // every pixel within half a level of its colour, with no search per pixel.
        palette.m_index.clear();
        palette.m_colours.clear();
        for (int r = 0; r < kRedLevels; ++r)
            for (int g = 0; g < kGreenLevels; ++g)
                for (int b = 0; b < kBlueLevels; ++b)
                    palette.m_colours.push_back(ValueOf(r, kRedLevels) << 16 |
                                                ValueOf(g, kGreenLevels) << 8 |
                                                ValueOf(b, kBlueLevels));
    }
    std::size_t size = 2;
    while (size < palette.m_colours.size())
        size *= 2;
    palette.m_colours.resize(size, 0);
    return palette;
}

std::uint8_t GifPalette::IndexOf(std::uint32_t rgb) const {
    if (m_exact)
        return m_index.at(rgb);
    const int r = LevelOf(rgb >> 16 & 0xFF, kRedLevels);
    const int g = LevelOf(rgb >> 8 & 0xFF, kGreenLevels);
    const int b = LevelOf(rgb & 0xFF, kBlueLevels);
    return std::uint8_t((r * kGreenLevels + g) * kBlueLevels + b);
}
