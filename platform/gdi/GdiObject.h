// The objects behind GDI handles: pens, brushes, fonts, bitmaps and icons. Pixels are kept in
// the framebuffer's 0x00RRGGBB form, so bitmaps blit to the screen without conversion.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/WinGdi.h"

// COLORREF is 0x00BBGGRR; the framebuffer and bitmaps hold 0x00RRGGBB.
constexpr std::uint32_t ToPixel(COLORREF c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr COLORREF ToColorRef(std::uint32_t p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

// A system colour without the platform checkpoint, for use inside the drawing layer's lock.
COLORREF SystemColour(int index);

class GdiObject {
public:
    virtual ~GdiObject() = default;
    virtual DWORD Type() const = 0;

    // Device contexts this object is selected into; such an object cannot be deleted.
    int selections = 0;
    bool stock = false;
};

class PenObject : public GdiObject {
public:
    PenObject(int style, int width, COLORREF colour) : style(style), width(width), colour(colour) {}
    DWORD Type() const override { return OBJ_PEN; }
    bool IsNull() const { return style == PS_NULL; }

    int style;
    int width;
    COLORREF colour;
};

class BrushObject : public GdiObject {
public:
    BrushObject(bool hollow, COLORREF colour) : hollow(hollow), colour(colour) {}
    DWORD Type() const override { return OBJ_BRUSH; }

    bool hollow;
    COLORREF colour;
};

class FontObject : public GdiObject {
public:
    explicit FontObject(const LOGFONT& logFont) : logFont(logFont) {}
    DWORD Type() const override { return OBJ_FONT; }

    LOGFONT logFont;
};

class BitmapObject : public GdiObject {
public:
    BitmapObject(int width, int height, int bitsPerPixel)
        : width(width), height(height), bitsPerPixel(bitsPerPixel),
          pixels(std::size_t(width) * std::size_t(height), 0) {}
    DWORD Type() const override { return OBJ_BITMAP; }
    std::uint32_t& At(int x, int y) { return pixels[std::size_t(y) * std::size_t(width) + x]; }
    std::uint32_t At(int x, int y) const {
        return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }

    int width;
    int height;
    int bitsPerPixel; // as created or decoded; every bitmap stores 32-bit pixels
    std::vector<std::uint32_t> pixels;
};

// An icon: colour pixels with an opacity per pixel (255 where the AND mask lets the image
// through, 0 where the background shows; 32-bit icons may carry partial opacity).
class IconObject : public GdiObject {
public:
    IconObject(int width, int height)
        : width(width), height(height), pixels(std::size_t(width) * std::size_t(height), 0),
          alpha(pixels.size(), 0) {}
    DWORD Type() const override { return 0; }

    int width;
    int height;
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> alpha;
};
