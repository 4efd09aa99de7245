#include "sim/gallery/QButtonsPage.h"

#include "platform/user/CDataExchange.h"
#include "sim/gallery/GalleryResource.h"

QButtonsPage::QButtonsPage() : QGalleryPage(IDD_GALLERY_BUTTONS) {}

void QButtonsPage::DoDataExchange(CDataExchange* dx) {
    QGalleryPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_PUSH, m_push);
    DDX_Control(dx, IDC_DEFAULT, m_default);
    DDX_Control(dx, IDC_DISABLED, m_disabled);
    DDX_Control(dx, IDC_IMAGE, m_image);
    DDX_Control(dx, IDC_ROUNDED, m_rounded);
    DDX_Control(dx, IDC_CHECK, m_check);
    DDX_Control(dx, IDC_RADIO_A, m_radioA);
    DDX_Control(dx, IDC_RADIO_B, m_radioB);
}

BOOL QButtonsPage::OnInitDialog() {
    QGalleryPage::OnInitDialog();
    // The disabled button takes no focus, so it has no cell.
    m_grid.SetGridSize(5, 2);
    m_grid.SetCell(&m_nextButton, 0, 1);
    m_grid.SetCell(&m_push, 1, 0);
    m_grid.SetCell(&m_default, 1, 1);
    m_grid.SetCell(&m_rounded, 2, 0);
    m_grid.SetCell(&m_image, 2, 1);
    m_grid.SetCell(&m_check, 3, 0);
    m_grid.SetCell(&m_radioA, 4, 0);
    m_grid.SetCell(&m_radioB, 4, 1);
    return FALSE;
}

void QButtonsPage::OnPageCommand(UINT) {}
