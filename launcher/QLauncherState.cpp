#include "launcher/QLauncherState.h"

#include "platform/kernel/EventLog.h"

void QLauncherState::Open() {
    m_lock.Lock();
    m_open = true;
    m_startupDone = m_launching = m_remote = false;
    Update();
    m_lock.Unlock();
}

void QLauncherState::Close() {
    m_lock.Lock();
    m_open = false;
    Update();
    m_lock.Unlock();
}

void QLauncherState::SetStartupDone() {
    m_lock.Lock();
    m_startupDone = true;
    Update();
    m_lock.Unlock();
}

void QLauncherState::SetLaunching(bool launching) {
    m_lock.Lock();
    m_launching = launching;
    Update();
    m_lock.Unlock();
}

void QLauncherState::SetRemote(bool open) {
    m_lock.Lock();
    m_remote = open;
    Update();
    m_lock.Unlock();
}

QLauncherState::State QLauncherState::Get() {
    m_lock.Lock();
    const State state = m_state;
    m_lock.Unlock();
    return state;
}

const char* QLauncherState::Name(State state) {
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

// A remote connection and a launch each hold the co-processor, so either outranks the start-up
// still running; the start-up thread may end while one of them is on.
void QLauncherState::Update() {
    State state = State::Idle;
    if (!m_open)
        state = State::Closed;
    else if (m_launching)
        state = State::Launching;
    else if (m_remote)
        state = State::Remote;
    else if (!m_startupDone)
        state = State::Starting;
    if (state == m_state)
        return;
    m_state = state;
    EventLog::Instance().Record("launcher.state", {{"state", Name(state)}});
}
