// A drawing context for a window's client area (GetDC), released when destroyed. A null window
// gives the whole screen.
#pragma once

#include "platform/gdi/CDC.h"
#include "platform/user/WinUser.h"

class CWnd;

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};
