// The simulator's picture of the launcher, built only from what the device's event log says the
// launcher did: its state, the program list with each item's launch record and which item has
// the focus, the caption text, the progress text on screen, the program running and what the
// battery gauge shows. It follows the log as entries are recorded, so nothing is missed however
// long ago it happened, and any thread may read it at any time without waiting for the
// launcher's UI thread, which is blocked for the whole of a launch.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/kernel/EventLog.h"

class LauncherPicture {
public:
    // Takes in what the log holds already, then follows it.
    LauncherPicture();
    ~LauncherPicture();
    LauncherPicture(const LauncherPicture&) = delete;
    LauncherPicture& operator=(const LauncherPicture&) = delete;

    // {state, caption, progress (or null), running {program, parameters} (or null),
    //  focus (index or null), items [{text, program, image, parameters, focused}]}
    nlohmann::json Describe() const;
    // The gauge's latest {level, charging, warning, ...}; null before the gauge said anything.
    nlohmann::json Gauge() const;

private:
    struct Item {
        std::string text;
        std::string program;
        std::string image;
        std::string parameters;
    };

    void Take(const EventLog::Entry& entry);
    void Forget();

    mutable std::mutex m_mutex;
    std::string m_state = "closed";
    std::vector<Item> m_items;
    int m_focused = -1;
    std::string m_caption;
    nlohmann::json m_progress;
    nlohmann::json m_running;
    nlohmann::json m_gauge;
    std::uint64_t m_listener = 0;
};
