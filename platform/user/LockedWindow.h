// The window a handle names, looked up under the window manager's lock, which the object holds
// for its lifetime. The user layer's entry points start their bookkeeping with one of these.
#pragma once

#include <mutex>

#include "platform/user/WindowManager.h"

class LockedWindow {
public:
    explicit LockedWindow(HWND hwnd)
        : m_wm(WindowManager::Instance()), m_lock(m_wm.Mutex()), m_record(m_wm.Find(hwnd)) {}
    LockedWindow(const LockedWindow&) = delete;
    LockedWindow& operator=(const LockedWindow&) = delete;

    // False when the handle names no window.
    explicit operator bool() const { return m_record != nullptr; }
    WindowRecord& operator*() const { return *m_record; }
    WindowRecord* operator->() const { return m_record; }
    WindowRecord* Get() const { return m_record; }
    WindowManager& Manager() const { return m_wm; }

private:
    WindowManager& m_wm;
    std::lock_guard<std::mutex> m_lock;
    WindowRecord* m_record;
};
