// The kit's popup menu that draws its own items: a light face, a grey column at the left for a
// 16 x 16 image or a tick, a framed light-blue highlight for the selected item, etched
// separators and an optional title item in white on teal. Every item is owner-drawn and carries
// a QMenuItemData record, which ReleaseItemData frees.
#pragma once

#include "platform/gdi/CDC.h"
#include "platform/gdi/CImageList.h"
#include "platform/user/CMenu.h"
#include "widgets/QMenuItemData.h"

// The command id of the title item.
inline constexpr UINT MENU_TITLE_ID = 0xFFFE;

class QOwnerDrawMenu : public CMenu {
public:
    // No menu handle yet (CreatePopupMenu or Attach gives it one); an empty image list.
    QOwnerDrawMenu();
    // Destroys the image list and the menu; the items' records must have been released.
    ~QOwnerDrawMenu() override;

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;
    void MeasureItem(LPMEASUREITEMSTRUCT measureItem) override;
    // Frees the records of pMenu's items and deletes the framework objects attached to their
    // submenus (not descending into those); nothing for a null pMenu.
    virtual void ReleaseItemData(CMenu* pMenu);
    virtual void DrawTitleItem(CDC* pDC, const CString& text, LPRECT rect);
    virtual void DrawCheckMark(CDC* pDC, LPRECT rect);
    virtual void DrawImage(CDC* pDC, int image, LPRECT rect);

    // Building the menu. Each Add appends an owner-drawn item with a new record and records a
    // "menu.item" event (the menu, the item's id and text), the kit's account of what the item
    // shows; FALSE when the menu has no handle. image is an index into the image list, -1 for
    // none; flags may hold MF_CHECKED and MF_GRAYED.
    BOOL AddTitle(LPCTSTR text);
    BOOL AddItem(UINT id, LPCTSTR text, UINT flags = 0, int image = -1);
    BOOL AddSeparator(LPCTSTR text = L"");
    // The item opens submenu, a menu object made with new (with its handle), which the menu
    // holds from now on: ReleaseItemData deletes it.
    BOOL AddSubmenu(UINT id, LPCTSTR text, CMenu* submenu, int image = -1);
    // Adds the 16 x 16 images of a bitmap, mask the transparent colour; the index of the first,
    // -1 on failure.
    int AddImage(CBitmap* bitmap, COLORREF mask);

protected:
    CImageList m_imageList;

private:
    BOOL Add(UINT flags, UINT id, LPCTSTR text, int image, CMenu* submenu);
};
