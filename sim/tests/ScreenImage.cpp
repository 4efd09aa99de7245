#include "ScreenImage.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include <png.h>

ScreenImage ScreenImage::Read(const std::filesystem::path& file) {
    ScreenImage screen;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str()))
        return screen;
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
        return screen;
    screen.m_rgb = std::move(rgb);
    screen.m_width = int(image.width);
    screen.m_height = int(image.height);
    return screen;
}

std::string ScreenImage::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return "outside";
    const std::size_t i = (std::size_t(y) * std::size_t(m_width) + std::size_t(x)) * 3;
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", m_rgb[i], m_rgb[i + 1], m_rgb[i + 2]);
    return text;
}

std::vector<std::string> ScreenImage::ColoursByCount(int left, int top, int right,
                                                     int bottom) const {
    std::map<std::string, int> counts;
    for (int y = std::max(0, top); y < std::min(m_height, bottom); ++y)
        for (int x = std::max(0, left); x < std::min(m_width, right); ++x)
            ++counts[At(x, y)];
    std::vector<std::pair<int, std::string>> ranked;
    for (const auto& [colour, count] : counts)
        ranked.emplace_back(-count, colour);
    std::sort(ranked.begin(), ranked.end());
    std::vector<std::string> colours;
    for (const auto& entry : ranked)
        colours.push_back(entry.second);
    return colours;
}
