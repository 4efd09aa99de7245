// The state behind an HDC: the surface it draws on (the screen or a bitmap), where logical 0,0
// lies on it, the clip, the selected objects and the text colours and modes.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/GdiObject.h"

class DeviceContext {
public:
    // A context on the screen: origin in screen coordinates, clip in screen coordinates.
    DeviceContext(POINT origin, const std::vector<RECT>& clip);
    // A memory context; it starts with a 1 x 1 bitmap of its own, as on the platform.
    DeviceContext();
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    bool IsScreen() const { return m_screen; }
    POINT Origin() const { return m_origin; }
    void SetSurface(POINT origin, const std::vector<RECT>& clip);

    // The clip in surface coordinates: disjoint rectangles within the surface.
    const std::vector<RECT>& Clip() const { return m_clip; }
    // Narrows the clip to a rectangle given in surface coordinates.
    void IntersectClip(const RECT& surfaceRect);

    // Selects object; returns the object it replaces, or null when object is of a kind that a
    // context does not hold.
    std::shared_ptr<GdiObject> Select(const std::shared_ptr<GdiObject>& object);

    const std::shared_ptr<BitmapObject>& Bitmap() const { return m_bitmap; }
    const PenObject& Pen() const { return *m_pen; }
    const BrushObject& Brush() const { return *m_brush; }
    const FontObject& Font() const { return *m_font; }
    std::shared_ptr<GdiObject> Current(DWORD type) const;

    COLORREF textColour = RGB(0, 0, 0);
    COLORREF bkColour = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    POINT position;

private:
    void SelectDefaults();
    void ResetClip();
    template <class T> void Replace(std::shared_ptr<T>& slot, std::shared_ptr<T> object);

    bool m_screen;
    POINT m_origin;
    std::vector<RECT> m_baseClip;
    std::optional<RECT> m_userClip;
    std::vector<RECT> m_clip;
    std::shared_ptr<BitmapObject> m_bitmap;
    std::shared_ptr<PenObject> m_pen;
    std::shared_ptr<BrushObject> m_brush;
    std::shared_ptr<FontObject> m_font;
};
