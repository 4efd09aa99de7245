// The simulator's picture of the widget kit's buttons, built from the device's event log: the
// check state that each kit button last said it had (button.checked). A button that never said
// anything is unchecked, as every kit button starts.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>

#include "platform/kernel/EventLog.h"

class ButtonPicture {
public:
    // Takes in what the log holds already, then follows it.
    ButtonPicture();
    ~ButtonPicture();
    ButtonPicture(const ButtonPicture&) = delete;
    ButtonPicture& operator=(const ButtonPicture&) = delete;

    // The check state of the button window hwnd (as the window tree names windows).
    bool Checked(std::uintptr_t hwnd) const;

private:
    void Take(const EventLog::Entry& entry);

    mutable std::mutex m_mutex;
    std::map<std::uintptr_t, bool> m_checked;
    std::uint64_t m_listener = 0;
};
