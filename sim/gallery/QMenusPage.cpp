#include "sim/gallery/QMenusPage.h"

#include <array>
#include <cstdint>

#include "platform/gdi/CBitmap.h"
#include "platform/user/CDataExchange.h"
#include "sim/gallery/GalleryResource.h"
#include "widgets/QOwnerDrawMenu.h"

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

constexpr int kImageSize = 16;
constexpr COLORREF kMaskColour = 0x00FF00FF;

// The image item's picture: a teal disc on the mask colour, 16 x 16, 32 bits a pixel.
BOOL MakeDiscBitmap(CBitmap& bitmap) {
    std::array<std::uint32_t, kImageSize * kImageSize> pixels{};
    for (int y = 0; y < kImageSize; ++y)
        for (int x = 0; x < kImageSize; ++x) {
            const int dx = 2 * x - (kImageSize - 1), dy = 2 * y - (kImageSize - 1);
            // Bitmap bits are 0x00RRGGBB, the reverse of a COLORREF.
            pixels[std::size_t(y * kImageSize + x)] =
                dx * dx + dy * dy <= 13 * 13 ? 0x00008080 : 0x00FF00FF;
        }
    return bitmap.CreateBitmap(kImageSize, kImageSize, 1, 32, pixels.data());
}

} // namespace

QMenusPage::QMenusPage() : QGalleryPage(IDD_GALLERY_MENUS) {}

void QMenusPage::DoDataExchange(CDataExchange* dx) {
    QGalleryPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_MENU_DOWN, m_menuDown);
    DDX_Control(dx, IDC_MENU_UP, m_menuUp);
}

BOOL QMenusPage::OnInitDialog() {
    QGalleryPage::OnInitDialog();
    BuildMenu(m_menuDown, QColorButton::kMenuBelow, m_pSubmenuDown);
    BuildMenu(m_menuUp, QColorButton::kMenuAbove, m_pSubmenuUp);
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

void QMenusPage::BuildMenu(QColorButton& button, BYTE placement, CMenu*& pSubmenu) {
    QOwnerDrawMenu& menu = button.DropDownMenu();
    if (!menu.CreatePopupMenu())
        return;
    CBitmap disc;
    const int image = MakeDiscBitmap(disc) ? menu.AddImage(&disc, kMaskColour) : -1;
    auto* submenu = new QOwnerDrawMenu;
    submenu->CreatePopupMenu();
    submenu->AddItem(ID_MENU_SUB_FIRST, MenuItemText(ID_MENU_SUB_FIRST));
    submenu->AddItem(ID_MENU_SUB_SECOND, MenuItemText(ID_MENU_SUB_SECOND));
    pSubmenu = submenu;

    menu.AddTitle(L"Gallery menu");
    menu.AddItem(ID_MENU_PLAIN, MenuItemText(ID_MENU_PLAIN));
    menu.AddItem(ID_MENU_CHECKED, MenuItemText(ID_MENU_CHECKED), MF_CHECKED);
    menu.AddItem(ID_MENU_GRAYED, MenuItemText(ID_MENU_GRAYED), MF_GRAYED);
    menu.AddSeparator();
    menu.AddItem(ID_MENU_IMAGE, MenuItemText(ID_MENU_IMAGE), 0, image);
    menu.AddSubmenu(ID_MENU_SUBMENU, L"Submenu", submenu);
    button.AttachMenu(menu.m_hMenu, m_hWnd, placement);
}

LRESULT QMenusPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        // The buttons free their menus' own records and the submenu objects; the submenus'
        // records are the page's to free, first.
        m_menuDown.DropDownMenu().ReleaseItemData(m_pSubmenuDown);
        m_menuUp.DropDownMenu().ReleaseItemData(m_pSubmenuUp);
        m_pSubmenuDown = m_pSubmenuUp = nullptr;
    }
    return QGalleryPage::WindowProc(message, wParam, lParam);
}
