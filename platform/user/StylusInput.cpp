#include "platform/user/StylusInput.h"

#include <algorithm>
#include <cstdlib>

#include "platform/user/WindowHitTest.h"

namespace {

// Normalised coordinates 0..65535 cover the screen's pixels evenly.
LONG FromNormalised(LONG value, LONG pixels) {
    return LONG(std::int64_t(std::clamp<LONG>(value, 0, 65535)) * pixels / 65536);
}

} // namespace

StylusInput& StylusInput::Instance() {
    static StylusInput* instance = new StylusInput(); // the window manager outlives its users too
    return *instance;
}

void StylusInput::Place(const MOUSEINPUT& input) {
    if (input.dwFlags & MOUSEEVENTF_ABSOLUTE) {
        m_position = POINT{FromNormalised(input.dx, WindowManager::kScreenWidth),
                           FromNormalised(input.dy, WindowManager::kScreenHeight)};
    } else {
        m_position.x =
            std::clamp<LONG>(m_position.x + input.dx, 0, WindowManager::kScreenWidth - 1);
        m_position.y =
            std::clamp<LONG>(m_position.y + input.dy, 0, WindowManager::kScreenHeight - 1);
    }
}

HWND StylusInput::Deliver(WindowManager& wm, UINT message, WPARAM wParam, DWORD time) {
    WindowRecord* target = wm.Find(Capture(wm));
    if (!target) {
        target = WindowAtPointLocked(wm, m_position);
        // The frame of a window is no part of its client area: no client message.
        if (target) {
            const RECT client = wm.ClientScreenRect(*target);
            if (m_position.x < client.left || m_position.x >= client.right ||
                m_position.y < client.top || m_position.y >= client.bottom)
                target = nullptr;
        }
    }
    if (!target)
        return nullptr;
    MessageQueue* q = wm.Queue(target->threadId);
    if (!q || q->ended)
        return nullptr;
    if (message == WM_LBUTTONDOWN)
        message = PressMessage(wm, target->hwnd, time);
    const POINT origin = wm.ClientOrigin(*target);
    const LPARAM where = MAKELPARAM(WORD(m_position.x - origin.x), WORD(m_position.y - origin.y));
    q->Post(MSG{target->hwnd, message, wParam, where, time, m_position});
    return target->hwnd;
}

UINT StylusInput::PressMessage(WindowManager& wm, HWND target, DWORD time) {
    const WindowRecord* w = wm.Find(target);
    const WindowManager::ClassRecord* cls = w ? wm.FindClass(w->className.c_str()) : nullptr;
    const bool second = target == m_pressWindow && time - m_pressTime <= kDoubleTapMs &&
                        std::abs(m_position.x - m_pressPoint.x) <= kDoubleTapSize / 2 &&
                        std::abs(m_position.y - m_pressPoint.y) <= kDoubleTapSize / 2;
    if (second && cls && (cls->wc.style & CS_DBLCLKS)) {
        // The press after a double tap starts afresh.
        m_pressWindow = nullptr;
        return WM_LBUTTONDBLCLK;
    }
    m_pressWindow = target;
    m_pressPoint = m_position;
    m_pressTime = time;
    return WM_LBUTTONDOWN;
}

void StylusInput::Report(WindowManager& wm, const MOUSEINPUT& input, DWORD time) {
    if (input.dwFlags & MOUSEEVENTF_MOVE) {
        const POINT before = m_position;
        Place(input);
        // The touch screen knows no position while the stylus is lifted.
        if (m_down && (m_position.x != before.x || m_position.y != before.y))
            Deliver(wm, WM_MOUSEMOVE, MK_LBUTTON, time);
    }
    if ((input.dwFlags & MOUSEEVENTF_LEFTDOWN) && !m_down) {
        m_down = true;
        if (!Deliver(wm, WM_LBUTTONDOWN, MK_LBUTTON, time))
            m_pressWindow = nullptr; // a press that reached no window completes no double tap
    }
    if ((input.dwFlags & MOUSEEVENTF_LEFTUP) && m_down) {
        m_down = false;
        Deliver(wm, WM_LBUTTONUP, 0, time);
    }
}
