// The default processing of window messages.
#include <algorithm>

#include "platform/gdi/WinGdi.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/user/LockedWindow.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowManager.h"

namespace {

// The colours and brush a control gets when its parent leaves WM_CTLCOLOR* to the default.
LRESULT DefaultControlColours(UINT message, HDC hdc) {
    int text = COLOR_WINDOWTEXT;
    int back = COLOR_WINDOW;
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
        text = COLOR_STATICTEXT;
        back = COLOR_STATIC;
        break;
    case WM_CTLCOLORBTN:
        text = COLOR_BTNTEXT;
        back = COLOR_BTNFACE;
        break;
    default:
        break;
    }
    SetTextColor(hdc, GetSysColor(text));
    SetBkColor(hdc, GetSysColor(back));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

// A class brush is a brush, or a system colour index + 1.
HBRUSH ClassBrush(HBRUSH brush) {
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value > 0 && value <= std::uintptr_t(COLOR_STATICTEXT) + 1)
        return GetSysColorBrush(int(value) - 1);
    return brush;
}

} // namespace

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    PlatformCheckpoint();
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_SETTEXT: {
        LockedWindow w(hwnd);
        if (!w)
            return FALSE;
        const auto* text = reinterpret_cast<LPCTSTR>(lParam);
        w->text = text ? text : L"";
        return TRUE;
    }
    case WM_GETTEXT: {
        LockedWindow w(hwnd);
        auto* buffer = reinterpret_cast<LPTSTR>(lParam);
        if (!w || !buffer || wParam == 0)
            return 0;
        const std::size_t n = std::min<std::size_t>(w->text.size(), wParam - 1);
        std::copy_n(w->text.begin(), n, buffer);
        buffer[n] = L'\0';
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH: {
        LockedWindow w(hwnd);
        return w ? LRESULT(w->text.size()) : 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (BeginPaint(hwnd, &ps))
            EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        HBRUSH brush = nullptr;
        {
            LockedWindow w(hwnd);
            if (!w)
                return 0;
            brush = ClassBrush(w->classBrush);
        }
        if (!brush)
            return 0;
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        return 1;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SETREDRAW: {
        if (LockedWindow w(hwnd); w) {
            w->redraw = wParam != 0;
            w.Manager().WakeOwner(*w);
        }
        return 0;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return DefaultControlColours(message, reinterpret_cast<HDC>(wParam));
    default:
        return 0;
    }
}
