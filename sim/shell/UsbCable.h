// The device's USB cable and the notice its operating system shows when the cable is plugged
// in: a top-level "Dialog" window titled "Connected to USB" over whatever is on the screen,
// made, kept and destroyed by a thread of the system's own with its own message loop.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "platform/user/WinUser.h"

class UsbCable {
public:
    // The notice's place on the screen (window rect, screen pixels).
    static constexpr RECT kNoticeRect{30, 135, 210, 185};

    UsbCable() = default;
    // Ends the system's thread; a notice still there goes with it.
    ~UsbCable();
    UsbCable(const UsbCable&) = delete;
    UsbCable& operator=(const UsbCable&) = delete;

    // The control socket's "usb" request: "action" connect or disconnect. Plugging in a cable
    // that is in, or pulling out one that is not, changes nothing and says so ("changed"
    // false); a notice that a key has hidden stays hidden while the cable stays in.
    nlohmann::json Request(const nlohmann::json& request);
    // {"connected", "notice": null, or {"hwnd", "visible"}} for the status.
    nlohmann::json Describe() const;

private:
    // Thread messages of the system's thread.
    static constexpr UINT kPlugIn = WM_APP + 1;
    static constexpr UINT kUnplug = WM_APP + 2;

    nlohmann::json Plug(bool in);
    // Starts the system's thread when it is not running yet, on the first plug.
    void StartThread();
    // Posts one of the messages above to the system's thread and waits until it has handled
    // it; false when it did not answer.
    bool Ask(UINT message);
    void Run();

    std::mutex m_commandMutex; // one plug or unplug at a time
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::thread m_thread;
    DWORD m_threadId = 0;
    std::uint64_t m_asked = 0;
    std::uint64_t m_answered = 0;
    bool m_connected = false;
    HWND m_notice = nullptr; // made and destroyed on the system's thread only
};
