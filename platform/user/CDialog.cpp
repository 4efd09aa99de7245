#include "platform/user/CDialog.h"

#include <cstdint>

#include "platform/kernel/EventLog.h"
#include "platform/kernel/Resources.h"
#include "platform/user/CWinApp.h"
#include "platform/user/DialogManager.h"
#include "platform/user/WindowCreationHook.h"

namespace {

// A dialog is owned by a top-level window.
HWND TopLevelOf(HWND hwnd) {
    while (hwnd && (::GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD))
        hwnd = ::GetParent(hwnd);
    return hwnd;
}

} // namespace

CDialog::CDialog(UINT idTemplate, CWnd* parent) : m_nIDTemplate(idTemplate), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (m_hWnd)
        DestroyWindow();
}

BOOL CDialog::CreateFromTemplate(HWND owner) {
    HINSTANCE module = AfxGetResourceHandle();
    const DialogTemplate* tmpl = FindDialogTemplate(module, MAKEINTRESOURCE(m_nIDTemplate));
    if (!tmpl)
        return FALSE;
    SetWindowCreationHook(&AfxAttachCreatedWindow, this);
    HWND hwnd = CreateDialogFromTemplate(module, *tmpl, owner, 0);
    ClearWindowCreationHook();
    return hwnd ? TRUE : FALSE;
}

int CDialog::DoModal() {
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND owner = TopLevelOf(parent ? parent->m_hWnd : nullptr);
    const bool enableOwner = owner && ::IsWindowEnabled(owner);
    if (enableOwner)
        ::EnableWindow(owner, FALSE);

    m_nModalResult = -1;
    m_inModalLoop = true;
    const bool created = CreateFromTemplate(owner);
    // The open modal dialog, for those who watch the device from outside.
    const auto hwnd = reinterpret_cast<std::uintptr_t>(m_hWnd);
    if (created) {
        EventLog::Instance().Record("dialog.opened", {{"template", m_nIDTemplate}, {"hwnd", hwnd}});
        if (m_inModalLoop)
            ShowWindow(SW_SHOW);
        while (m_inModalLoop && m_hWnd) {
            MSG msg;
            if (!::GetMessage(&msg, nullptr, 0, 0)) {
                // The program is ending: the quit goes on to the loop outside.
                ::PostQuitMessage(int(msg.wParam));
                break;
            }
            CWinApp* app = AfxGetApp();
            if (!app || !app->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
        }
    }
    m_inModalLoop = false;
    // The owner comes back first, so that it is activated (with its focus) when the dialog goes.
    if (enableOwner)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd)
        DestroyWindow();
    if (created)
        EventLog::Instance().Record(
            "dialog.closed",
            {{"template", m_nIDTemplate}, {"hwnd", hwnd}, {"result", m_nModalResult}});
    return m_nModalResult;
}

BOOL CDialog::Create(UINT idTemplate, CWnd* parent) {
    m_nIDTemplate = idTemplate;
    if (parent)
        m_pParentWnd = parent;
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    return CreateFromTemplate(owner ? owner->m_hWnd : nullptr);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_inModalLoop = false;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::OnCmdMsg(UINT id, int code) {
    if (code == BN_CLICKED && id == UINT(IDOK)) {
        OnOK();
        return TRUE;
    }
    if (code == BN_CLICKED && id == UINT(IDCANCEL)) {
        OnCancel();
        return TRUE;
    }
    return CWnd::OnCmdMsg(id, code);
}
