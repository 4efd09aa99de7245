// The "Static" class: text (SS_LEFT, SS_CENTER, SS_RIGHT, SS_LEFTNOWORDWRAP) or an icon
// (SS_ICON), painted on the brush and in the colours the parent answers to WM_CTLCOLORSTATIC.
#include <string>

#include "platform/gdi/WinGdi.h"
#include "platform/kernel/Resources.h"
#include "platform/user/BuiltinClasses.h"

namespace {

// Window extra slots of a static control.
constexpr int kIconSlot = 0;
constexpr int kOwnsIconSlot = int(sizeof(LONG_PTR));

UINT TextFormat(LONG style) {
    UINT format = 0;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format = DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format = DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        format = DT_LEFT;
        break;
    default:
        format = DT_LEFT | DT_WORDBREAK;
        break;
    }
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE)
        format = (format & ~DT_WORDBREAK) | DT_VCENTER | DT_SINGLELINE;
    return format;
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = ControlBackgroundBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
    FillRect(hdc, &client, brush);
    const LONG style = GetWindowLong(hwnd, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
        if (auto icon = reinterpret_cast<HICON>(GetWindowLongPtr(hwnd, kIconSlot)))
            DrawIconEx(hdc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    } else {
        std::wstring text(std::size_t(GetWindowTextLength(hwnd)) + 1, L'\0');
        const int length = GetWindowText(hwnd, text.data(), int(text.size()));
        if (style & WS_DISABLED)
            SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
        DrawText(hdc, text.c_str(), length, &client, TextFormat(style));
    }
    EndPaint(hwnd, &ps);
}

HICON SetIcon(HWND hwnd, HICON icon, bool owned) {
    auto previous = reinterpret_cast<HICON>(SetWindowLongPtr(hwnd, kIconSlot, LONG_PTR(icon)));
    if (SetWindowLongPtr(hwnd, kOwnsIconSlot, owned) && previous) {
        DestroyIcon(previous);
        previous = nullptr;
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return previous;
}

} // namespace

LRESULT StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        // An icon static names its icon resource by the ordinal in its window text, and takes
        // the icon's size.
        const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        if ((cs->style & SS_TYPEMASK) == SS_ICON && cs->lpszName && IS_INTRESOURCE(cs->lpszName)) {
            HINSTANCE module = cs->hInstance ? cs->hInstance : AfxGetResourceHandle();
            auto icon = static_cast<HICON>(
                LoadImage(module, cs->lpszName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
            if (icon) {
                SetIcon(hwnd, icon, true);
                SIZE size;
                if (GdiGetIconSize(icon, &size))
                    SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy,
                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        return 0;
    }
    case STM_SETICON:
        return reinterpret_cast<LRESULT>(SetIcon(hwnd, reinterpret_cast<HICON>(wParam), false));
    case STM_GETICON:
        return GetWindowLongPtr(hwnd, kIconSlot);
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint fills the background with the parent's brush
    case WM_SETTEXT: {
        LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_NCDESTROY:
        if (GetWindowLongPtr(hwnd, kOwnsIconSlot))
            if (auto icon = reinterpret_cast<HICON>(GetWindowLongPtr(hwnd, kIconSlot)))
                DestroyIcon(icon);
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}
