#include "sim/gallery/QButtonsPage.h"

#include "platform/gdi/WinGdi.h"
#include "platform/kernel/Resources.h"
#include "platform/user/CDataExchange.h"
#include "sim/gallery/GalleryResource.h"

namespace {

constexpr int kImageSize = 16;

HICON LoadGalleryIcon(UINT id) {
    return static_cast<HICON>(LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(id), IMAGE_ICON,
                                        kImageSize, kImageSize, 0));
}

} // namespace

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
    // Image 0 normally, 1 while pressed or focused, 2 while disabled.
    m_image.SetImage(QColorButton::kImageNormal, LoadGalleryIcon(IDI_GALLERY_INFO), kImageSize,
                     kImageSize, FALSE);
    m_image.SetImage(QColorButton::kImageActive, LoadGalleryIcon(IDI_GALLERY_QUESTION), kImageSize,
                     kImageSize, FALSE);
    m_image.SetImage(QColorButton::kImageDisabled, LoadGalleryIcon(IDI_GALLERY_WARNING), kImageSize,
                     kImageSize, FALSE);
    m_disabled.SetImage(QColorButton::kImageNormal, LoadGalleryIcon(IDI_GALLERY_INFO), kImageSize,
                        kImageSize, FALSE);
    m_disabled.SetImage(QColorButton::kImageDisabled, LoadGalleryIcon(IDI_GALLERY_ERROR),
                        kImageSize, kImageSize, FALSE);
    m_rounded.SetRounded(TRUE, FALSE);
    m_radioA.SetMarkKind(QColorButton::kMarkRadio, FALSE);
    m_radioB.SetMarkKind(QColorButton::kMarkRadio, FALSE);
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
