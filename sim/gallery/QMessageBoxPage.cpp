#include "sim/gallery/QMessageBoxPage.h"

#include <iterator>

#include "platform/user/CDataExchange.h"
#include "sim/gallery/GalleryResource.h"
#include "sim/gallery/QGalleryFrame.h"

namespace {

// The six button sets, in the order of their buttons (ids IDC_BOX_OK on).
constexpr UINT kSets[] = {MB_OK,          MB_OKCANCEL, MB_ABORTRETRYIGNORE,
                          MB_YESNOCANCEL, MB_YESNO,    MB_RETRYCANCEL};

struct IconChoice {
    UINT flag;
    LPCTSTR name;
};
constexpr IconChoice kIcons[] = {{0, L"none"},
                                 {MB_ICONHAND, L"stop"},
                                 {MB_ICONQUESTION, L"question"},
                                 {MB_ICONEXCLAMATION, L"warning"},
                                 {MB_ICONASTERISK, L"info"}};
constexpr UINT kDefaults[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};

constexpr LPCTSTR kShortText = L"Delete all records?";
constexpr LPCTSTR kLongText =
    L"The measurement has not been saved. Every record of this session will be lost when the "
    L"program closes. Save the records to the storage card first?";
constexpr LPCTSTR kCaption = L"Records";

} // namespace

QMessageBoxPage::QMessageBoxPage() : QGalleryPage(IDD_GALLERY_MSGBOX) {}

UINT QMessageBoxPage::TypeFor(UINT buttonSet) const {
    return buttonSet | kIcons[m_nIcon].flag | kDefaults[m_nDefault];
}

void QMessageBoxPage::DoDataExchange(CDataExchange* dx) {
    QGalleryPage::DoDataExchange(dx);
    for (int i = 0; i < int(std::size(m_sets)); ++i)
        DDX_Control(dx, IDC_BOX_OK + i, m_sets[i]);
    DDX_Control(dx, IDC_BOX_ICON, m_iconChoice);
    DDX_Control(dx, IDC_BOX_DEFAULT, m_defaultChoice);
    DDX_Control(dx, IDC_BOX_CAPTION, m_captionChoice);
    DDX_Control(dx, IDC_BOX_LONG, m_longChoice);
}

BOOL QMessageBoxPage::OnInitDialog() {
    QGalleryPage::OnInitDialog();
    // The six set buttons in a column, then the two pairs of choices.
    m_grid.SetGridSize(9, 2);
    m_grid.SetCell(&m_nextButton, 0, 1);
    for (int i = 0; i < int(std::size(m_sets)); ++i)
        m_grid.SetCell(&m_sets[i], 1 + i, 0);
    m_grid.SetCell(&m_iconChoice, 7, 0);
    m_grid.SetCell(&m_defaultChoice, 7, 1);
    m_grid.SetCell(&m_captionChoice, 8, 0);
    m_grid.SetCell(&m_longChoice, 8, 1);
    ShowChoices();
    return FALSE;
}

void QMessageBoxPage::ShowChoices() {
    CString text;
    text.Format(L"Icon: %s", kIcons[m_nIcon].name);
    m_iconChoice.SetWindowText(text);
    text.Format(L"First: %d", m_nDefault + 1);
    m_defaultChoice.SetWindowText(text);
}

void QMessageBoxPage::OnPageCommand(UINT id) {
    if (id == IDC_BOX_ICON) {
        m_nIcon = (m_nIcon + 1) % int(std::size(kIcons));
        ShowChoices();
        return;
    }
    if (id == IDC_BOX_DEFAULT) {
        m_nDefault = (m_nDefault + 1) % int(std::size(kDefaults));
        ShowChoices();
        return;
    }
    if (id < IDC_BOX_OK || id >= IDC_BOX_OK + std::size(kSets))
        return; // the check boxes only change what the next box shows
    const UINT type = TypeFor(kSets[id - IDC_BOX_OK]);
    Frame()->RunMessageBox(m_longChoice.IsChecked() ? kLongText : kShortText,
                           m_captionChoice.IsChecked() ? kCaption : nullptr, type);
}
