// The framework's rectangle: a RECT with the geometry the controls use. Like RECT it spans
// [left, right) x [top, bottom).
#pragma once

#include "platform/gdi/CPoint.h"
#include "platform/gdi/CSize.h"

class CRect : public RECT {
public:
    CRect() = default;
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    CRect(LPCRECT r) : RECT(*r) {}
    CRect(POINT topLeft, SIZE size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
    CRect(POINT topLeft, POINT bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    BOOL IsRectEmpty() const { return left >= right || top >= bottom; }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }

    void SetRect(int l, int t, int r, int b) { *this = CRect(l, t, r, b); }
    void SetRectEmpty() { *this = CRect(0, 0, 0, 0); }
    void CopyRect(LPCRECT r) { *this = CRect(*r); }
    BOOL EqualRect(LPCRECT r) const {
        return left == r->left && top == r->top && right == r->right && bottom == r->bottom;
    }

    void InflateRect(int x, int y) { InflateRect(x, y, x, y); }
    void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
    void InflateRect(int l, int t, int r, int b) {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int x, int y) { InflateRect(-x, -y); }
    void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void OffsetRect(int x, int y) {
        left += x;
        right += x;
        top += y;
        bottom += y;
    }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    void NormalizeRect();
    // The overlap of a and b; empty (all zero) when they do not overlap. FALSE when empty.
    BOOL IntersectRect(LPCRECT a, LPCRECT b);
    // The smallest rectangle holding both; an empty rectangle does not count.
    BOOL UnionRect(LPCRECT a, LPCRECT b);

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
    friend bool operator==(const CRect& a, const CRect& b) { return a.EqualRect(&b); }
    friend bool operator!=(const CRect& a, const CRect& b) { return !a.EqualRect(&b); }
};
