#include "platform/user/MenuTree.h"

#include <nlohmann/json.hpp>

#include "platform/kernel/CString.h"
#include "platform/user/WindowManager.h"

nlohmann::json DescribeOpenMenus() {
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    nlohmann::json menus = nlohmann::json::array();
    for (const OpenMenu& open : wm.Menus().Open()) {
        const MenuRecord* menu = wm.Menus().Find(open.hmenu);
        const WindowRecord* window = wm.Find(open.window);
        if (!menu || !window)
            continue;
        nlohmann::json items = nlohmann::json::array();
        for (std::size_t i = 0; i < menu->items.size(); ++i) {
            const MenuItem& item = menu->items[i];
            items.push_back({{"id", item.id},
                             {"text", CString(item.text).ToUtf8()},
                             {"owner_drawn", (item.type & MFT_OWNERDRAW) != 0},
                             {"checked", (item.state & MFS_CHECKED) != 0},
                             {"grayed", (item.state & MFS_GRAYED) != 0},
                             {"separator", (item.type & MFT_SEPARATOR) != 0},
                             {"selected", int(i) == open.selected},
                             {"submenu", item.submenu != nullptr}});
        }
        const RECT r = wm.WindowScreenRect(*window);
        menus.push_back({{"menu", reinterpret_cast<std::uintptr_t>(open.hmenu)},
                         {"hwnd", reinterpret_cast<std::uintptr_t>(open.window)},
                         {"rect", {r.left, r.top, r.right, r.bottom}},
                         {"items", std::move(items)}});
    }
    return menus;
}
