// A drawing context for a whole window, frame included (GetWindowDC), released when destroyed.
// A null window gives the whole screen.
#pragma once

#include "platform/gdi/CDC.h"
#include "platform/user/WinUser.h"

class CWnd;

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};
