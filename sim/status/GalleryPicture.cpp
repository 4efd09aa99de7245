#include "sim/status/GalleryPicture.h"

GalleryPicture::GalleryPicture() {
    m_listener = EventLog::Instance().AddListener([this](const EventLog::Entry& e) { Take(e); });
}

GalleryPicture::~GalleryPicture() {
    EventLog::Instance().RemoveListener(m_listener);
}

void GalleryPicture::Take(const EventLog::Entry& e) {
    std::lock_guard lock(m_mutex);
    if (e.kind == "gallery.page")
        m_page = e.fields;
    else if (e.kind == "gallery.command")
        m_command = e.fields;
}

nlohmann::json GalleryPicture::Describe() const {
    std::lock_guard lock(m_mutex);
    if (m_page.is_null())
        return nullptr;
    return {{"page", m_page}, {"command", m_command}};
}
