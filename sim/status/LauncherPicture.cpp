#include "sim/status/LauncherPicture.h"

#include <algorithm>

LauncherPicture::LauncherPicture() {
    m_listener = EventLog::Instance().AddListener([this](const EventLog::Entry& e) { Take(e); });
}

LauncherPicture::~LauncherPicture() {
    EventLog::Instance().RemoveListener(m_listener);
}

void LauncherPicture::Forget() {
    m_items.clear();
    m_focused = -1;
    m_caption.clear();
    m_progress = nullptr;
    m_running = nullptr;
}

void LauncherPicture::Take(const EventLog::Entry& e) {
    const nlohmann::json& f = e.fields;
    const auto text = [&f](const char* name) { return f.value(name, std::string()); };
    std::lock_guard lock(m_mutex);
    if (e.kind == "launcher.state") {
        m_state = text("state");
        // A view that is gone shows nothing; the next one starts from nothing.
        if (m_state == "closed")
            Forget();
    } else if (e.kind == "caption.shown") {
        m_caption = text("text");
    } else if (e.kind == "list.cleared") {
        m_items.clear();
        m_focused = -1;
    } else if (e.kind == "list.item") {
        const auto index = std::size_t(std::max(0, f.value("index", 0)));
        const Item item{text("text"), text("program"), text("image"), text("parameters")};
        m_items.insert(m_items.begin() + std::ptrdiff_t(std::min(index, m_items.size())), item);
    } else if (e.kind == "list.focus") {
        // The item that loses the focus and the one that gains it may be told in either order.
        const int index = f.value("index", -1);
        if (f.value("focused", false))
            m_focused = index;
        else if (m_focused == index)
            m_focused = -1;
    } else if (e.kind == "progress.shown") {
        m_progress = text("text");
    } else if (e.kind == "progress.hidden" || e.kind == "screen.text") {
        // The view painted over the text, or a program painted the whole screen.
        m_progress = nullptr;
    } else if (e.kind == "program.started") {
        m_running = {{"program", text("program")}, {"parameters", text("parameters")}};
    } else if (e.kind == "program.ended") {
        m_running = nullptr;
    } else if (e.kind == "gauge.changed") {
        m_gauge = f;
    }
}

nlohmann::json LauncherPicture::Describe() const {
    std::lock_guard lock(m_mutex);
    nlohmann::json items = nlohmann::json::array();
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        items.push_back({{"text", item.text},
                         {"program", item.program},
                         {"image", item.image},
                         {"parameters", item.parameters},
                         {"focused", int(i) == m_focused}});
    }
    const bool focusListed = m_focused >= 0 && std::size_t(m_focused) < m_items.size();
    return {{"state", m_state},
            {"caption", m_caption},
            {"progress", m_progress},
            {"running", m_running},
            {"focus", focusListed ? nlohmann::json(m_focused) : nlohmann::json()},
            {"items", items}};
}

nlohmann::json LauncherPicture::Gauge() const {
    std::lock_guard lock(m_mutex);
    return m_gauge;
}
