// The About box (template 130): the launcher's title, its software version from the
// executable's version resource with the fixed build date, and the co-processor's firmware
// version, asked when the box opens. Closed with its OK button.
#pragma once

#include "platform/kernel/CString.h"
#include "platform/kernel/VersionInfo.h"
#include "platform/user/CDialog.h"
#include "platform/user/CListBox.h"
#include "widgets/QColorButton.h"
#include "widgets/QColorLabel.h"

class QAboutDlg : public CDialog {
public:
    QAboutDlg();
    ~QAboutDlg() override;

    // The software text for a fixed version: "App", then V<a>.<b>.<c> (Build <d>), then the
    // build date, on three lines.
    static CString SoftwareText(const VS_FIXEDFILEINFO& version);

    QColorLabel m_titleLabel; // control 1010
    CString m_strVersion;     // the text of control 1020
    CListBox m_firmwareList;  // control 1021
    QColorButton m_okButton;  // IDOK

    // Adds "Firmware version a.b.c.d" when the co-processor answers; nothing when it does not.
    void AddFirmwareLine();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Colours and titles the box, fills in both versions and gives the OK button the focus
    // (FALSE: the focus is set).
    BOOL OnInitDialog() override;
};
