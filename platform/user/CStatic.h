// The framework's static control: a text or an icon on the parent's background.
#pragma once

#include "platform/user/CWnd.h"

class CStatic : public CWnd {
public:
    BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    HICON SetIcon(HICON icon);
    HICON GetIcon() const;
};
