// The framework's dialog box, built from a dialog template: modal (DoModal, with a modal loop
// that pre-translates every message through the application, as the main loop does) or
// modeless (Create).
#pragma once

#include "platform/user/CWnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT idTemplate, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog until EndDialog and returns its result; -1 when it cannot be made. The
    // owner (the parent given, else the main window) is disabled meanwhile. The event log
    // records "dialog.opened" (template, hwnd) and "dialog.closed" (template, hwnd, result).
    virtual int DoModal();
    // A modeless dialog; FALSE when it cannot be made.
    BOOL Create(UINT idTemplate, CWnd* parent = nullptr);

    // Moves the members into the controls; TRUE: the dialog manager focuses the first control.
    virtual BOOL OnInitDialog();
    // IDOK: takes the controls' values (UpdateData) and ends with IDOK.
    virtual void OnOK();
    // IDCANCEL: ends with IDCANCEL.
    virtual void OnCancel();
    void EndDialog(int result);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, int code) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    BOOL CreateFromTemplate(HWND owner);

    int m_nModalResult = -1;
    bool m_inModalLoop = false;
};
