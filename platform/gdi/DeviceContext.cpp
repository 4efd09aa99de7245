#include "platform/gdi/DeviceContext.h"

#include <algorithm>

#include "platform/gdi/Framebuffer.h"
#include "platform/gdi/GdiRegistry.h"

namespace {

RECT Intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

// Adds r to a list of disjoint rectangles, keeping them disjoint: only the parts of r that no
// rectangle in the list covers yet are added. Overlapping clip rectangles would otherwise make
// inverting operations (focus rectangles) apply twice.
void AddDisjoint(std::vector<RECT>& list, const RECT& r) {
    std::vector<RECT> pieces{r};
    for (const RECT& have : list) {
        std::vector<RECT> next;
        for (const RECT& p : pieces) {
            const RECT i = Intersect(p, have);
            if (IsEmpty(i)) {
                next.push_back(p);
                continue;
            }
            const RECT parts[] = {{p.left, p.top, p.right, i.top},
                                  {p.left, i.bottom, p.right, p.bottom},
                                  {p.left, i.top, i.left, i.bottom},
                                  {i.right, i.top, p.right, i.bottom}};
            for (const RECT& part : parts) {
                if (!IsEmpty(part)) {
                    next.push_back(part);
                }
            }
        }
        pieces = std::move(next);
    }
    list.insert(list.end(), pieces.begin(), pieces.end());
}

} // namespace

DeviceContext::DeviceContext(POINT origin, const std::vector<RECT>& clip)
    : m_screen(true), m_origin(origin) {
    SelectDefaults();
    SetSurface(origin, clip);
}

DeviceContext::DeviceContext() : m_screen(false), m_origin{} {
    SelectDefaults();
    m_bitmap =
        std::static_pointer_cast<BitmapObject>(GdiRegistry::Stock(GdiRegistry::kDefaultBitmap));
    ++m_bitmap->selections;
    ResetClip();
}

DeviceContext::~DeviceContext() {
    if (m_bitmap) {
        --m_bitmap->selections;
    }
    --m_pen->selections;
    --m_brush->selections;
    --m_font->selections;
}

void DeviceContext::SelectDefaults() {
    m_pen = std::static_pointer_cast<PenObject>(GdiRegistry::Stock(BLACK_PEN));
    m_brush = std::static_pointer_cast<BrushObject>(GdiRegistry::Stock(WHITE_BRUSH));
    m_font = std::static_pointer_cast<FontObject>(GdiRegistry::Stock(SYSTEM_FONT));
    ++m_pen->selections;
    ++m_brush->selections;
    ++m_font->selections;
}

void DeviceContext::SetSurface(POINT origin, const std::vector<RECT>& clip) {
    m_origin = origin;
    const RECT screen{0, 0, Framebuffer::kWidth, Framebuffer::kHeight};
    m_baseClip.clear();
    for (const RECT& r : clip) {
        const RECT i = Intersect(r, screen);
        if (!IsEmpty(i)) {
            AddDisjoint(m_baseClip, i);
        }
    }
    m_userClip.reset();
    ResetClip();
}

void DeviceContext::ResetClip() {
    if (!m_screen) {
        // The shared default bitmap is never drawn on.
        m_baseClip.clear();
        if (!m_bitmap->stock) {
            m_baseClip.push_back(RECT{0, 0, m_bitmap->width, m_bitmap->height});
        }
    }
    m_clip.clear();
    for (const RECT& r : m_baseClip) {
        const RECT i = m_userClip ? Intersect(r, *m_userClip) : r;
        if (!IsEmpty(i)) {
            m_clip.push_back(i);
        }
    }
}

void DeviceContext::IntersectClip(const RECT& surfaceRect) {
    m_userClip = m_userClip ? Intersect(*m_userClip, surfaceRect) : surfaceRect;
    ResetClip();
}

template <class T>
void DeviceContext::Replace(std::shared_ptr<T>& slot, std::shared_ptr<T> object) {
    --slot->selections;
    ++object->selections;
    slot = std::move(object);
}

std::shared_ptr<GdiObject> DeviceContext::Select(const std::shared_ptr<GdiObject>& object) {
    std::shared_ptr<GdiObject> previous;
    if (auto pen = std::dynamic_pointer_cast<PenObject>(object)) {
        previous = m_pen;
        Replace(m_pen, pen);
    } else if (auto brush = std::dynamic_pointer_cast<BrushObject>(object)) {
        previous = m_brush;
        Replace(m_brush, brush);
    } else if (auto font = std::dynamic_pointer_cast<FontObject>(object)) {
        previous = m_font;
        Replace(m_font, font);
    } else if (auto bitmap = std::dynamic_pointer_cast<BitmapObject>(object)) {
        // A bitmap goes into one memory context at a time; the screen takes none.
        if (m_screen || (!bitmap->stock && bitmap->selections > 0 && bitmap != m_bitmap)) {
            return nullptr;
        }
        previous = m_bitmap;
        Replace(m_bitmap, bitmap);
        ResetClip();
    }
    return previous;
}

std::shared_ptr<GdiObject> DeviceContext::Current(DWORD type) const {
    switch (type) {
    case OBJ_PEN:
        return m_pen;
    case OBJ_BRUSH:
        return m_brush;
    case OBJ_FONT:
        return m_font;
    case OBJ_BITMAP:
        return m_bitmap;
    default:
        return nullptr;
    }
}
