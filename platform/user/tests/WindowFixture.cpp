#include "WindowFixture.h"

#include <mutex>

#include "platform/gdi/WinGdi.h"

namespace {

std::mutex g_logLock;
std::vector<ProbeMessage> g_log;

LRESULT ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard lock(g_logLock);
        g_log.push_back(ProbeMessage{hwnd, message, wParam, lParam});
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

} // namespace

std::vector<ProbeMessage> ProbeLog() {
    std::lock_guard lock(g_logLock);
    return g_log;
}

void ClearProbeLog() {
    std::lock_guard lock(g_logLock);
    g_log.clear();
}

std::vector<ProbeMessage> ProbeLogOf(UINT message) {
    std::vector<ProbeMessage> only;
    for (const ProbeMessage& m : ProbeLog())
        if (m.message == message)
            only.push_back(m);
    return only;
}

LPCTSTR WhiteClass(LPCTSTR name, WNDPROC proc) {
    WNDCLASS wc;
    if (GetClassInfo(nullptr, name, &wc))
        return name;
    wc = WNDCLASS{};
    wc.lpfnWndProc = proc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_WINDOW + 1));
    wc.lpszClassName = name;
    return RegisterClass(&wc) ? name : nullptr;
}

LPCTSTR ProbeClass() {
    return WhiteClass(L"Probe", ProbeProc);
}

void PumpUntilIdle() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        DispatchMessage(&msg);
    }
}

void WindowTest::SetUp() {
    DeviceClock::Instance().SetManual();
    ClearProbeLog();
}

void WindowTest::TearDown() {
    for (HWND hwnd : m_windows)
        DestroyWindow(hwnd);
    PumpUntilIdle();
    DeviceClock::Instance().SetScaled(1.0);
}

HWND WindowTest::MakeTopLevel(RECT r, DWORD style) {
    HWND hwnd = CreateWindowEx(0, ProbeClass(), L"top", style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    m_windows.push_back(hwnd);
    return hwnd;
}

HWND WindowTest::MakeChild(HWND parent, RECT r, int id, DWORD style) {
    return CreateWindowEx(0, ProbeClass(), L"child", style | WS_CHILD, r.left, r.top,
                          r.right - r.left, r.bottom - r.top, parent,
                          reinterpret_cast<HMENU>(std::intptr_t(id)), nullptr, nullptr);
}
