// The framework's device context: wraps an HDC and offers the drawing calls with C++ objects.
// A CDC that holds a handle deletes it when destroyed; the window layer's paint and client
// contexts derive from it and release theirs instead.
#pragma once

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CRect.h"
#include "platform/kernel/CString.h"

class HandleWrappers;

class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL Attach(HDC hdc);
    HDC Detach();
    BOOL DeleteDC();
    BOOL CreateCompatibleDC(CDC* dc);
    // The wrapper for a handle: the object attached to it, or a temporary one.
    static CDC* FromHandle(HDC hdc);

    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* object);
    CGdiObject* SelectStockObject(int index);

    COLORREF SetTextColor(COLORREF colour) { return ::SetTextColor(m_hDC, colour); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF colour) { return ::SetBkColor(m_hDC, colour); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int IntersectClipRect(int l, int t, int r, int b) {
        return ::IntersectClipRect(m_hDC, l, t, r, b);
    }
    int IntersectClipRect(LPCRECT r) {
        return IntersectClipRect(r->left, r->top, r->right, r->bottom);
    }
    int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }

    // Fills with a colour through the background colour, which stays set afterwards, as the
    // framework does.
    void FillSolidRect(LPCRECT rect, COLORREF colour);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour);
    void FillRect(LPCRECT rect, CBrush* brush) {
        ::FillRect(m_hDC, rect, brush ? HBRUSH(*brush) : nullptr);
    }
    void FrameRect(LPCRECT rect, CBrush* brush) {
        ::FrameRect(m_hDC, rect, brush ? HBRUSH(*brush) : nullptr);
    }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int l, int t, int r, int b, int w, int h) {
        return ::RoundRect(m_hDC, l, t, r, b, w, h);
    }
    BOOL RoundRect(LPCRECT r, POINT corner) {
        return RoundRect(r->left, r->top, r->right, r->bottom, corner.x, corner.y);
    }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    COLORREF SetPixel(int x, int y, COLORREF colour) { return ::SetPixel(m_hDC, x, y, colour); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sx, sy, rop);
    }
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags) {
        return ::DrawEdge(m_hDC, rect, edge, flags);
    }
    void DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }

    int DrawText(LPCTSTR text, int length, LPRECT rect, UINT format) {
        return ::DrawText(m_hDC, text, length, rect, format);
    }
    int DrawText(const CString& text, LPRECT rect, UINT format) {
        return DrawText(text.GetString(), text.GetLength(), rect, format);
    }
    BOOL TextOut(int x, int y, const CString& text) {
        return ::TextOut(m_hDC, x, y, text.GetString(), text.GetLength());
    }
    CSize GetTextExtent(LPCTSTR text, int length) const;
    CSize GetTextExtent(const CString& text) const {
        return GetTextExtent(text.GetString(), text.GetLength());
    }
    BOOL GetTextMetrics(LPTEXTMETRIC metrics) const { return ::GetTextMetrics(m_hDC, metrics); }

private:
    friend class HandleWrappers;
    void AttachTemporary(void* handle) { m_hDC = static_cast<HDC>(handle); }
    void DetachTemporary() { m_hDC = nullptr; }
};
