#include "launcher/QLauncherStatus.h"

#include "platform/kernel/EventLog.h"

QLauncherStatus& QLauncherStatus::Instance() {
    static QLauncherStatus status;
    return status;
}

void QLauncherStatus::Open(const CString& caption) {
    std::lock_guard lock(m_mutex);
    m_open = true;
    m_startupDone = m_launching = m_remote = false;
    m_items.clear();
    m_focused = -1;
    m_caption = caption;
    m_progress.reset();
    m_running.reset();
    UpdateStateLocked();
}

void QLauncherStatus::Close() {
    std::lock_guard lock(m_mutex);
    m_open = false;
    m_items.clear();
    m_focused = -1;
    m_caption.Empty();
    m_progress.reset();
    m_running.reset();
    UpdateStateLocked();
}

void QLauncherStatus::SetStartupDone() {
    std::lock_guard lock(m_mutex);
    m_startupDone = true;
    UpdateStateLocked();
}

void QLauncherStatus::SetLaunching(bool launching) {
    std::lock_guard lock(m_mutex);
    m_launching = launching;
    UpdateStateLocked();
}

void QLauncherStatus::SetRemote(bool open) {
    std::lock_guard lock(m_mutex);
    m_remote = open;
    UpdateStateLocked();
}

QLauncherStatus::State QLauncherStatus::GetState() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

const char* QLauncherStatus::StateName(State state) {
    switch (state) {
    case State::Closed:
        return "closed";
    case State::Starting:
        return "starting";
    case State::Idle:
        return "idle";
    case State::Launching:
        return "launching";
    case State::Remote:
        return "remote";
    }
    return "closed";
}

void QLauncherStatus::ClearItems() {
    std::lock_guard lock(m_mutex);
    m_items.clear();
    m_focused = -1;
}

void QLauncherStatus::AddItem(const Item& item) {
    std::lock_guard lock(m_mutex);
    m_items.push_back(item);
}

void QLauncherStatus::SetFocusedItem(int index) {
    std::lock_guard lock(m_mutex);
    m_focused = index;
}

void QLauncherStatus::SetCaption(const CString& text) {
    std::lock_guard lock(m_mutex);
    m_caption = text;
}

void QLauncherStatus::SetProgress(const CString& text) {
    std::lock_guard lock(m_mutex);
    m_progress = text;
}

void QLauncherStatus::ClearProgress() {
    std::lock_guard lock(m_mutex);
    m_progress.reset();
}

void QLauncherStatus::SetRunning(const CString& program, const CString& parameters) {
    std::lock_guard lock(m_mutex);
    m_running = Running{program, parameters};
}

void QLauncherStatus::ClearRunning() {
    std::lock_guard lock(m_mutex);
    m_running.reset();
}

nlohmann::json QLauncherStatus::Describe() const {
    std::lock_guard lock(m_mutex);
    nlohmann::json items = nlohmann::json::array();
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        items.push_back({{"text", item.text.ToUtf8()},
                         {"program", item.program.ToUtf8()},
                         {"image", item.image.ToUtf8()},
                         {"parameters", item.parameters.ToUtf8()},
                         {"focused", int(i) == m_focused}});
    }
    nlohmann::json running = nullptr;
    if (m_running)
        running = {{"program", m_running->program.ToUtf8()},
                   {"parameters", m_running->parameters.ToUtf8()}};
    const bool focusListed = m_focused >= 0 && std::size_t(m_focused) < m_items.size();
    return {{"state", StateName(m_state)},
            {"caption", m_caption.ToUtf8()},
            {"progress", m_progress ? nlohmann::json(m_progress->ToUtf8()) : nlohmann::json()},
            {"running", running},
            {"focus", focusListed ? nlohmann::json(m_focused) : nlohmann::json()},
            {"items", items}};
}

// A remote connection and a launch each hold the co-processor, so either outranks the start-up
// still running; the start-up thread may end while one of them is on.
void QLauncherStatus::UpdateStateLocked() {
    State state = State::Closed;
    if (!m_open)
        state = State::Closed;
    else if (m_launching)
        state = State::Launching;
    else if (m_remote)
        state = State::Remote;
    else if (!m_startupDone)
        state = State::Starting;
    else
        state = State::Idle;
    if (state == m_state)
        return;
    m_state = state;
    EventLog::Instance().Record("launcher.state", {{"state", StateName(state)}});
}
