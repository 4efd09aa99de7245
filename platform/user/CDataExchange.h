// Data exchange between a dialog's (or form's) members and its controls: DoDataExchange runs
// the DDX_ functions in one direction or the other.
#pragma once

#include "platform/kernel/CString.h"
#include "platform/user/WinUser.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    // The control's window; NULL (and the exchange fails) when the dialog has no such control.
    HWND PrepareCtrl(int id);
    void Fail() { m_bFailed = true; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    bool m_bFailed = false;
};

// Binds control id to the object: the first exchange subclasses the control's window, so the
// object's WindowProc receives its messages from then on.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// The control's window text to or from the string.
void DDX_Text(CDataExchange* dx, int id, CString& value);
