#include "sim/status/DialogPicture.h"

#include <algorithm>

DialogPicture::DialogPicture() {
    m_listener = EventLog::Instance().AddListener([this](const EventLog::Entry& e) { Take(e); });
}

DialogPicture::~DialogPicture() {
    EventLog::Instance().RemoveListener(m_listener);
}

void DialogPicture::Take(const EventLog::Entry& e) {
    if (e.kind != "dialog.opened" && e.kind != "dialog.closed")
        return;
    const Open dialog{e.fields.value("hwnd", std::uintptr_t(0)), e.fields.value("template", 0u)};
    std::lock_guard lock(m_mutex);
    if (e.kind == "dialog.opened") {
        m_open.push_back(dialog);
        return;
    }
    // A dialog closes whether or not it was the last one opened.
    std::erase_if(m_open, [&](const Open& o) { return o.hwnd == dialog.hwnd; });
}

std::optional<DialogPicture::Open> DialogPicture::Top() const {
    std::lock_guard lock(m_mutex);
    if (m_open.empty())
        return std::nullopt;
    return m_open.back();
}
