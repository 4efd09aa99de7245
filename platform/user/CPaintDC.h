// The drawing context of one WM_PAINT: BeginPaint when made, EndPaint when destroyed.
#pragma once

#include "platform/gdi/CDC.h"
#include "platform/user/WinUser.h"

class CWnd;

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};
