// The colour table of one GIF frame: exact when the frame has at most 256 colours, else the fixed
// 6 x 7 x 6 colour cube (each channel rounded to its nearest level), and each pixel's index in it.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

class GifPalette {
public:
    static constexpr std::size_t kMaxColours = 256;
    static constexpr int kRedLevels = 6;
    static constexpr int kGreenLevels = 7;
    static constexpr int kBlueLevels = 6;

    // The palette of the rectangle [left, left + width) x [top, top + height) of a picture that
    // is stride pixels wide (0x00RRGGBB).
    static GifPalette Of(const std::uint32_t* pixels, int stride, int left, int top, int width,
                         int height);

    bool Exact() const { return m_exact; }
    // The table's colours (0x00RRGGBB), padded with black to a power of two (GIF needs that).
    const std::vector<std::uint32_t>& Colours() const { return m_colours; }
    std::uint8_t IndexOf(std::uint32_t rgb) const;

private:
    bool m_exact = true;
    std::vector<std::uint32_t> m_colours;
    std::unordered_map<std::uint32_t, std::uint8_t> m_index;
};
