// A screenshot read back from its PNG file, so that end-to-end tests can look at the pixels that
// norvane-ctl wrote.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class ScreenImage {
public:
    // Empty when the file cannot be read as a PNG.
    static ScreenImage Read(const std::filesystem::path& file);

    bool Empty() const { return m_rgb.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // "#RRGGBB" of the pixel at x, y.
    std::string At(int x, int y) const;
    // The colours of the pixels inside [left, top, right, bottom), commonest first.
    std::vector<std::string> ColoursByCount(int left, int top, int right, int bottom) const;

private:
    std::vector<std::uint8_t> m_rgb;
    int m_width = 0;
    int m_height = 0;
};
