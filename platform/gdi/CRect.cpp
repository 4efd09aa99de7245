#include "platform/gdi/CRect.h"

#include <algorithm>
#include <utility>

void CRect::NormalizeRect() {
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
}

BOOL CRect::IntersectRect(LPCRECT a, LPCRECT b) {
    const CRect r(std::max(a->left, b->left), std::max(a->top, b->top),
                  std::min(a->right, b->right), std::min(a->bottom, b->bottom));
    if (r.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    *this = r;
    return TRUE;
}

BOOL CRect::UnionRect(LPCRECT a, LPCRECT b) {
    const CRect ra(*a);
    const CRect rb(*b);
    if (ra.IsRectEmpty()) {
        *this = rb.IsRectEmpty() ? CRect(0, 0, 0, 0) : rb;
    } else if (rb.IsRectEmpty()) {
        *this = ra;
    } else {
        *this = CRect(std::min(ra.left, rb.left), std::min(ra.top, rb.top),
                      std::max(ra.right, rb.right), std::max(ra.bottom, rb.bottom));
    }
    return !IsRectEmpty();
}
