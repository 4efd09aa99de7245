#include "launcher/QRemoteDlg.h"

#include "app/QLanguage.h"
#include "platform/user/CDataExchange.h"
#include "res/resource.h"

QRemoteDlg::QRemoteDlg() : CDialog(IDD_REMOTE_DIALOG, nullptr) {}

QRemoteDlg::~QRemoteDlg() = default;

void QRemoteDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_REMOTE_TEXT, m_strText);
}

BOOL QRemoteDlg::OnInitDialog() {
    m_strText = LoadLocalString(GetLanguage(), IDS_REMOTE_CONNECTION);
    return CDialog::OnInitDialog();
}
