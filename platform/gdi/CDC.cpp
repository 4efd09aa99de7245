#include "platform/gdi/CDC.h"

#include "platform/gdi/HandleWrappers.h"

CDC::~CDC() {
    if (m_hDC) {
        ::DeleteDC(Detach());
    }
}

BOOL CDC::Attach(HDC hdc) {
    if (!hdc || m_hDC) {
        return FALSE;
    }
    m_hDC = hdc;
    HandleWrappers::AttachPermanent(hdc, this);
    return TRUE;
}

HDC CDC::Detach() {
    HDC hdc = m_hDC;
    if (hdc) {
        HandleWrappers::DetachPermanent(hdc);
    }
    m_hDC = nullptr;
    return hdc;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) {
        return FALSE;
    }
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

CDC* CDC::FromHandle(HDC hdc) {
    return HandleWrappers::FromHandle<CDC, CDC>(hdc);
}

CPen* CDC::SelectObject(CPen* pen) {
    return CPen::FromHandle(
        static_cast<HPEN>(::SelectObject(m_hDC, pen ? pen->m_hObject : nullptr)));
}

CBrush* CDC::SelectObject(CBrush* brush) {
    return CBrush::FromHandle(
        static_cast<HBRUSH>(::SelectObject(m_hDC, brush ? brush->m_hObject : nullptr)));
}

CFont* CDC::SelectObject(CFont* font) {
    return CFont::FromHandle(
        static_cast<HFONT>(::SelectObject(m_hDC, font ? font->m_hObject : nullptr)));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return CBitmap::FromHandle(
        static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap ? bitmap->m_hObject : nullptr)));
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, object ? object->m_hObject : nullptr));
}

CGdiObject* CDC::SelectStockObject(int index) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF colour) {
    ::SetBkColor(m_hDC, colour);
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF colour) {
    const RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, colour);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT previous;
    ::MoveToEx(m_hDC, x, y, &previous);
    return CPoint(previous);
}

CSize CDC::GetTextExtent(LPCTSTR text, int length) const {
    SIZE size;
    ::GetTextExtentPoint32(m_hDC, text, length, &size);
    return CSize(size);
}
