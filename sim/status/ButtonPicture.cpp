#include "sim/status/ButtonPicture.h"

ButtonPicture::ButtonPicture() {
    m_listener = EventLog::Instance().AddListener([this](const EventLog::Entry& e) { Take(e); });
}

ButtonPicture::~ButtonPicture() {
    EventLog::Instance().RemoveListener(m_listener);
}

void ButtonPicture::Take(const EventLog::Entry& e) {
    if (e.kind == "window.destroyed") {
        // Window handles are not used again, but a gone button need not be remembered.
        std::lock_guard lock(m_mutex);
        m_checked.erase(e.fields.value("hwnd", std::uintptr_t(0)));
        return;
    }
    if (e.kind != "button.checked")
        return;
    std::lock_guard lock(m_mutex);
    m_checked[e.fields.value("hwnd", std::uintptr_t(0))] = e.fields.value("checked", 0) != 0;
}

bool ButtonPicture::Checked(std::uintptr_t hwnd) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_checked.find(hwnd);
    return found != m_checked.end() && found->second;
}
