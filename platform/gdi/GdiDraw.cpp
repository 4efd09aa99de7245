// The drawing calls. Filled shapes cover [left, right) x [top, bottom): a one-pixel pen draws
// the outermost pixels of that box, and without a pen the fill is one pixel smaller on the right
// and at the bottom, as on the platform. Lines exclude their end point.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiRegistry.h"
#include "platform/gdi/Raster.h"
#include "platform/kernel/ThreadControl.h"

namespace {

// A brush argument: a brush handle, or a system colour index + 1 as the platform allows.
std::shared_ptr<BrushObject> ResolveBrush(HBRUSH brush) {
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= std::uintptr_t(COLOR_STATICTEXT) + 1) {
        return std::make_shared<BrushObject>(false, SystemColour(int(value) - 1));
    }
    return GdiRegistry::GetAs<BrushObject>(brush);
}

void Normalise(int& a, int& b) {
    if (a > b) {
        std::swap(a, b);
    }
}

// The outline of a box [l, r) x [t, b) in a pen of width w: one pixel wide on the box's own
// edge pixels; wider pens are centred on those pixels.
void PenFrame(Raster& raster, int l, int t, int r, int b, int w, std::uint32_t rgb) {
    const int lo = w / 2;
    const int left = l - lo;
    const int top = t - lo;
    const int right = r - 1 - lo + w;
    const int bottom = b - 1 - lo + w;
    raster.Fill(left, top, right, std::min(top + w, bottom), rgb);
    raster.Fill(left, std::max(bottom - w, top), right, bottom, rgb);
    raster.Fill(left, top + w, std::min(left + w, right), bottom - w, rgb);
    raster.Fill(std::max(right - w, left), top + w, right, bottom - w, rgb);
}

using RowsOf = std::vector<Raster::Span> (*)(int, int, int, int, int, int);

std::vector<Raster::Span> EllipseRows(int l, int t, int r, int b, int, int) {
    return Raster::EllipseRows(l, t, r, b);
}

// Ellipse and rounded rectangle: rows of the shape for the inclusive box, filled with the
// brush, outlined with the pen.
BOOL DrawShape(HDC hdc, int l, int t, int r, int b, int cw, int ch, RowsOf rowsOf) {
    return WithDC(hdc, FALSE, [&](DeviceContext& dc) {
        Normalise(l, r);
        Normalise(t, b);
        Raster raster(dc);
        const PenObject& pen = dc.Pen();
        const BrushObject& brush = dc.Brush();
        if (pen.IsNull()) {
            if (!brush.hollow) {
                raster.FillRows(t, rowsOf(l, t, r - 2, b - 2, cw, ch), ToPixel(brush.colour));
            }
            return TRUE;
        }
        const std::vector<Raster::Span> rows = rowsOf(l, t, r - 1, b - 1, cw, ch);
        if (!brush.hollow) {
            raster.FillRows(t, rows, ToPixel(brush.colour));
        }
        if (pen.width == 1) {
            raster.OutlineRows(t, rows, ToPixel(pen.colour));
            return TRUE;
        }
        const int w = pen.width;
        const int lo = w / 2;
        const int ol = l - lo, ot = t - lo, orr = r - 1 - lo + w - 1, ob = b - 1 - lo + w - 1;
        raster.RingRows(ot, rowsOf(ol, ot, orr, ob, cw + w - 1, ch + w - 1), ot + w,
                        rowsOf(ol + w, ot + w, orr - w, ob - w, cw - w - 1, ch - w - 1),
                        ToPixel(pen.colour));
        return TRUE;
    });
}

} // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    return WithDC(hdc, 0, [&](DeviceContext& dc) {
        const auto b = ResolveBrush(brush);
        if (!rect || !b) {
            return 0;
        }
        if (!b->hollow) {
            Raster(dc).Fill(rect->left, rect->top, rect->right, rect->bottom, ToPixel(b->colour));
        }
        return 1;
    });
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    return WithDC(hdc, 0, [&](DeviceContext& dc) {
        const auto b = ResolveBrush(brush);
        if (!rect || !b) {
            return 0;
        }
        if (!b->hollow && rect->left < rect->right && rect->top < rect->bottom) {
            Raster raster(dc);
            PenFrame(raster, rect->left, rect->top, rect->right, rect->bottom, 1,
                     ToPixel(b->colour));
        }
        return 1;
    });
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    return WithDC(hdc, FALSE, [&](DeviceContext& dc) {
        Normalise(left, right);
        Normalise(top, bottom);
        Raster raster(dc);
        const PenObject& pen = dc.Pen();
        const BrushObject& brush = dc.Brush();
        if (pen.IsNull()) {
            if (!brush.hollow) {
                raster.Fill(left, top, right - 1, bottom - 1, ToPixel(brush.colour));
            }
            return TRUE;
        }
        if (!brush.hollow) {
            raster.Fill(left + 1, top + 1, right - 1, bottom - 1, ToPixel(brush.colour));
        }
        if (left < right && top < bottom) {
            PenFrame(raster, left, top, right, bottom, pen.width, ToPixel(pen.colour));
        }
        return TRUE;
    });
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
    return DrawShape(hdc, left, top, right, bottom, width, height, &Raster::RoundRectRows);
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    return DrawShape(hdc, left, top, right, bottom, 0, 0, &EllipseRows);
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
    return WithDC(hdc, FALSE, [&](DeviceContext& dc) {
        if (previous) {
            *previous = dc.position;
        }
        dc.position = POINT{x, y};
        return TRUE;
    });
}

BOOL LineTo(HDC hdc, int x, int y) {
    return WithDC(hdc, FALSE, [&](DeviceContext& dc) {
        const PenObject& pen = dc.Pen();
        if (!pen.IsNull()) {
            Raster(dc).Line(dc.position.x, dc.position.y, x, y, pen.width, ToPixel(pen.colour));
        }
        dc.position = POINT{x, y};
        return TRUE;
    });
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF colour) {
    return WithDC(hdc, CLR_INVALID, [&](DeviceContext& dc) {
        Raster raster(dc);
        if (!raster.Visible(x, y)) {
            return CLR_INVALID;
        }
        raster.Plot(x, y, ToPixel(colour));
        return colour & 0x00FFFFFF;
    });
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    return WithDC(hdc, CLR_INVALID, [&](DeviceContext& dc) {
        Raster raster(dc);
        std::uint32_t rgb = 0;
        if (!raster.Visible(x, y) || !raster.Read(x, y, rgb)) {
            return CLR_INVALID;
        }
        return ToColorRef(rgb);
    });
}

namespace {

bool UsesSource(DWORD rop) {
    return rop == SRCCOPY || rop == SRCAND || rop == SRCPAINT || rop == SRCINVERT;
}

std::uint32_t Combine(DWORD rop, std::uint32_t d, std::uint32_t s, std::uint32_t pattern) {
    switch (rop) {
    case SRCCOPY:
        return s;
    case SRCAND:
        return d & s;
    case SRCPAINT:
        return d | s;
    case SRCINVERT:
        return d ^ s;
    case PATCOPY:
        return pattern;
    case DSTINVERT:
        return ~d & 0x00FFFFFF;
    case BLACKNESS:
        return 0;
    default: // WHITENESS
        return 0x00FFFFFF;
    }
}

} // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop) {
    PlatformCheckpoint();
    if (!UsesSource(rop) && rop != PATCOPY && rop != DSTINVERT && rop != BLACKNESS &&
        rop != WHITENESS) {
        return FALSE;
    }
    std::lock_guard lock(GdiRegistry::Lock());
    const auto dst = GdiRegistry::GetDC(dest);
    const auto src = UsesSource(rop) ? GdiRegistry::GetDC(source) : nullptr;
    if (!dst || (UsesSource(rop) && !src) || width < 0 || height < 0) {
        return FALSE;
    }
    // The source rectangle is copied out first, so a blit within one surface (scrolling) reads
    // the pixels as they were. Pixels outside the source surface are left alone on the target.
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
    std::vector<char> valid(pixels.size(), 1);
    const bool sameScreen = src && src->IsScreen() && dst->IsScreen();
    const auto readSource = [&](const Raster& from) {
        const POINT so = from.Origin();
        for (int row = 0; row < height; ++row) {
            const int y0 = sy + row + so.y;
            const int x0 = sx + so.x;
            const int c0 = std::clamp(-x0, 0, width);
            const int c1 = std::clamp(from.Width() - x0, c0, width);
            const std::size_t at = std::size_t(row) * std::size_t(width);
            std::fill(valid.begin() + std::ptrdiff_t(at),
                      valid.begin() + std::ptrdiff_t(at + std::size_t(width)), 0);
            if (y0 < 0 || y0 >= from.Height()) {
                continue;
            }
            const std::uint32_t* line = from.Pixels() + std::size_t(y0) * std::size_t(from.Width());
            std::copy(line + (x0 + c0), line + (x0 + c1), pixels.begin() + std::ptrdiff_t(at) + c0);
            std::fill(valid.begin() + std::ptrdiff_t(at) + c0,
                      valid.begin() + std::ptrdiff_t(at) + c1, 1);
        }
    };
    if (src && !sameScreen) {
        readSource(Raster(*src));
    }
    Raster raster(*dst);
    if (sameScreen) {
        // Both contexts draw on the screen: read through the target, whose origin differs.
        const POINT so = src->Origin();
        const POINT dOrigin = raster.Origin();
        sx += so.x - dOrigin.x;
        sy += so.y - dOrigin.y;
        readSource(raster);
    }
    const std::uint32_t pattern = ToPixel(dst->Brush().colour);
    if (rop == PATCOPY && dst->Brush().hollow) {
        return TRUE;
    }
    raster.Blit(x, y, width, height, [&](std::uint32_t& d, std::size_t i) {
        if (!UsesSource(rop) || valid[i]) {
            d = Combine(rop, d, pixels[i], pattern);
        }
    });
    return TRUE;
}

namespace {

struct EdgeColours {
    int topLeft;
    int bottomRight;
};

// One layer of an edge on box r, on the sides in flags; the bottom-right colour owns the
// corners it shares with the top-left one.
void EdgeLayer(Raster& raster, const RECT& r, UINT flags, EdgeColours colours) {
    const std::uint32_t tl = ToPixel(SystemColour(colours.topLeft));
    const std::uint32_t br = ToPixel(SystemColour(colours.bottomRight));
    const int topEnd = (flags & BF_RIGHT) ? r.right - 1 : r.right;
    const int leftEnd = (flags & BF_BOTTOM) ? r.bottom - 1 : r.bottom;
    if (flags & BF_TOP) {
        raster.Fill(r.left, r.top, topEnd, r.top + 1, tl);
    }
    if (flags & BF_LEFT) {
        raster.Fill(r.left, r.top, r.left + 1, leftEnd, tl);
    }
    if (flags & BF_BOTTOM) {
        raster.Fill(r.left, r.bottom - 1, r.right, r.bottom, br);
    }
    if (flags & BF_RIGHT) {
        raster.Fill(r.right - 1, r.top, r.right, r.bottom, br);
    }
}

RECT Shrink(const RECT& r, UINT flags) {
    return RECT{r.left + ((flags & BF_LEFT) ? 1 : 0), r.top + ((flags & BF_TOP) ? 1 : 0),
                r.right - ((flags & BF_RIGHT) ? 1 : 0), r.bottom - ((flags & BF_BOTTOM) ? 1 : 0)};
}

} // namespace

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags) {
    return WithDC(hdc, FALSE, [&](DeviceContext& dc) {
        if (!rect) {
            return FALSE;
        }
        Raster raster(dc);
        RECT r = *rect;
        if (edge & BDR_OUTER) {
            EdgeLayer(raster, r, flags,
                      (edge & BDR_RAISEDOUTER) ? EdgeColours{COLOR_3DLIGHT, COLOR_3DDKSHADOW}
                                               : EdgeColours{COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT});
            r = Shrink(r, flags);
        }
        if (edge & BDR_INNER) {
            EdgeLayer(raster, r, flags,
                      (edge & BDR_RAISEDINNER) ? EdgeColours{COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}
                                               : EdgeColours{COLOR_3DDKSHADOW, COLOR_3DLIGHT});
            r = Shrink(r, flags);
        }
        if (flags & BF_MIDDLE) {
            raster.Fill(r.left, r.top, r.right, r.bottom, ToPixel(SystemColour(COLOR_BTNFACE)));
        }
        if (flags & BF_ADJUST) {
            *rect = r;
        }
        return TRUE;
    });
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
    return WithDC(hdc, FALSE, [&](DeviceContext& dc) {
        if (!rect) {
            return FALSE;
        }
        const RECT& r = *rect;
        if (r.left >= r.right || r.top >= r.bottom) {
            return TRUE;
        }
        // Every other pixel of the frame is inverted, in a checkerboard fixed to the surface, so
        // drawing the same rectangle again restores what was there.
        Raster raster(dc);
        const auto invert = [](std::uint32_t& p, int sx, int sy) {
            if (((sx + sy) & 1) == 0) {
                p ^= 0x00FFFFFF;
            }
        };
        raster.Apply(r.top, r.left, r.right, invert);
        if (r.bottom - 1 > r.top) {
            raster.Apply(r.bottom - 1, r.left, r.right, invert);
        }
        for (int y = r.top + 1; y < r.bottom - 1; ++y) {
            raster.Apply(y, r.left, r.left + 1, invert);
            if (r.right - 1 > r.left) {
                raster.Apply(y, r.right - 1, r.right, invert);
            }
        }
        return TRUE;
    });
}
