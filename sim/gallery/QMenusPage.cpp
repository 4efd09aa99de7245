#include "sim/gallery/QMenusPage.h"

#include "platform/user/CDataExchange.h"
#include "sim/gallery/GalleryResource.h"

namespace {

struct MenuText {
    UINT id;
    LPCTSTR text;
};

// The commands of both menus and their texts.
constexpr MenuText kMenuTexts[] = {
    {ID_MENU_PLAIN, L"Plain"},         {ID_MENU_CHECKED, L"Checked"},
    {ID_MENU_GRAYED, L"Grayed"},       {ID_MENU_IMAGE, L"Image"},
    {ID_MENU_SUB_FIRST, L"Sub first"}, {ID_MENU_SUB_SECOND, L"Sub second"},
};

} // namespace

QMenusPage::QMenusPage() : QGalleryPage(IDD_GALLERY_MENUS) {}

void QMenusPage::DoDataExchange(CDataExchange* dx) {
    QGalleryPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_MENU_DOWN, m_menuDown);
    DDX_Control(dx, IDC_MENU_UP, m_menuUp);
}

BOOL QMenusPage::OnInitDialog() {
    QGalleryPage::OnInitDialog();
    m_grid.SetGridSize(3, 2);
    m_grid.SetCell(&m_nextButton, 0, 1);
    m_grid.SetCell(&m_menuDown, 1, 0);
    m_grid.SetCell(&m_menuUp, 2, 0);
    return FALSE;
}

CString QMenusPage::MenuItemText(UINT id) const {
    for (const MenuText& item : kMenuTexts)
        if (item.id == id)
            return CString(item.text);
    return CString();
}

BOOL QMenusPage::IsCommandButton(UINT id) const {
    // The two menu buttons open their menus; the command comes from the menu.
    return id != IDC_MENU_DOWN && id != IDC_MENU_UP;
}
