#include "app/ForwardKeypad.h"

#include "keypad/Keypad.h"

void ForwardKeypadMessage(const MSG* msg) {
    if (msg->message != WM_KEYPAD || msg->hwnd)
        return;
    HWND focus = GetFocus();
    if (IsWindow(focus))
        PostMessage(focus, WM_KEYPAD, msg->wParam, msg->lParam);
}
