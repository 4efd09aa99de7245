// The simulator's picture of the device's modal dialogs, built from the event log
// (dialog.opened, dialog.closed): which of them are open, the newest on top.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/kernel/EventLog.h"

class DialogPicture {
public:
    // Takes in what the log holds already, then follows it.
    DialogPicture();
    ~DialogPicture();
    DialogPicture(const DialogPicture&) = delete;
    DialogPicture& operator=(const DialogPicture&) = delete;

    struct Open {
        std::uintptr_t hwnd = 0;
        unsigned templateId = 0;
    };
    // The modal dialog opened last and not closed yet, or nothing.
    std::optional<Open> Top() const;

private:
    void Take(const EventLog::Entry& entry);

    mutable std::mutex m_mutex;
    std::vector<Open> m_open; // in order of opening
    std::uint64_t m_listener = 0;
};
