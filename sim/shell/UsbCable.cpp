#include "sim/shell/UsbCable.h"

#include <chrono>

#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelThreads.h"
#include "sim/control/ControlServer.h"

namespace {

// How long a plug or unplug waits for the system's thread, in host time; it answers at once
// unless something is badly wrong.
constexpr auto kAnswerLimit = std::chrono::seconds(30);

// The notice as the system shows it: a bordered box in the static colour with the one line
// centred, not taking the activation from the program in front (it has no buttons to focus).
HWND ShowNotice() {
    const RECT r = UsbCable::kNoticeRect;
    HWND notice = CreateWindowEx(WS_EX_TOPMOST, L"Dialog", L"Connected to USB",
                                 WS_POPUP | WS_BORDER, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    if (!notice)
        return nullptr;
    RECT client;
    GetClientRect(notice, &client);
    HWND text = CreateWindowEx(0, L"Static", L"Connected to USB",
                               WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0,
                               0, client.right, client.bottom, notice, nullptr, nullptr, nullptr);
    ShowWindow(notice, SW_SHOWNOACTIVATE);
    // Painted before the plug is answered, so that whoever plugged the cable in finds the
    // notice on the screen.
    UpdateWindow(notice);
    UpdateWindow(text);
    return notice;
}

std::uintptr_t Handle(HWND hwnd) {
    return reinterpret_cast<std::uintptr_t>(hwnd);
}

} // namespace

UsbCable::~UsbCable() {
    if (!m_thread.joinable())
        return;
    PostThreadMessage(m_threadId, WM_QUIT, 0, 0);
    m_thread.join();
}

void UsbCable::Run() {
    MSG msg;
    // The queue exists before the thread says it is there, so that no post is lost.
    PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);
    {
        std::lock_guard lock(m_mutex);
        m_threadId = GetCurrentThreadId();
    }
    m_cv.notify_all();
    HWND notice = nullptr;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        if (msg.hwnd || (msg.message != kPlugIn && msg.message != kUnplug)) {
            DispatchMessage(&msg);
            continue;
        }
        if (msg.message == kPlugIn && !notice) {
            notice = ShowNotice();
        } else if (msg.message == kUnplug && notice) {
            DestroyWindow(notice);
            notice = nullptr;
        }
        {
            std::lock_guard lock(m_mutex);
            m_notice = notice;
            ++m_answered;
        }
        m_cv.notify_all();
    }
    if (notice)
        DestroyWindow(notice);
    std::lock_guard lock(m_mutex);
    m_notice = nullptr;
}

void UsbCable::StartThread() {
    if (m_thread.joinable())
        return;
    m_thread = std::thread([this] { Run(); });
    std::unique_lock lock(m_mutex);
    m_cv.wait(lock, [this] { return m_threadId != 0; });
}

bool UsbCable::Ask(UINT message) {
    std::unique_lock lock(m_mutex);
    if (!PostThreadMessage(m_threadId, message, 0, 0))
        return false;
    const std::uint64_t ticket = ++m_asked;
    return m_cv.wait_for(lock, kAnswerLimit, [&] { return m_answered >= ticket; });
}

nlohmann::json UsbCable::Plug(bool in) {
    std::lock_guard command(m_commandMutex);
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        changed = m_connected != in;
    }
    if (changed) {
        StartThread();
        if (!Ask(in ? kPlugIn : kUnplug))
            return ControlServer::Error("usb: the system's thread does not answer");
        HWND notice = nullptr;
        {
            std::lock_guard lock(m_mutex);
            m_connected = in;
            notice = m_notice;
        }
        if (in && !notice)
            return ControlServer::Error("usb: the system could not show its notice");
        if (in)
            EventLog::Instance().Record("usb.connected", {{"notice", Handle(notice)}});
        else
            EventLog::Instance().Record("usb.disconnected", {});
    }
    nlohmann::json answer = Describe();
    answer["changed"] = changed;
    return answer;
}

nlohmann::json UsbCable::Request(const nlohmann::json& request) {
    const std::string action = request.value("action", std::string());
    if (action != "connect" && action != "disconnect")
        return ControlServer::Error("usb: give the \"action\": connect or disconnect");
    return Plug(action == "connect");
}

nlohmann::json UsbCable::Describe() const {
    std::lock_guard lock(m_mutex);
    nlohmann::json notice;
    if (m_notice)
        notice = {{"hwnd", Handle(m_notice)}, {"visible", IsWindowVisible(m_notice) != FALSE}};
    return {{"connected", m_connected}, {"notice", notice}};
}
