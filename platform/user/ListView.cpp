// The "SysListView32" window class: one ListViewControl per window, made at WM_NCCREATE and
// deleted at WM_NCDESTROY, kept in the window's first extra slot.
#include "platform/user/ListView.h"

#include <mutex>

#include "platform/user/ListViewControl.h"

namespace {

LRESULT ListViewWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<ListViewControl*>(GetWindowLongPtr(hwnd, 0));
    if (message == WM_NCCREATE && !control) {
        control = new ListViewControl(hwnd);
        SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(control));
    }
    if (!control)
        return DefWindowProc(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtr(hwnd, 0, 0);
        control->Destroyed();
        delete control;
        return 0;
    }
    return control->Handle(message, wParam, lParam);
}

} // namespace

void InitCommonControls() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        WNDCLASS wc;
        wc.style = CS_DBLCLKS; // a double tap activates an item
        wc.lpszClassName = WC_LISTVIEW;
        wc.lpfnWndProc = ListViewWindowProc;
        wc.cbWndExtra = int(sizeof(LONG_PTR));
        RegisterClass(&wc);
    });
}
