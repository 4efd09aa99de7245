#include "platform/user/CFormView.h"

#include "platform/kernel/Resources.h"
#include "platform/user/DialogManager.h"
#include "platform/user/WindowCreationHook.h"

CFormView::CFormView(UINT idTemplate) : m_nIDTemplate(idTemplate) {}

BOOL CFormView::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                       CWnd* parent, UINT id, CCreateContext* context) {
    CREATESTRUCT cs;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = LONG(style | WS_CHILD);
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = parent ? parent->m_hWnd : nullptr;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id));
    cs.lpCreateParams = context;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    HINSTANCE module = AfxGetResourceHandle();
    const DialogTemplate* tmpl = FindDialogTemplate(module, MAKEINTRESOURCE(m_nIDTemplate));
    if (!tmpl) {
        PostNcDestroy();
        return FALSE;
    }
    m_pCreateContext = context;
    SetWindowCreationHook(&AfxAttachCreatedWindow, this);
    HWND hwnd = CreateDialogFromTemplate(module, *tmpl, cs.hwndParent, 0);
    const BOOL attached = ClearWindowCreationHook();
    m_pCreateContext = nullptr;
    if (!hwnd) {
        if (!attached)
            PostNcDestroy(); // otherwise WM_NCDESTROY has run it already
        return FALSE;
    }
    const DWORD frameBits = WS_BORDER | WS_CAPTION;
    ModifyStyle(frameBits, DWORD(cs.style) & frameBits);
    SetDlgCtrlID(int(id));
    ::SetWindowPos(hwnd, nullptr, cs.x, cs.y, cs.cx, cs.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (cs.style & WS_VISIBLE)
        ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

void CFormView::OnInitialUpdate() {
    UpdateData(FALSE);
    CView::OnInitialUpdate();
}

LRESULT CFormView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        // The dialog manager passes no creation context through; the form keeps it meanwhile.
        auto* cs = reinterpret_cast<LPCREATESTRUCT>(lParam);
        if (cs)
            cs->lpCreateParams = m_pCreateContext;
        return OnCreate(cs);
    }
    return CView::WindowProc(message, wParam, lParam);
}
