#include "platform/user/CDataExchange.h"

#include "platform/user/CWnd.h"

HWND CDataExchange::PrepareCtrl(int id) {
    HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
    if (!control)
        Fail();
    return control;
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (dx->m_bFailed || control.m_hWnd)
        return;
    HWND hwnd = dx->PrepareCtrl(id);
    if (hwnd && !control.SubclassWindow(hwnd))
        dx->Fail();
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    if (dx->m_bFailed)
        return;
    HWND hwnd = dx->PrepareCtrl(id);
    if (!hwnd)
        return;
    if (dx->m_bSaveAndValidate) {
        std::wstring buffer(std::size_t(::GetWindowTextLength(hwnd)) + 1, L'\0');
        buffer.resize(std::size_t(::GetWindowText(hwnd, buffer.data(), int(buffer.size()))));
        value = CString(std::move(buffer));
    } else {
        ::SetWindowText(hwnd, value);
    }
}
