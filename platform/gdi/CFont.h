// The framework's font. Every font draws with the device's System face; the requested size and
// style are kept for GetLogFont.
#pragma once

#include "platform/gdi/CGdiObject.h"

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONT* font) { return Attach(::CreateFontIndirect(font)); }
    int GetLogFont(LOGFONT* font) const { return GetObject(sizeof(LOGFONT), font); }
    operator HFONT() const { return reinterpret_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT font);
};
