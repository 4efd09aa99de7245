#include "widgets/QBatteryFace.h"

namespace {

constexpr COLORREF kChargingFill = RGB(255, 0, 0);
constexpr COLORREF kFill = RGB(0, 0, 255);
constexpr COLORREF kBadge = RGB(255, 255, 0);
constexpr COLORREF kMark = RGB(0, 0, 0);

// The product k * x in double precision, truncated toward zero: the gauge's proportions are
// fractions of the control's size, rounded the same way at every size.
int Part(double k, int x) {
    return static_cast<int>(k * x);
}

} // namespace

void QBatteryFace::Paint(CDC& dc, const CRect& client) const {
    const int h = client.Height();
    const int w = client.Width();
    dc.FillSolidRect(&client, background);

    // The body leaves h / 5 free at the right and at the bottom (room for the badge); the
    // terminal is centred on the body's height.
    const CRect terminal(client.left, client.top + Part(0.2, h), client.right - Part(0.9, w),
                         client.bottom - h / 5 - Part(0.2, h));
    const CRect body(client.left + Part(0.1, w), client.top, client.right - h / 5,
                     client.bottom - h / 5);

    // Every pen and brush is made before the first selection, so that none is destroyed before
    // the context's previous ones are selected back at the end.
    CBrush insideBrush(inside);
    CPen outlinePen(PS_SOLID, 1, outline);
    CBrush badgeBrush;
    CPen markPen;
    CBrush* previousBrush = dc.SelectObject(&insideBrush);
    CPen* previousPen = dc.SelectObject(&outlinePen);
    dc.Rectangle(&terminal);
    dc.Rectangle(&body);

    if (level != 0.0f) {
        // The fill width is a single-precision product; the fill grows from the body's right
        // end toward the terminal and never covers the left outline.
        CRect fill = body;
        fill.DeflateRect(1, 1);
        const float width = static_cast<float>(body.Width()) * level;
        fill.left = fill.right - static_cast<int>(width);
        if (fill.left <= body.left) {
            fill.left = body.left + 1;
        }
        dc.FillSolidRect(&fill, charging ? kChargingFill : kFill);
    }

    if (warning) {
        const int size = Part(0.9, h);
        const int d = size / 5;
        CRect disc;
        disc.right = body.right + d;
        disc.left = disc.right - size;
        disc.top = client.top + (h - size) / 2 + d;
        disc.bottom = disc.top + size;
        badgeBrush.CreateSolidBrush(kBadge);
        dc.SelectStockObject(NULL_PEN);
        dc.SelectObject(&badgeBrush);
        dc.Ellipse(&disc);

        // An exclamation mark: a bar from 30 % to 60 % of the disc's height and a dot below.
        markPen.CreatePen(PS_SOLID, size / 8 != 0 ? size / 8 : 1, kMark);
        dc.SelectObject(&markPen);
        const int x = disc.left + size / 2;
        dc.MoveTo(x, disc.top + Part(0.3, size));
        dc.LineTo(x, disc.bottom - Part(0.4, size));
        dc.MoveTo(x, disc.bottom - static_cast<int>(0.4 * size - 1));
        dc.LineTo(x, disc.bottom - static_cast<int>(0.4 * size - 2));
    }

    dc.SelectObject(previousPen);
    dc.SelectObject(previousBrush);
}
