// The object behind an HIMAGELIST: the images' pixels and masks, all of one size.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi/GdiObject.h"

class ImageListObject : public GdiObject {
public:
    ImageListObject(int cx, int cy, bool masked) : cx(cx), cy(cy), masked(masked) {}
    DWORD Type() const override { return 0; }

    // Adds the images of bitmap; transparent(x, y) tells whether a bitmap pixel is masked out.
    // Returns the index of the first image added.
    template <class Transparent> int Add(const BitmapObject& bitmap, Transparent transparent) {
        const int first = int(images.size());
        const int count = std::max(1, bitmap.width / cx);
        for (int n = 0; n < count; ++n) {
            Image image{std::vector<std::uint32_t>(std::size_t(cx) * std::size_t(cy), 0),
                        std::vector<bool>(std::size_t(cx) * std::size_t(cy), masked)};
            for (int y = 0; y < cy && y < bitmap.height; ++y) {
                for (int x = 0; x < cx && n * cx + x < bitmap.width; ++x) {
                    const std::size_t i = std::size_t(y) * std::size_t(cx) + std::size_t(x);
                    image.pixels[i] = bitmap.At(n * cx + x, y);
                    image.transparent[i] = masked && transparent(n * cx + x, y);
                }
            }
            images.push_back(std::move(image));
        }
        return first;
    }

    struct Image {
        std::vector<std::uint32_t> pixels;
        std::vector<bool> transparent;
    };
    int cx;
    int cy;
    bool masked;
    std::vector<Image> images;
};
