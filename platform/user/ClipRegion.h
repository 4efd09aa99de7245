// A set of disjoint rectangles: the visible area of a window, the part of a window that needs
// painting, the screen area a hidden window gave back. Small and exact; windows are few.
#pragma once

#include <vector>

#include "platform/kernel/WinTypes.h"

class ClipRegion {
public:
    ClipRegion() = default;
    explicit ClipRegion(const RECT& rect);

    static bool IsEmpty(const RECT& rect) {
        return rect.right <= rect.left || rect.bottom <= rect.top;
    }
    // The common part of a and b (an empty rectangle when they do not meet).
    static RECT Intersection(const RECT& a, const RECT& b);
    // The smallest rectangle holding both; an empty one counts as nothing.
    static RECT Union(const RECT& a, const RECT& b);
    static RECT Offset(RECT rect, LONG dx, LONG dy);

    bool IsEmpty() const { return m_rects.empty(); }
    const std::vector<RECT>& Rects() const { return m_rects; }
    RECT Bounds() const;

    void Intersect(const RECT& rect);
    void Intersect(const ClipRegion& other);
    void Subtract(const RECT& rect);
    void Offset(LONG dx, LONG dy);

private:
    std::vector<RECT> m_rects;
};
