// The framework's pen.
#pragma once

#include "platform/gdi/CGdiObject.h"

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }

    BOOL CreatePen(int style, int width, COLORREF colour) {
        return Attach(::CreatePen(style, width, colour));
    }
    operator HPEN() const { return reinterpret_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN pen);
};
