#include "WidgetScreen.h"

#include <stdexcept>

#include "platform/gdi/Framebuffer.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelTime.h"

namespace {

std::uint32_t ToRgb(COLORREF c) {
    return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

} // namespace

WidgetScreen::WidgetScreen() {
    DeviceClock::Instance().SetManual();
    Framebuffer::Instance().Clear(ToRgb(kScreen));
    if (!m_parent.CreateEx(0, AfxWndClassName(), L"Widgets", WS_POPUP | WS_VISIBLE, 0, 0,
                           Framebuffer::kWidth, Framebuffer::kHeight, nullptr, nullptr)) {
        throw std::runtime_error("the parent window could not be created");
    }
    Pump();
}

WidgetScreen::~WidgetScreen() {
    m_parent.DestroyWindow();
    Pump();
}

HWND WidgetScreen::AddStatic(int id, const RECT& rect, LPCTSTR text, DWORD style) {
    return CreateWindow(L"Static", text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, m_parent.m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

std::vector<MSG> WidgetScreen::Pump() {
    // A window that never validates its paint would be offered WM_PAINT for ever.
    constexpr std::size_t kMost = 1000;
    std::vector<MSG> dispatched;
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessage(&msg);
        dispatched.push_back(msg);
        if (dispatched.size() > kMost) {
            throw std::runtime_error("the message queue never empties");
        }
    }
    return dispatched;
}

std::vector<MSG> WidgetScreen::Run(DWORD ms) {
    Sleep(ms);
    return Pump();
}

std::vector<std::string> WidgetScreen::Picture(const RECT& rect,
                                               const std::map<COLORREF, char>& legend) {
    std::vector<std::string> rows;
    for (int y = rect.top; y < rect.bottom; ++y) {
        std::string row;
        for (int x = rect.left; x < rect.right; ++x) {
            const auto it = legend.find(Pixel(x, y));
            row += it == legend.end() ? '?' : it->second;
        }
        rows.push_back(row);
    }
    return rows;
}

COLORREF WidgetScreen::Pixel(int x, int y) {
    const std::uint32_t rgb = Framebuffer::Instance().Pixel(x, y);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::vector<MSG> MessagesFor(const std::vector<MSG>& messages, HWND hwnd, UINT message) {
    std::vector<MSG> found;
    for (const MSG& m : messages) {
        if (m.hwnd == hwnd && m.message == message) {
            found.push_back(m);
        }
    }
    return found;
}
