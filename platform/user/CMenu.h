// The framework's menu: wraps an HMENU, which it destroys with itself unless detached first.
// The owner-drawn items of a menu tracked with CMenu::TrackPopupMenu are measured and drawn by
// the object attached to the item's menu (MeasureItem, DrawItem): the owner window's default
// handling of WM_MEASUREITEM and WM_DRAWITEM finds it.
#pragma once

#include "platform/user/CObject.h"
#include "platform/user/WinUser.h"

class CWnd;
class HandleWrappers;

class CMenu : public CObject {
public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }

    // The object attached to the menu, or a temporary one owned by the framework.
    static CMenu* FromHandle(HMENU menu);
    // The attached object only.
    static CMenu* FromHandlePermanent(HMENU menu);
    BOOL Attach(HMENU menu);
    HMENU Detach();

    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    BOOL AppendMenu(UINT flags, UINT_PTR idNewItem = 0, LPCTSTR newItem = nullptr);
    BOOL InsertMenuItem(UINT item, LPCMENUITEMINFO info, BOOL byPosition = FALSE);
    BOOL GetMenuItemInfo(UINT item, LPMENUITEMINFO info, BOOL byPosition = FALSE) const;
    UINT CheckMenuItem(UINT item, UINT flags);
    UINT EnableMenuItem(UINT item, UINT flags);
    // -1 without a menu.
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int position) const;
    CMenu* GetSubMenu(int position) const;

    // Tracks the menu (TrackPopupMenu) with owner's window as its owner.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

    // Owner-drawn items: nothing by default.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT measureItem);

    // For the default handling of WM_MEASUREITEM, which names no menu: the object attached to
    // the menu that holds the owner-drawn item with this id and data, searched in the menu the
    // calling thread tracks with TrackPopupMenu and its submenus. Null when there is none.
    static CMenu* FromOwnerDrawnItem(UINT id, DWORD_PTR data);

private:
    friend class HandleWrappers;
    void AttachTemporary(void* handle) { m_hMenu = static_cast<HMENU>(handle); }
    void DetachTemporary() { m_hMenu = nullptr; }
};
