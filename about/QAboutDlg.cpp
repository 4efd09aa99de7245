#include "about/QAboutDlg.h"

#include "about/FixedVersion.h"
#include "app/QLanguage.h"
#include "link/CoprocProtocol.h"
#include "link/QCoprocLink.h"
#include "platform/user/CDataExchange.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kNavy = 0x00800000;
constexpr COLORREF kWhite = 0x00FFFFFF;

// The build date shown with the software version, whatever the date today.
constexpr int kBuildYear = 2008;
constexpr int kBuildMonth = 11;
constexpr int kBuildDay = 13;

// The firmware version's four numbers in the co-processor's reply.
constexpr int kFirmwareByte = 6;

} // namespace

QAboutDlg::QAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

QAboutDlg::~QAboutDlg() = default;

CString QAboutDlg::SoftwareText(const VS_FIXEDFILEINFO& version) {
    CString text;
    text.Format(L"App\nV%d.%d.%d (Build %d)\n%04d/%02d/%02d", int(HIWORD(version.dwFileVersionMS)),
                int(LOWORD(version.dwFileVersionMS)), int(HIWORD(version.dwFileVersionLS)),
                int(LOWORD(version.dwFileVersionLS)), kBuildYear, kBuildMonth, kBuildDay);
    return text;
}

void QAboutDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ABOUT_TITLE, m_titleLabel);
    DDX_Text(dx, IDC_ABOUT_VERSION, m_strVersion);
    DDX_Control(dx, IDC_ABOUT_FIRMWARE, m_firmwareList);
    DDX_Control(dx, IDOK, m_okButton);
}

BOOL QAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_titleLabel.SetColor(QColorLabel::kBackgroundSlot, kNavy, FALSE);
    m_titleLabel.SetColor(QColorLabel::kTextSlot, kWhite, FALSE);
    m_titleLabel.SetWindowText(LoadLocalString(GetLanguage(), IDS_ABOUT_TITLE));
    // An executable whose version cannot be read shows V0.0.0 (Build 0).
    VS_FIXEDFILEINFO version{};
    GetExeFixedVersion(version, nullptr);
    m_strVersion = SoftwareText(version);
    AddFirmwareLine();
    m_okButton.SetFocus();
    UpdateData(FALSE);
    return FALSE;
}

void QAboutDlg::AddFirmwareLine() {
    BYTE reply[COPROC_REPLY_VERSION] = {};
    const DWORD status = QCoprocLink::Instance().GetFirmwareVersion(reply);
    if (LOWORD(status) != 0)
        return;
    CString line;
    line.Format(L"Firmware version %d.%d.%d.%d", int(reply[kFirmwareByte]),
                int(reply[kFirmwareByte + 1]), int(reply[kFirmwareByte + 2]),
                int(reply[kFirmwareByte + 3]));
    m_firmwareList.AddString(line);
}
