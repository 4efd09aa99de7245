#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gdi/Framebuffer.h"

Raster::Raster(const DeviceContext& dc) : m_origin(dc.Origin()), m_clip(dc.Clip()) {
    if (dc.IsScreen()) {
        Framebuffer& fb = Framebuffer::Instance();
        m_screenLock = std::unique_lock(fb.Mutex());
        m_pixels = fb.PixelsLocked();
        m_width = Framebuffer::kWidth;
        m_height = Framebuffer::kHeight;
    } else {
        BitmapObject& bitmap = *dc.Bitmap();
        m_pixels = bitmap.pixels.data();
        m_width = bitmap.width;
        m_height = bitmap.height;
    }
}

Raster::~Raster() {
    if (m_screenLock.owns_lock()) {
        Framebuffer::Instance().MarkChangedLocked();
    }
}

std::vector<Raster::Span> Raster::EllipseRows(int left, int top, int right, int bottom) {
    std::vector<Span> rows;
    if (right < left || bottom < top) {
        return rows;
    }
    // Pixel x covers [x, x + 1); a pixel belongs to the ellipse inscribed in the box when its
    // centre lies inside. The middle row (or the two middle rows) reaches both sides of the box
    // and every row keeps at least its middle pixel, so the ellipse touches all four sides.
    const double cx = (left + right + 1) / 2.0;
    const double cy = (top + bottom + 1) / 2.0;
    const double a = (right - left + 1) / 2.0;
    const double b = (bottom - top + 1) / 2.0;
    for (int y = top; y <= bottom; ++y) {
        const double dy = (y + 0.5 - cy) / b;
        const double half = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
        int x0 = int(std::ceil(cx - half - 0.5));
        int x1 = int(std::floor(cx + half - 0.5));
        if (std::abs(y + 0.5 - cy) <= 0.5) {
            x0 = left;
            x1 = right;
        } else if (x0 > x1) {
            x0 = std::clamp(int(std::floor(cx - 0.5)), left, right);
            x1 = x0;
        }
        rows.push_back(Span{x0, x1});
    }
    return rows;
}

std::vector<Raster::Span> Raster::RoundRectRows(int left, int top, int right, int bottom,
                                                int cornerW, int cornerH) {
    std::vector<Span> rows;
    if (right < left || bottom < top) {
        return rows;
    }
    const int w = std::clamp(cornerW, 1, right - left + 1);
    const int h = std::clamp(cornerH, 1, bottom - top + 1);
    // The corners are the quarters of a w x h ellipse; its rows give how far each corner row
    // is indented.
    const std::vector<Span> corner = EllipseRows(0, 0, w - 1, h - 1);
    const int height = bottom - top + 1;
    for (int i = 0; i < height; ++i) {
        int indent = 0;
        if (i < h / 2) {
            indent = corner[std::size_t(i)].x0;
        } else if (height - 1 - i < h / 2) {
            indent = corner[std::size_t(h - 1 - (height - 1 - i))].x0;
        }
        rows.push_back(Span{left + indent, right - indent});
    }
    return rows;
}

std::uint32_t Raster::Mix(std::uint32_t from, std::uint32_t to, unsigned weight, unsigned whole,
                          Rounding rounding) {
    const unsigned bias = rounding == Rounding::Nearest ? whole / 2 : 0;
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned a = (from >> shift) & 0xFF;
        const unsigned b = (to >> shift) & 0xFF;
        out |= ((a * (whole - weight) + b * weight + bias) / whole) << shift;
    }
    return out;
}

void Raster::Restrict(const RECT& logical) {
    const RECT r{logical.left + m_origin.x, logical.top + m_origin.y, logical.right + m_origin.x,
                 logical.bottom + m_origin.y};
    std::vector<RECT> clip;
    for (const RECT& c : m_clip) {
        const RECT i{std::max(c.left, r.left), std::max(c.top, r.top), std::min(c.right, r.right),
                     std::min(c.bottom, r.bottom)};
        if (i.left < i.right && i.top < i.bottom) {
            clip.push_back(i);
        }
    }
    m_clip = std::move(clip);
}

void Raster::Fill(int left, int top, int right, int bottom, std::uint32_t rgb) {
    for (int y = top; y < bottom; ++y) {
        Apply(y, left, right, [rgb](std::uint32_t& p, int, int) { p = rgb; });
    }
}

void Raster::Plot(int x, int y, std::uint32_t rgb) {
    Fill(x, y, x + 1, y + 1, rgb);
}

void Raster::FillRows(int top, const std::vector<Span>& rows, std::uint32_t rgb) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].x0 <= rows[i].x1) {
            Fill(rows[i].x0, top + int(i), rows[i].x1 + 1, top + int(i) + 1, rgb);
        }
    }
}

void Raster::OutlineRows(int top, const std::vector<Span>& rows, std::uint32_t rgb) {
    const auto inside = [&](int row, int x) {
        if (row < 0 || row >= int(rows.size())) {
            return false;
        }
        const Span& s = rows[std::size_t(row)];
        return x >= s.x0 && x <= s.x1;
    };
    for (int i = 0; i < int(rows.size()); ++i) {
        const Span& s = rows[std::size_t(i)];
        for (int x = s.x0; x <= s.x1; ++x) {
            if (x == s.x0 || x == s.x1 || !inside(i - 1, x) || !inside(i + 1, x)) {
                Plot(x, top + i, rgb);
            }
        }
    }
}

void Raster::RingRows(int top, const std::vector<Span>& outer, int innerTop,
                      const std::vector<Span>& inner, std::uint32_t rgb) {
    for (int i = 0; i < int(outer.size()); ++i) {
        const int y = top + i;
        const Span& o = outer[std::size_t(i)];
        const int j = y - innerTop;
        if (j < 0 || j >= int(inner.size()) ||
            inner[std::size_t(j)].x0 > inner[std::size_t(j)].x1) {
            Fill(o.x0, y, o.x1 + 1, y + 1, rgb);
            continue;
        }
        const Span& n = inner[std::size_t(j)];
        Fill(o.x0, y, std::min(n.x0, o.x1 + 1), y + 1, rgb);
        Fill(std::max(n.x1 + 1, o.x0), y, o.x1 + 1, y + 1, rgb);
    }
}

void Raster::Line(int x0, int y0, int x1, int y1, int width, std::uint32_t rgb) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    const int lo = width > 1 ? width / 2 : 0;
    const int size = std::max(width, 1);
    int err = dx + dy;
    int x = x0;
    int y = y0;
    while (x != x1 || y != y1) {
        Fill(x - lo, y - lo, x - lo + size, y - lo + size, rgb);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

bool Raster::Read(int x, int y, std::uint32_t& rgb) const {
    const int sx = x + m_origin.x;
    const int sy = y + m_origin.y;
    if (sx < 0 || sy < 0 || sx >= m_width || sy >= m_height) {
        return false;
    }
    rgb = m_pixels[std::size_t(sy) * std::size_t(m_width) + std::size_t(sx)];
    return true;
}

bool Raster::Visible(int x, int y) const {
    const int sx = x + m_origin.x;
    const int sy = y + m_origin.y;
    return std::any_of(m_clip.begin(), m_clip.end(), [&](const RECT& c) {
        return sx >= c.left && sx < c.right && sy >= c.top && sy < c.bottom;
    });
}
