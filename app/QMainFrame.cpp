#include "app/QMainFrame.h"

BOOL QMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    cs.lpszName = L"AppFrame";
    return CFrameWnd::PreCreateWindow(cs) ? TRUE : FALSE;
}

LRESULT QMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE)
        return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

int QMainFrame::OnCreate(LPCREATESTRUCT cs) {
    return CFrameWnd::OnCreate(cs) == -1 ? -1 : 0;
}
