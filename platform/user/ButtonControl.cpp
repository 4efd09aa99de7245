// The "Button" class: push buttons, check boxes and owner-drawn buttons. A click (mouse button
// down and up inside the button, or BM_CLICK) reports BN_CLICKED to the parent; an owner-drawn
// button asks its parent to draw it with WM_DRAWITEM.
#include <algorithm>
#include <string>

#include "platform/gdi/WinGdi.h"
#include "platform/user/BuiltinClasses.h"

namespace {

constexpr int kStateSlot = 0; // BST_CHECKED, BST_PUSHED, BST_FOCUS

UINT State(HWND hwnd) {
    return UINT(GetWindowLongPtr(hwnd, kStateSlot));
}

void SetState(HWND hwnd, UINT state) {
    if (State(hwnd) == state)
        return;
    SetWindowLongPtr(hwnd, kStateSlot, LONG_PTR(state));
    InvalidateRect(hwnd, nullptr, TRUE);
}

void SetBit(HWND hwnd, UINT bit, bool on) {
    SetState(hwnd, on ? (State(hwnd) | bit) : (State(hwnd) & ~bit));
}

DWORD Kind(HWND hwnd) {
    return DWORD(GetWindowLong(hwnd, GWL_STYLE)) & BS_TYPEMASK;
}

// A style that holds every bit of BS_OWNERDRAW is drawn by the owner: a control that ORs
// BS_OWNERDRAW into a radio button's style (4 | 0xB) still gets its WM_DRAWITEM.
bool IsOwnerDrawn(DWORD kind) {
    return (kind & BS_OWNERDRAW) == BS_OWNERDRAW;
}

bool IsCheckKind(DWORD kind) {
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
           kind == BS_AUTORADIOBUTTON;
}

void PaintOwnerDrawn(HWND hwnd, HDC hdc, const RECT& client) {
    const UINT state = State(hwnd);
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = UINT(GetDlgCtrlID(hwnd));
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ((state & BST_PUSHED) ? ODS_SELECTED : 0) |
                    ((state & BST_FOCUS) ? ODS_FOCUS : 0) |
                    (IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED);
    dis.hwndItem = hwnd;
    dis.hDC = hdc;
    dis.rcItem = client;
    SendMessage(GetParent(hwnd), WM_DRAWITEM, WPARAM(dis.CtlID), reinterpret_cast<LPARAM>(&dis));
}

void PaintStandard(HWND hwnd, HDC hdc, RECT client) {
    const UINT state = State(hwnd);
    FillRect(hdc, &client, ControlBackgroundBrush(hwnd, hdc, WM_CTLCOLORBTN));
    std::wstring text(std::size_t(GetWindowTextLength(hwnd)) + 1, L'\0');
    const int length = GetWindowText(hwnd, text.data(), int(text.size()));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    if (IsCheckKind(Kind(hwnd))) {
        const LONG side = std::min<LONG>(13, client.bottom - client.top);
        RECT box{client.left, client.top + (client.bottom - client.top - side) / 2,
                 client.left + side, 0};
        box.bottom = box.top + side;
        FillRect(hdc, &box, GetSysColorBrush(COLOR_WINDOW));
        DrawEdge(hdc, &box, EDGE_SUNKEN, BF_RECT);
        if (state & BST_CHECKED) {
            RECT mark{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
            FillRect(hdc, &mark, GetSysColorBrush(COLOR_WINDOWTEXT));
        }
        RECT label{box.right + 3, client.top, client.right, client.bottom};
        DrawText(hdc, text.c_str(), length, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    } else {
        DrawEdge(hdc, &client, (state & BST_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        RECT label = client;
        if (state & BST_PUSHED)
            label = RECT{label.left + 1, label.top + 1, label.right + 1, label.bottom + 1};
        DrawText(hdc, text.c_str(), length, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (state & BST_FOCUS) {
        RECT focus{client.left + 3, client.top + 3, client.right - 3, client.bottom - 3};
        DrawFocusRect(hdc, &focus);
    }
}

void Click(HWND hwnd) {
    if (Kind(hwnd) == BS_AUTOCHECKBOX)
        SetBit(hwnd, BST_CHECKED, !(State(hwnd) & BST_CHECKED));
    if (Kind(hwnd) == BS_AUTORADIOBUTTON)
        SetBit(hwnd, BST_CHECKED, true);
    SendMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(hwnd)), BN_CLICKED),
                reinterpret_cast<LPARAM>(hwnd));
}

} // namespace

LRESULT ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        if (!hdc)
            return 0;
        RECT client;
        GetClientRect(hwnd, &client);
        if (IsOwnerDrawn(Kind(hwnd)))
            PaintOwnerDrawn(hwnd, hdc, client);
        else
            PaintStandard(hwnd, hdc, client);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // the paint covers the whole button
    case WM_LBUTTONDOWN:
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        // The lift comes back here wherever the stylus goes; only a lift inside clicks.
        SetCapture(hwnd);
        SetBit(hwnd, BST_PUSHED, true);
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() == hwnd)
            ReleaseCapture();
        if (!(State(hwnd) & BST_PUSHED))
            return 0;
        SetBit(hwnd, BST_PUSHED, false);
        RECT client;
        GetClientRect(hwnd, &client);
        const LONG x = SHORT(LOWORD(std::uintptr_t(lParam)));
        const LONG y = SHORT(HIWORD(std::uintptr_t(lParam)));
        if (x >= client.left && x < client.right && y >= client.top && y < client.bottom)
            Click(hwnd);
        return 0;
    }
    case BM_CLICK:
        SendMessage(hwnd, WM_LBUTTONDOWN, 0, 0);
        SendMessage(hwnd, WM_LBUTTONUP, 0, 0);
        return 0;
    case BM_GETCHECK:
        return State(hwnd) & BST_CHECKED;
    case BM_SETCHECK:
        SetBit(hwnd, BST_CHECKED, wParam == BST_CHECKED);
        return 0;
    case BM_GETSTATE:
        return State(hwnd);
    case BM_SETSTATE:
        SetBit(hwnd, BST_PUSHED, wParam != 0);
        return 0;
    case BM_SETSTYLE: {
        const DWORD style = DWORD(GetWindowLong(hwnd, GWL_STYLE));
        SetWindowLong(hwnd, GWL_STYLE, LONG((style & ~0xFFFFu) | (DWORD(wParam) & 0xFFFF)));
        if (lParam)
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_SETFOCUS:
        SetBit(hwnd, BST_FOCUS, true);
        return 0;
    case WM_KILLFOCUS:
        SetBit(hwnd, BST_FOCUS, false);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETTEXT: {
        LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}
