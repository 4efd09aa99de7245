#include "sim/shell/Stylus.h"

#include "platform/kernel/EventLog.h"
#include "platform/user/WinUser.h"

namespace {

// The normalised coordinate (0..65535 across the screen) whose pixel is x.
LONG Normalised(int x, int pixels) {
    return LONG((x * 65536 + pixels - 1) / pixels);
}

const char* KindOf(Stylus::Change change) {
    switch (change) {
    case Stylus::Change::Down:
        return "stylus.down";
    case Stylus::Change::Move:
        return "stylus.move";
    default:
        return "stylus.up";
    }
}

} // namespace

bool Stylus::Apply(Change change, int x, int y, DWORD timeMs) {
    std::lock_guard lock(m_mutex);
    if (!OnScreen(x, y) || (change == Change::Down) == m_down)
        return false;
    if (change == Change::Move && x == m_x && y == m_y)
        return true; // the stylus has not moved
    if (change == Change::Down)
        m_strokeToWindows = !m_programScreen;
    m_down = change != Change::Up;
    m_x = x;
    m_y = y;
    EventLog::Instance().Record(KindOf(change), {{"x", x}, {"y", y}});
    if (!m_strokeToWindows)
        return true;
    INPUT input;
    input.mi.dx = Normalised(x, kWidth);
    input.mi.dy = Normalised(y, kHeight);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE |
                       (change == Change::Down ? MOUSEEVENTF_LEFTDOWN
                        : change == Change::Up ? MOUSEEVENTF_LEFTUP
                                               : 0);
    input.mi.time = timeMs;
    SendInput(1, &input, sizeof(INPUT));
    return true;
}

bool Stylus::IsDown() const {
    std::lock_guard lock(m_mutex);
    return m_down;
}

void Stylus::SetProgramScreen(bool shown) {
    std::lock_guard lock(m_mutex);
    m_programScreen = shown;
}
