// What the launcher is doing and showing, kept up to date by the launcher view for the
// simulator's status: its state, the program list with each item's launch record and which item
// has the focus, the caption text, the progress text on screen and the program running. Any
// thread may read it at any time; it never waits for the launcher's UI thread, which is blocked
// for the whole of a launch. Each change of state is recorded in the event log as
// "launcher.state".
#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/kernel/CString.h"

class QLauncherStatus {
public:
    enum class State { Closed, Starting, Idle, Launching, Remote };

    struct Item {
        CString text;
        CString program;
        CString image;
        CString parameters;
    };

    // The status of the process's one launcher view.
    static QLauncherStatus& Instance();

    // A view has set up its form and starts: state Starting, with the caption it shows and an
    // empty list.
    void Open(const CString& caption);
    // The view is gone: state Closed, nothing listed or shown.
    void Close();
    // The start-up thread has done its work.
    void SetStartupDone();
    void SetLaunching(bool launching);
    void SetRemote(bool open);
    State GetState() const;
    static const char* StateName(State state);

    void ClearItems();
    void AddItem(const Item& item);
    // The list's focused item, -1 for none.
    void SetFocusedItem(int index);
    void SetCaption(const CString& text);
    // The text of the progress popup, which stays on screen until the view paints over it.
    void SetProgress(const CString& text);
    void ClearProgress();
    void SetRunning(const CString& program, const CString& parameters);
    void ClearRunning();

    // {state, caption, progress (or null), running {program, parameters} (or null),
    //  focus (index or null), items [{text, program, image, parameters, focused}]}
    nlohmann::json Describe() const;

private:
    struct Running {
        CString program;
        CString parameters;
    };

    // Derives the state from the flags and records it when it changed.
    void UpdateStateLocked();

    mutable std::mutex m_mutex;
    bool m_open = false;
    bool m_startupDone = false;
    bool m_launching = false;
    bool m_remote = false;
    State m_state = State::Closed;
    std::vector<Item> m_items;
    int m_focused = -1;
    CString m_caption;
    std::optional<CString> m_progress;
    std::optional<Running> m_running;
};
