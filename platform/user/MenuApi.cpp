// Menus and their items: creation, items, their state and what GetMenuItemInfo reports, and
// the tracking of a popup menu.
#include <algorithm>

#include "platform/kernel/LastError.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/user/MenuLoop.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowManager.h"

namespace {

// The menu table under the window manager's lock, for one call.
class LockedMenus {
public:
    LockedMenus() : m_wm(WindowManager::Instance()), m_lock(m_wm.Mutex()) {}
    MenuTable* operator->() const { return &m_wm.Menus(); }

private:
    WindowManager& m_wm;
    std::lock_guard<std::mutex> m_lock;
};

// MF_GRAYED greys and disables an item; MF_DISABLED only disables it.
UINT EnabledState(UINT flags) {
    if (flags & MF_GRAYED)
        return MFS_GRAYED;
    return flags & MF_DISABLED;
}

UINT CheckedState(UINT flags) {
    return flags & MF_CHECKED;
}

} // namespace

HMENU CreatePopupMenu() {
    PlatformCheckpoint();
    return LockedMenus()->Create();
}

BOOL DestroyMenu(HMENU menu) {
    PlatformCheckpoint();
    return LockedMenus()->Destroy(menu) ? TRUE : FALSE;
}

BOOL IsMenu(HMENU menu) {
    PlatformCheckpoint();
    return LockedMenus()->Find(menu) ? TRUE : FALSE;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCTSTR newItem) {
    PlatformCheckpoint();
    LockedMenus menus;
    MenuRecord* record = menus->Find(menu);
    if (!record)
        return FALSE;
    MenuItem item;
    item.state = EnabledState(flags) | CheckedState(flags);
    item.id = UINT(idNewItem);
    if (flags & MF_POPUP) {
        item.submenu = reinterpret_cast<HMENU>(idNewItem);
        if (!menus->Find(item.submenu))
            return FALSE;
    }
    if (flags & MF_SEPARATOR)
        item.type |= MFT_SEPARATOR;
    if (flags & MF_OWNERDRAW) {
        item.type |= MFT_OWNERDRAW;
        item.data = reinterpret_cast<DWORD_PTR>(newItem);
    } else if (!(flags & MF_SEPARATOR) && newItem) {
        item.text = newItem;
    }
    record->items.push_back(std::move(item));
    return TRUE;
}

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info) {
    PlatformCheckpoint();
    if (!info || info->cbSize != kMenuItemInfoSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    LockedMenus menus;
    MenuRecord* target = menus->Find(menu);
    if (!target)
        return FALSE;
    std::size_t position = target->items.size();
    if (byPosition) {
        position = std::min<std::size_t>(item, position);
    } else {
        MenuTable::Place place;
        if (!menus->Locate(menu, item, false, &place))
            return FALSE;
        target = place.menu;
        position = place.position;
    }
    MenuItem added;
    if (info->fMask & MIIM_TYPE) {
        added.type = info->fType;
        if (!(added.type & (MFT_OWNERDRAW | MFT_SEPARATOR)) && info->dwTypeData)
            added.text = info->dwTypeData;
    }
    if (info->fMask & MIIM_STATE)
        added.state = EnabledState(info->fState) | CheckedState(info->fState);
    if (info->fMask & MIIM_ID)
        added.id = info->wID;
    if (info->fMask & MIIM_SUBMENU) {
        if (info->hSubMenu && !menus->Find(info->hSubMenu))
            return FALSE;
        added.submenu = info->hSubMenu;
    }
    if (info->fMask & MIIM_CHECKMARKS) {
        added.checkedBitmap = info->hbmpChecked;
        added.uncheckedBitmap = info->hbmpUnchecked;
    }
    if (info->fMask & MIIM_DATA)
        added.data = info->dwItemData;
    target->items.insert(target->items.begin() + std::ptrdiff_t(position), std::move(added));
    return TRUE;
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFO info) {
    PlatformCheckpoint();
    if (!info || info->cbSize != kMenuItemInfoSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    LockedMenus menus;
    MenuTable::Place place;
    if (!menus->Locate(menu, item, byPosition != FALSE, &place))
        return FALSE;
    const MenuItem& found = place.Item();
    if (info->fMask & MIIM_STATE)
        info->fState = found.state;
    if (info->fMask & MIIM_ID)
        info->wID = found.id;
    if (info->fMask & MIIM_SUBMENU)
        info->hSubMenu = found.submenu;
    if (info->fMask & MIIM_CHECKMARKS) {
        info->hbmpChecked = found.checkedBitmap;
        info->hbmpUnchecked = found.uncheckedBitmap;
    }
    if (info->fMask & MIIM_DATA)
        info->dwItemData = found.data;
    if (info->fMask & MIIM_TYPE) {
        info->fType = found.type;
        if (!(found.type & (MFT_OWNERDRAW | MFT_SEPARATOR))) {
            if (info->dwTypeData && info->cch > 0) {
                const std::size_t n = std::min<std::size_t>(found.text.size(), info->cch - 1);
                std::copy_n(found.text.begin(), n, info->dwTypeData);
                info->dwTypeData[n] = L'\0';
                info->cch = UINT(n);
            } else {
                info->cch = UINT(found.text.size());
            }
        }
    }
    return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    PlatformCheckpoint();
    LockedMenus menus;
    MenuTable::Place place;
    if (!menus->Locate(menu, item, (flags & MF_BYPOSITION) != 0, &place))
        return 0xFFFFFFFF;
    MenuItem& found = place.Item();
    const DWORD previous = found.state & MF_CHECKED;
    found.state = (found.state & ~MF_CHECKED) | CheckedState(flags);
    return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    PlatformCheckpoint();
    LockedMenus menus;
    MenuTable::Place place;
    if (!menus->Locate(menu, item, (flags & MF_BYPOSITION) != 0, &place))
        return -1;
    MenuItem& found = place.Item();
    const UINT previous = found.state & MFS_GRAYED;
    found.state = (found.state & ~MFS_GRAYED) | EnabledState(flags);
    return previous == MFS_GRAYED ? BOOL(MF_GRAYED) : BOOL(previous);
}

int GetMenuItemCount(HMENU menu) {
    PlatformCheckpoint();
    LockedMenus menus;
    const MenuRecord* record = menus->Find(menu);
    return record ? int(record->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    PlatformCheckpoint();
    LockedMenus menus;
    MenuTable::Place place;
    if (position < 0 || !menus->Locate(menu, UINT(position), true, &place) || place.Item().submenu)
        return 0xFFFFFFFF;
    return place.Item().id;
}

HMENU GetSubMenu(HMENU menu, int position) {
    PlatformCheckpoint();
    LockedMenus menus;
    MenuTable::Place place;
    if (position < 0 || !menus->Locate(menu, UINT(position), true, &place))
        return nullptr;
    return place.Item().submenu;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    PlatformCheckpoint();
    if (MenuLoop::Current() || !IsWindow(owner) || GetMenuItemCount(menu) <= 0)
        return FALSE;
    bool shown = false;
    UINT chosen = 0;
    {
        MenuLoop loop(owner);
        shown = loop.Run(menu, flags, x, y);
        chosen = loop.Chosen();
    }
    if (flags & TPM_RETURNCMD)
        return BOOL(chosen);
    // The owner hears of the choice once the menu has gone.
    if (chosen && IsWindow(owner))
        PostMessage(owner, WM_COMMAND, MAKEWPARAM(WORD(chosen), 0), 0);
    return shown ? TRUE : FALSE;
}
