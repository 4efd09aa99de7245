// The Remote Connection notice: a small modeless box of template 140 that stays on screen while
// another program has borrowed the co-processor. It has no buttons; its owner deletes it when the
// connection ends.
#pragma once

#include "platform/kernel/CString.h"
#include "platform/user/CDialog.h"

class QRemoteDlg : public CDialog {
public:
    QRemoteDlg();
    ~QRemoteDlg() override;

    // The label's text, exchanged with control 1005.
    CString m_strText;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // The label shows "Remote Connection" in the language in force.
    BOOL OnInitDialog() override;
};
