// The framework's point: a POINT with arithmetic.
#pragma once

#include "platform/kernel/WinTypes.h"

class CPoint : public POINT {
public:
    CPoint() = default;
    CPoint(int px, int py) : POINT{px, py} {}
    CPoint(const POINT& p) : POINT(p) {}

    void Offset(int dx, int dy) {
        x += dx;
        y += dy;
    }
    friend bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
    friend CPoint operator+(const CPoint& a, const POINT& b) {
        return CPoint(a.x + b.x, a.y + b.y);
    }
    friend CPoint operator-(const CPoint& a, const POINT& b) {
        return CPoint(a.x - b.x, a.y - b.y);
    }
};
