#include "sim/status/MenuItemTexts.h"

MenuItemTexts::MenuItemTexts() {
    m_listener = EventLog::Instance().AddListener([this](const EventLog::Entry& e) { Take(e); });
}

MenuItemTexts::~MenuItemTexts() {
    EventLog::Instance().RemoveListener(m_listener);
}

void MenuItemTexts::Take(const EventLog::Entry& e) {
    if (e.kind != "menu.item")
        return;
    const nlohmann::json& f = e.fields;
    if (!f.value("menu", nlohmann::json()).is_number_unsigned() ||
        !f.value("id", nlohmann::json()).is_number_unsigned())
        return;
    std::lock_guard lock(m_mutex);
    m_texts[{f["menu"].get<std::uint64_t>(), f["id"].get<std::uint64_t>()}] =
        f.value("text", std::string());
}

nlohmann::json MenuItemTexts::Named(nlohmann::json menus) const {
    std::lock_guard lock(m_mutex);
    for (nlohmann::json& menu : menus) {
        const auto handle = menu.value("menu", std::uint64_t(0));
        for (nlohmann::json& item : menu["items"]) {
            if (!item.value("owner_drawn", false) || item.value("separator", false))
                continue;
            const auto it = m_texts.find({handle, item.value("id", std::uint64_t(0))});
            if (it != m_texts.end())
                item["text"] = it->second;
        }
    }
    return menus;
}
