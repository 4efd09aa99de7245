// The simulator's picture of the gallery, built from the device's event log: the page it shows
// (gallery.page) and the command that came last from one of its buttons or menus
// (gallery.command).
#pragma once

#include <cstdint>
#include <mutex>

#include <nlohmann/json.hpp>

#include "platform/kernel/EventLog.h"

class GalleryPicture {
public:
    // Takes in what the log holds already, then follows it.
    GalleryPicture();
    ~GalleryPicture();
    GalleryPicture(const GalleryPicture&) = delete;
    GalleryPicture& operator=(const GalleryPicture&) = delete;

    // {page: {index, title}, command: {source, id, text} or null}; null before the gallery
    // showed a page.
    nlohmann::json Describe() const;

private:
    void Take(const EventLog::Entry& entry);

    mutable std::mutex m_mutex;
    nlohmann::json m_page;
    nlohmann::json m_command;
    std::uint64_t m_listener = 0;
};
