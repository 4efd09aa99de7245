#include "platform/user/BuiltinClasses.h"

#include "platform/user/DialogManager.h"
#include "platform/user/ListBox.h"
#include "platform/user/WindowManager.h"

void RegisterBuiltinClasses(WindowManager& wm) {
    WNDCLASS wc;
    wc.lpszClassName = L"Static";
    wc.lpfnWndProc = StaticWindowProc;
    wc.cbWndExtra = 2 * int(sizeof(LONG_PTR)); // the icon and whether the control owns it
    wm.AddClass(wc);

    wc = WNDCLASS{};
    wc.lpszClassName = L"Button";
    wc.lpfnWndProc = ButtonWindowProc;
    wc.cbWndExtra = int(sizeof(LONG_PTR)); // the button state
    wm.AddClass(wc);

    wc = WNDCLASS{};
    wc.lpszClassName = L"ListBox";
    wc.style = CS_DBLCLKS; // a double tap on a line is LBN_DBLCLK
    wc.lpfnWndProc = ListBoxWindowProc;
    wc.cbWndExtra = int(sizeof(LONG_PTR)); // the lines
    wm.AddClass(wc);

    wc = WNDCLASS{};
    wc.lpszClassName = L"Dialog";
    wc.lpfnWndProc = DefDlgProc;
    wm.AddClass(wc);

    wc = WNDCLASS{};
    wc.lpszClassName = kMenuWindowClass;
    wc.lpfnWndProc = MenuWindowProc;
    wm.AddClass(wc);
}

HBRUSH ControlBackgroundBrush(HWND hwnd, HDC hdc, UINT message) {
    HWND parent = GetParent(hwnd);
    auto brush = reinterpret_cast<HBRUSH>(SendMessage(parent ? parent : hwnd, message,
                                                      reinterpret_cast<WPARAM>(hdc),
                                                      reinterpret_cast<LPARAM>(hwnd)));
    if (!brush)
        brush = reinterpret_cast<HBRUSH>(DefWindowProc(hwnd, message, reinterpret_cast<WPARAM>(hdc),
                                                       reinterpret_cast<LPARAM>(hwnd)));
    return brush;
}
