// Text: DrawText, ExtTextOut and the measuring calls, all in the System face. Text is drawn
// cell by cell: in OPAQUE mode each character's cell (advance x line height) takes the
// background colour first, then the glyph's pixels take the text colour.
#include <algorithm>
#include <cwchar>
#include <string_view>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/GdiRegistry.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/TextLayout.h"
#include "platform/kernel/ThreadControl.h"

namespace {

std::wstring_view TextOf(LPCTSTR text, int length) {
    if (!text) {
        return {};
    }
    return length < 0 ? std::wstring_view(text, std::wcslen(text))
                      : std::wstring_view(text, std::size_t(length));
}

// Draws one line with its top-left corner at (x, y); returns its width.
int DrawLine(Raster& raster, const DeviceContext& dc, FontFace& face, int x, int y,
             std::wstring_view text, const std::vector<bool>* underlined, const int* dx) {
    const std::uint32_t ink = ToPixel(dc.textColour);
    const std::uint32_t paper = ToPixel(dc.bkColour);
    const int height = face.Height();
    const int baseline = y + face.Ascent();
    int pen = x;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const FontFace::Glyph& g = face.GlyphOf(text[i]);
        const int advance = dx ? dx[i] : g.advance;
        if (dc.bkMode == OPAQUE) {
            raster.Fill(pen, y, pen + advance, y + height, paper);
        }
        for (int row = 0; row < g.height; ++row) {
            for (int col = 0; col < g.width; ++col) {
                if (g.ink[std::size_t(row) * std::size_t(g.width) + std::size_t(col)]) {
                    raster.Plot(pen + g.left + col, baseline - g.top + row, ink);
                }
            }
        }
        if (underlined && (*underlined)[i]) {
            raster.Fill(pen, baseline + 1, pen + advance, baseline + 2, ink);
        }
        pen += advance;
    }
    return pen - x;
}

template <class R, class F> R WithText(HDC hdc, R fallback, F&& f) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    const auto dc = GdiRegistry::GetDC(hdc);
    FontFace* face = FontFace::System();
    return dc && face ? f(*dc, *face) : fallback;
}

} // namespace

std::wstring GdiFontError() {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    return FontFace::SystemError();
}

int DrawText(HDC hdc, LPCTSTR text, int length, LPRECT rect, UINT format) {
    return WithText(hdc, 0, [&](DeviceContext& dc, FontFace& face) {
        if (!rect) {
            return 0;
        }
        const int width = rect->right - rect->left;
        const TextLayout layout(TextOf(text, length), format, width,
                                [&face](wchar_t c) { return face.Advance(c); });
        const int lineHeight = face.Height();
        const int textHeight = int(layout.Lines().size()) * lineHeight;
        if (format & DT_CALCRECT) {
            rect->right = rect->left + layout.MaxWidth();
            rect->bottom = rect->top + textHeight;
            return textHeight;
        }
        // Vertical placement applies to single-line text only.
        int y = rect->top;
        const bool placed = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM));
        if (placed) {
            y = (format & DT_VCENTER) ? rect->top + (rect->bottom - rect->top - textHeight) / 2
                                      : rect->bottom - textHeight;
        }
        Raster raster(dc);
        if (!(format & DT_NOCLIP)) {
            raster.Restrict(*rect);
        }
        int lineTop = y;
        for (const TextLayout::Line& line : layout.Lines()) {
            int x = rect->left;
            if (format & DT_CENTER) {
                x = rect->left + (width - line.width) / 2;
            } else if (format & DT_RIGHT) {
                x = rect->right - line.width;
            }
            DrawLine(raster, dc, face, x, lineTop, line.text, &line.underlined, nullptr);
            lineTop += lineHeight;
        }
        // Placed text reports the offset from the rectangle's top to the text's bottom.
        return placed ? y - rect->top + textHeight : textHeight;
    });
}

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCTSTR text, UINT length,
                const int* dx) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    const auto dc = GdiRegistry::GetDC(hdc);
    if (!dc) {
        return FALSE;
    }
    Raster raster(*dc);
    if (rect && (options & ETO_OPAQUE)) {
        raster.Fill(rect->left, rect->top, rect->right, rect->bottom, ToPixel(dc->bkColour));
    }
    if (!text || length == 0) {
        return TRUE;
    }
    FontFace* face = FontFace::System();
    if (!face) {
        return FALSE;
    }
    if (rect && (options & ETO_CLIPPED)) {
        raster.Restrict(*rect);
    }
    DrawLine(raster, *dc, *face, x, y, std::wstring_view(text, length), nullptr, dx);
    return TRUE;
}

BOOL TextOut(HDC hdc, int x, int y, LPCTSTR text, int length) {
    if (length < 0) {
        return FALSE;
    }
    return ExtTextOut(hdc, x, y, 0, nullptr, text, UINT(length), nullptr);
}

BOOL GetTextExtentExPoint(HDC hdc, LPCTSTR text, int length, int maxExtent, int* fit, int* dx,
                          SIZE* size) {
    return WithText(hdc, FALSE, [&](DeviceContext&, FontFace& face) {
        if (!size || length < 0 || (length > 0 && !text)) {
            return FALSE;
        }
        int extent = 0;
        int fitting = 0;
        for (int i = 0; i < length; ++i) {
            extent += face.Advance(text[i]);
            if (maxExtent < 0 || extent <= maxExtent) {
                fitting = i + 1;
                if (dx) {
                    dx[i] = extent;
                }
            }
        }
        if (fit) {
            *fit = fitting;
        }
        *size = SIZE{extent, face.Height()};
        return TRUE;
    });
}

BOOL GetTextExtentPoint32(HDC hdc, LPCTSTR text, int length, SIZE* size) {
    return GetTextExtentExPoint(hdc, text, length, -1, nullptr, nullptr, size);
}

BOOL GetTextMetrics(HDC hdc, LPTEXTMETRIC metrics) {
    return WithText(hdc, FALSE, [&](DeviceContext&, FontFace& face) {
        if (!metrics) {
            return FALSE;
        }
        *metrics = TEXTMETRIC{};
        metrics->tmHeight = face.Height();
        metrics->tmAscent = face.Ascent();
        metrics->tmDescent = face.Descent();
        metrics->tmAveCharWidth = face.Advance(L'x');
        metrics->tmMaxCharWidth = std::max(face.Advance(L'W'), face.Advance(L'\x4E2D'));
        metrics->tmWeight = FW_NORMAL;
        metrics->tmDigitizedAspectX = 96;
        metrics->tmDigitizedAspectY = 96;
        metrics->tmFirstChar = L' ';
        metrics->tmLastChar = L'\xFFE5';
        metrics->tmDefaultChar = L'?';
        metrics->tmBreakChar = L' ';
        metrics->tmCharSet = 136; // CHINESEBIG5_CHARSET
        return TRUE;
    });
}
