#include "platform/user/CMenu.h"

#include "platform/gdi/HandleWrappers.h"
#include "platform/user/CWnd.h"

namespace {

// The menu the thread tracks through CMenu::TrackPopupMenu now.
thread_local HMENU t_trackedMenu = nullptr;

// Submenus nested deeper than this are not searched (a menu may hold itself).
constexpr int kMostDepth = 16;

CMenu* FindOwnerDrawnItem(HMENU menu, UINT id, DWORD_PTR data, int depth) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count && depth <= kMostDepth; ++i) {
        MENUITEMINFO info;
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_TYPE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        if (!::GetMenuItemInfo(menu, UINT(i), TRUE, &info))
            continue;
        if ((info.fType & MFT_OWNERDRAW) && info.wID == id && info.dwItemData == data)
            return CMenu::FromHandlePermanent(menu);
        if (info.hSubMenu)
            if (CMenu* found = FindOwnerDrawnItem(info.hSubMenu, id, data, depth + 1))
                return found;
    }
    return nullptr;
}

} // namespace

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu) {
    return HandleWrappers::FromHandle<CMenu, CMenu>(menu);
}

CMenu* CMenu::FromHandlePermanent(HMENU menu) {
    return menu ? static_cast<CMenu*>(HandleWrappers::FindPermanent(menu)) : nullptr;
}

BOOL CMenu::Attach(HMENU menu) {
    if (!menu || m_hMenu)
        return FALSE;
    m_hMenu = menu;
    HandleWrappers::AttachPermanent(menu, this);
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU menu = m_hMenu;
    if (menu)
        HandleWrappers::DetachPermanent(menu);
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::CreatePopupMenu() {
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu)
        return FALSE;
    HMENU menu = Detach();
    HandleWrappers::Forget(menu);
    return ::DestroyMenu(menu);
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idNewItem, LPCTSTR newItem) {
    return ::AppendMenu(m_hMenu, flags, idNewItem, newItem);
}

BOOL CMenu::InsertMenuItem(UINT item, LPCMENUITEMINFO info, BOOL byPosition) {
    return ::InsertMenuItem(m_hMenu, item, byPosition, info);
}

BOOL CMenu::GetMenuItemInfo(UINT item, LPMENUITEMINFO info, BOOL byPosition) const {
    return ::GetMenuItemInfo(m_hMenu, item, byPosition, info);
}

UINT CMenu::CheckMenuItem(UINT item, UINT flags) {
    return UINT(::CheckMenuItem(m_hMenu, item, flags));
}

UINT CMenu::EnableMenuItem(UINT item, UINT flags) {
    return UINT(::EnableMenuItem(m_hMenu, item, flags));
}

int CMenu::GetMenuItemCount() const {
    return ::GetMenuItemCount(m_hMenu);
}

UINT CMenu::GetMenuItemID(int position) const {
    return ::GetMenuItemID(m_hMenu, position);
}

CMenu* CMenu::GetSubMenu(int position) const {
    return FromHandle(::GetSubMenu(m_hMenu, position));
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
    const HMENU outer = t_trackedMenu;
    t_trackedMenu = m_hMenu;
    const BOOL result =
        ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, rect);
    t_trackedMenu = outer;
    return result;
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}

CMenu* CMenu::FromOwnerDrawnItem(UINT id, DWORD_PTR data) {
    return t_trackedMenu ? FindOwnerDrawnItem(t_trackedMenu, id, data, 0) : nullptr;
}
