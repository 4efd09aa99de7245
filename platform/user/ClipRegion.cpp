#include "platform/user/ClipRegion.h"

#include <algorithm>

ClipRegion::ClipRegion(const RECT& rect) {
    if (!IsEmpty(rect))
        m_rects.push_back(rect);
}

RECT ClipRegion::Intersection(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return IsEmpty(r) ? RECT{} : r;
}

RECT ClipRegion::Union(const RECT& a, const RECT& b) {
    if (IsEmpty(a))
        return IsEmpty(b) ? RECT{} : b;
    if (IsEmpty(b))
        return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

RECT ClipRegion::Offset(RECT rect, LONG dx, LONG dy) {
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
    return rect;
}

RECT ClipRegion::Bounds() const {
    RECT bounds{};
    for (const RECT& r : m_rects)
        bounds = Union(bounds, r);
    return bounds;
}

void ClipRegion::Intersect(const RECT& rect) {
    std::vector<RECT> kept;
    for (const RECT& r : m_rects) {
        RECT common = Intersection(r, rect);
        if (!IsEmpty(common))
            kept.push_back(common);
    }
    m_rects = std::move(kept);
}

void ClipRegion::Intersect(const ClipRegion& other) {
    std::vector<RECT> kept;
    for (const RECT& a : m_rects)
        for (const RECT& b : other.m_rects) {
            RECT common = Intersection(a, b);
            if (!IsEmpty(common))
                kept.push_back(common);
        }
    m_rects = std::move(kept);
}

void ClipRegion::Subtract(const RECT& cut) {
    if (IsEmpty(cut))
        return;
    std::vector<RECT> kept;
    for (const RECT& r : m_rects) {
        RECT common = Intersection(r, cut);
        if (IsEmpty(common)) {
            kept.push_back(r);
            continue;
        }
        // What is left of r is at most four bands: above, below, left and right of the cut.
        if (r.top < common.top)
            kept.push_back(RECT{r.left, r.top, r.right, common.top});
        if (common.bottom < r.bottom)
            kept.push_back(RECT{r.left, common.bottom, r.right, r.bottom});
        if (r.left < common.left)
            kept.push_back(RECT{r.left, common.top, common.left, common.bottom});
        if (common.right < r.right)
            kept.push_back(RECT{common.right, common.top, r.right, common.bottom});
    }
    m_rects = std::move(kept);
}

void ClipRegion::Offset(LONG dx, LONG dy) {
    for (RECT& r : m_rects)
        r = Offset(r, dx, dy);
}
