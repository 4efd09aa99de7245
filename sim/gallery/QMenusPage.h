// The gallery's third page: two buttons with owner-drawn menus, one opening downward from its
// bottom edge and one upward from its top edge. Each menu has a title item, a plain, a checked,
// a grayed and an image item, a separator and a submenu.
#pragma once

#include "sim/gallery/QGalleryPage.h"

class QMenusPage : public QGalleryPage {
public:
    QMenusPage();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    CString MenuItemText(UINT id) const override;
    BOOL IsCommandButton(UINT id) const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Fills the button's drop-down menu and attaches it, opening at placement; the submenu it
    // makes is kept in pSubmenu, whose records the page frees.
    void BuildMenu(QColorButton& button, BYTE placement, CMenu*& pSubmenu);

    CMenu* m_pSubmenuDown = nullptr;
    CMenu* m_pSubmenuUp = nullptr;
    QColorButton m_menuDown;
    QColorButton m_menuUp;
};
