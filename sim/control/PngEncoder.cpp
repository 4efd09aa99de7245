#include "sim/control/PngEncoder.h"

#include <png.h>

std::vector<std::uint8_t> PngEncoder::Encode(const std::vector<std::uint32_t>& pixels, int width,
                                             int height, std::string& error) {
    if (width <= 0 || height <= 0 || pixels.size() != std::size_t(width) * std::size_t(height)) {
        error = "picture size does not match its pixels";
        return {};
    }
    std::vector<std::uint8_t> rgb;
    rgb.reserve(pixels.size() * 3);
    for (const std::uint32_t p : pixels) {
        rgb.push_back(std::uint8_t(p >> 16));
        rgb.push_back(std::uint8_t(p >> 8));
        rgb.push_back(std::uint8_t(p));
    }

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGB;
    // First call sizes the output, second writes it.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
        error = std::string("libpng: ") + image.message;
        return {};
    }
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr)) {
        error = std::string("libpng: ") + image.message;
        png_image_free(&image);
        return {};
    }
    out.resize(size);
    return out;
}
