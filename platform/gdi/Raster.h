// The painter of one drawing call: small exact primitives on a device context's surface, in
// the context's logical coordinates, clipped to its clip rectangles. While a Raster on the screen
// exists it holds the framebuffer's lock; when it ends, the screen counts as changed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/gdi/DeviceContext.h"

class Raster {
public:
    explicit Raster(const DeviceContext& dc);
    ~Raster();
    Raster(const Raster&) = delete;
    Raster& operator=(const Raster&) = delete;

    // A row of pixels x0 <= x <= x1 (inclusive bounds); empty when x0 > x1.
    struct Span {
        int x0;
        int x1;
    };
    // The rows of a filled ellipse or rounded rectangle whose bounding box spans the pixels
    // left..right and top..bottom inclusive; one entry per row from top.
    static std::vector<Span> EllipseRows(int left, int top, int right, int bottom);
    static std::vector<Span> RoundRectRows(int left, int top, int right, int bottom, int cornerW,
                                           int cornerH);

    // Calls op(pixel, surfaceX, surfaceY) for every pixel of row y, x0 <= x < x1, inside the clip.
    template <class Op> void Apply(int y, int x0, int x1, Op&& op) {
        Runs(y, x0, x1, [&](std::uint32_t* row, int sy, int from, int to) {
            for (int sx = from; sx < to; ++sx) {
                op(row[sx], sx, sy);
            }
        });
    }

    // Calls op(pixel, i) for every pixel of the box [x, x + width) x [y, y + height) inside the
    // clip, i being the index of the pixel laid on it from a width x height picture stored row
    // by row: the one walk of every picture drawn onto the surface.
    template <class Op> void Blit(int x, int y, int width, int height, Op&& op) {
        for (int row = 0; row < height; ++row) {
            const std::ptrdiff_t first = std::ptrdiff_t(row) * width - (x + m_origin.x);
            Runs(y + row, x, x + width, [&](std::uint32_t* line, int, int from, int to) {
                std::size_t i = std::size_t(first + from);
                for (int sx = from; sx < to; ++sx, ++i) {
                    op(line[sx], i);
                }
            });
        }
    }

    enum class Rounding { Down, Nearest };
    // The colour weight / whole of the way from one 0x00RRGGBB colour to another, channel by
    // channel, each channel's quotient rounded as asked.
    static std::uint32_t Mix(std::uint32_t from, std::uint32_t to, unsigned weight, unsigned whole,
                             Rounding rounding);

    // Narrows the clip to a rectangle in logical coordinates for the rest of this call.
    void Restrict(const RECT& logical);

    // Filled rectangle [left, right) x [top, bottom).
    void Fill(int left, int top, int right, int bottom, std::uint32_t rgb);
    void Plot(int x, int y, std::uint32_t rgb);
    // Rows of a shape (from EllipseRows / RoundRectRows) beginning at row top.
    void FillRows(int top, const std::vector<Span>& rows, std::uint32_t rgb);
    // The one-pixel edge of such a shape: its pixels that have a 4-neighbour outside it.
    void OutlineRows(int top, const std::vector<Span>& rows, std::uint32_t rgb);
    // The pixels of outer that are not in inner (inner starts at row innerTop).
    void RingRows(int top, const std::vector<Span>& outer, int innerTop,
                  const std::vector<Span>& inner, std::uint32_t rgb);
    // A line from (x0, y0) to (x1, y1), the end point excluded. Pens wider than one pixel
    // paint a width x width square centred on each point.
    void Line(int x0, int y0, int x1, int y1, int width, std::uint32_t rgb);

    // Reads a pixel of the surface (any pixel on it, clip or not).
    bool Read(int x, int y, std::uint32_t& rgb) const;
    bool Visible(int x, int y) const;

    std::uint32_t* Pixels() const { return m_pixels; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    POINT Origin() const { return m_origin; }

private:
    // Calls run(surfaceRow, sy, from, to) for each clip rectangle crossing row y, with the piece
    // [from, to) of x0 <= x < x1 (in surface coordinates) it lets through; that may be empty.
    template <class Run> void Runs(int y, int x0, int x1, Run&& run) {
        const int sy = y + m_origin.y;
        for (const RECT& c : m_clip) {
            if (sy < c.top || sy >= c.bottom) {
                continue;
            }
            const int from = std::max<int>(x0 + m_origin.x, c.left);
            const int to = std::min<int>(x1 + m_origin.x, c.right);
            run(m_pixels + std::size_t(sy) * std::size_t(m_width), sy, from, to);
        }
    }

    std::unique_lock<std::mutex> m_screenLock;
    std::uint32_t* m_pixels;
    int m_width;
    int m_height;
    POINT m_origin;
    std::vector<RECT> m_clip;
};
