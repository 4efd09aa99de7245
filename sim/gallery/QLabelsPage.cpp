#include "sim/gallery/QLabelsPage.h"

#include <algorithm>

#include "platform/user/CDataExchange.h"
#include "sim/gallery/GalleryResource.h"

namespace {

constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kNavy = 0x00800000;
constexpr int kIconSize = 16;

} // namespace

QLabelsPage::QLabelsPage() : QGalleryPage(IDD_GALLERY_LABELS) {}

void QLabelsPage::DoDataExchange(CDataExchange* dx) {
    QGalleryPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_RED_LABEL, m_redLabel);
    DDX_Control(dx, IDC_NAVY_LABEL, m_navyLabel);
    DDX_Control(dx, IDC_PLAIN_LABEL, m_plainLabel);
    DDX_Control(dx, IDC_ICON_LABEL, m_iconLabel);
    DDX_Control(dx, IDC_CLOCK, m_clockLabel);
    DDX_Control(dx, IDC_GAUGE, m_gauge);
    DDX_Control(dx, IDC_GAUGE_TEXT, m_gaugeText);
    DDX_Control(dx, IDC_LEVEL_DOWN, m_levelDown);
    DDX_Control(dx, IDC_LEVEL_UP, m_levelUp);
    DDX_Control(dx, IDC_CHARGING, m_charging);
    DDX_Control(dx, IDC_WARNING, m_warning);
}

BOOL QLabelsPage::OnInitDialog() {
    QGalleryPage::OnInitDialog();
    m_redLabel.SetColor(0, kBlack, FALSE);
    m_redLabel.SetColor(1, kRed, FALSE);
    m_navyLabel.SetColor(0, kNavy, FALSE);
    m_navyLabel.SetColor(1, kWhite, FALSE);
    m_clockLabel.SetColor(0, kBlack, FALSE);
    m_clockLabel.SetColor(1, kRed, FALSE);
    m_iconLabel.SetIconFromResource(IDI_GALLERY_INFO, kIconSize, kIconSize, FALSE);
    ShowGauge();

    m_grid.SetGridSize(3, 2);
    m_grid.SetCell(&m_nextButton, 0, 1);
    m_grid.SetCell(&m_levelDown, 1, 0);
    m_grid.SetCell(&m_levelUp, 1, 1);
    m_grid.SetCell(&m_charging, 2, 0);
    m_grid.SetCell(&m_warning, 2, 1);
    return FALSE;
}

void QLabelsPage::OnPageCommand(UINT id) {
    switch (id) {
    case IDC_LEVEL_DOWN:
        m_nLevel = std::max(0, m_nLevel - 1);
        break;
    case IDC_LEVEL_UP:
        m_nLevel = std::min(kLevelSteps, m_nLevel + 1);
        break;
    case IDC_CHARGING:
        // The check box has toggled its own tick at the same click.
        m_bCharging = !m_bCharging;
        break;
    case IDC_WARNING:
        m_bWarning = !m_bWarning;
        break;
    default:
        return;
    }
    ShowGauge();
}

void QLabelsPage::ShowGauge() {
    // The order of the device's battery query: warning and level first, then charging, which
    // starts the sweep from the new level.
    m_gauge.SetWarning(m_bWarning, FALSE);
    m_gauge.SetLevel(float(m_nLevel) / float(kLevelSteps), FALSE);
    m_gauge.SetCharging(m_bCharging, TRUE);
    CString text;
    text.Format(L"Level %d%%%s%s", m_nLevel * 100 / kLevelSteps, m_bCharging ? L", charging" : L"",
                m_bWarning ? L", warning" : L"");
    m_gaugeText.SetWindowText(text);
}
