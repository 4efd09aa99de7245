// Every menu of the device and the popup menus being tracked, kept by the window manager under
// its lock.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/user/MenuRecord.h"

class MenuTable {
public:
    // Where an item lives: its menu and its position there.
    struct Place {
        MenuRecord* menu = nullptr;
        std::size_t position = 0;
        MenuItem& Item() const { return menu->items[position]; }
    };

    HMENU Create();
    MenuRecord* Find(HMENU hmenu);
    // Forgets the menu and, depth first, its submenus. False when it does not exist.
    bool Destroy(HMENU hmenu);
    // The item at a position of the menu, or the first item with that command id in the menu
    // or, depth first, its submenus. False when there is none.
    bool Locate(HMENU hmenu, UINT item, bool byPosition, Place* place);

    // What a thread's menu loop shows now (nothing: the loop ended).
    void SetOpen(DWORD threadId, const std::vector<OpenMenu>& levels);
    const std::vector<OpenMenu>& Open() const { return m_open; }

private:
    // Submenus nested deeper than this are not searched (a menu may hold itself).
    static constexpr int kMostDepth = 16;

    bool LocateCommand(HMENU hmenu, UINT id, int depth, Place* place);

    std::unordered_map<HMENU, std::unique_ptr<MenuRecord>> m_menus;
    // Apart from the GDI's handles (the framework's handle maps hold both), and within 32 bits,
    // so that a submenu's handle also fits the id of its item.
    std::uintptr_t m_nextHandle = 0x40000010;
    std::vector<OpenMenu> m_open;
};
