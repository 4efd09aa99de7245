// The texts of owner-drawn menu items as the widget kit reports them ("menu.item" records of the
// device's event log: the menu, the item's id and its text). The platform keeps no text for an
// owner-drawn item, so the status's list of open menus takes it from here. Follows the log as
// entries are recorded; any thread may read it.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "platform/kernel/EventLog.h"

class MenuItemTexts {
public:
    // Takes in what the log holds already, then follows it.
    MenuItemTexts();
    ~MenuItemTexts();
    MenuItemTexts(const MenuItemTexts&) = delete;
    MenuItemTexts& operator=(const MenuItemTexts&) = delete;

    // Gives every owner-drawn item of the open menus (as DescribeOpenMenus lists them) the text
    // last reported for its menu and id; a separator shows no text, and an item nobody reported
    // keeps its empty one.
    nlohmann::json Named(nlohmann::json menus) const;

private:
    void Take(const EventLog::Entry& entry);

    mutable std::mutex m_mutex;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::string> m_texts; // (menu, id)
    std::uint64_t m_listener = 0;
};
