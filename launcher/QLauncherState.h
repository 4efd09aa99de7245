// What the launcher is doing, derived from what is under way: the view open, its start-up done,
// a launch or a remote connection holding the co-processor. The start-up thread and the UI
// thread both change it; each change of the derived state goes to the event log as
// "launcher.state", so that anyone watching the device can follow the launcher.
#pragma once

#include "platform/kernel/CCriticalSection.h"

class QLauncherState {
public:
    enum class State { Closed, Starting, Idle, Launching, Remote };

    // The view has set up its form: Starting until the start-up is done.
    void Open();
    // The view is gone: Closed.
    void Close();
    void SetStartupDone();
    void SetLaunching(bool launching);
    void SetRemote(bool open);
    State Get();

    static const char* Name(State state);

private:
    // Derives the state from the flags and records it when it changed; the lock is held.
    void Update();

    CCriticalSection m_lock;
    bool m_open = false;
    bool m_startupDone = false;
    bool m_launching = false;
    bool m_remote = false;
    State m_state = State::Closed;
};
