#include "platform/user/MenuTable.h"

#include <algorithm>

HMENU MenuTable::Create() {
    auto record = std::make_unique<MenuRecord>();
    HMENU hmenu = reinterpret_cast<HMENU>(m_nextHandle);
    m_nextHandle += 4;
    record->hmenu = hmenu;
    m_menus.emplace(hmenu, std::move(record));
    return hmenu;
}

MenuRecord* MenuTable::Find(HMENU hmenu) {
    if (!hmenu)
        return nullptr;
    auto it = m_menus.find(hmenu);
    return it == m_menus.end() ? nullptr : it->second.get();
}

bool MenuTable::Destroy(HMENU hmenu) {
    auto it = m_menus.find(hmenu);
    if (it == m_menus.end())
        return false;
    // Forgotten before its submenus, so a menu that holds itself ends the walk.
    const std::unique_ptr<MenuRecord> record = std::move(it->second);
    m_menus.erase(it);
    for (const MenuItem& item : record->items)
        if (item.submenu)
            Destroy(item.submenu);
    return true;
}

bool MenuTable::Locate(HMENU hmenu, UINT item, bool byPosition, Place* place) {
    if (!byPosition)
        return LocateCommand(hmenu, item, 0, place);
    MenuRecord* menu = Find(hmenu);
    if (!menu || item >= menu->items.size())
        return false;
    *place = Place{menu, item};
    return true;
}

bool MenuTable::LocateCommand(HMENU hmenu, UINT id, int depth, Place* place) {
    MenuRecord* menu = Find(hmenu);
    if (!menu || depth > kMostDepth)
        return false;
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        if (menu->items[i].id == id) {
            *place = Place{menu, i};
            return true;
        }
        if (menu->items[i].submenu && LocateCommand(menu->items[i].submenu, id, depth + 1, place))
            return true;
    }
    return false;
}

void MenuTable::SetOpen(DWORD threadId, const std::vector<OpenMenu>& levels) {
    std::erase_if(m_open, [&](const OpenMenu& m) { return m.threadId == threadId; });
    m_open.insert(m_open.end(), levels.begin(), levels.end());
}
