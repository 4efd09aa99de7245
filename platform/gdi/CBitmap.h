// The framework's bitmap: loaded from the program's resources or made for drawing off screen.
#pragma once

#include "platform/gdi/CGdiObject.h"

class CDC;

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(LPCTSTR name);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    int GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }
    operator HBITMAP() const { return reinterpret_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP bitmap);
};
