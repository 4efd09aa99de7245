#include "platform/user/DialogManager.h"

#include <string>

#include "platform/gdi/WinGdi.h"
#include "platform/kernel/ThreadControl.h"

namespace {

// a * b / c rounded to the nearest integer, halves away from zero (the platform's MulDiv).
int MulDivRounded(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return int(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

int DialogUnitsToPixelsX(int units) {
    return MulDivRounded(units, kDialogBaseUnitX, 4);
}
int DialogUnitsToPixelsY(int units) {
    return MulDivRounded(units, kDialogBaseUnitY, 8);
}

LONG GetDialogBaseUnits() {
    return MAKELONG(kDialogBaseUnitX, kDialogBaseUnitY);
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    if (!IsWindow(dialog) || !rect)
        return FALSE;
    rect->left = DialogUnitsToPixelsX(rect->left);
    rect->right = DialogUnitsToPixelsX(rect->right);
    rect->top = DialogUnitsToPixelsY(rect->top);
    rect->bottom = DialogUnitsToPixelsY(rect->bottom);
    return TRUE;
}

HWND CreateDialogFromTemplate(HINSTANCE module, const DialogTemplate& tmpl, HWND parent,
                              LPARAM initParam) {
    PlatformCheckpoint();
    const DWORD style = tmpl.style;
    const bool child = (style & WS_CHILD) != 0;
    // A template gives the size of the client area; the frame comes round it. DS_MODALFRAME
    // is the dialog's way of asking for the modal dialog frame.
    const DWORD exStyle = tmpl.exStyle | ((style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
    const bool modalFrame = (exStyle & WS_EX_DLGMODALFRAME) != 0;
    const LONG line = (style & WS_BORDER) ? 1 : 0;
    const LONG frameX = modalFrame ? GetSystemMetrics(SM_CXDLGFRAME) : line;
    const LONG frameY = modalFrame ? GetSystemMetrics(SM_CYDLGFRAME) : line;
    const int width = DialogUnitsToPixelsX(tmpl.cx) + 2 * frameX;
    const int height = DialogUnitsToPixelsY(tmpl.cy) + 2 * frameY;
    POINT at{DialogUnitsToPixelsX(tmpl.x), DialogUnitsToPixelsY(tmpl.y)};
    if (style & DS_CENTER) {
        at = POINT{(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
    } else if (!child && parent && !(style & DS_ABSALIGN)) {
        // A popup's position counts from its owner's client area.
        ClientToScreen(parent, &at);
    }
    const std::wstring caption(tmpl.caption);
    HWND dialog =
        CreateWindowEx(exStyle, L"Dialog", caption.c_str(), style & ~WS_VISIBLE, at.x, at.y, width,
                       height, parent, nullptr, module, reinterpret_cast<LPVOID>(initParam));
    if (!dialog)
        return nullptr;

    for (const DialogItemTemplate& item : tmpl.items) {
        const std::wstring className(item.className);
        const std::wstring text(item.text);
        LPCTSTR name = item.textId ? MAKEINTRESOURCE(item.textId) : text.c_str();
        HWND control = CreateWindowEx(
            item.exStyle, className.c_str(), name, item.style | WS_CHILD,
            DialogUnitsToPixelsX(item.x), DialogUnitsToPixelsY(item.y),
            DialogUnitsToPixelsX(item.cx), DialogUnitsToPixelsY(item.cy), dialog,
            reinterpret_cast<HMENU>(static_cast<std::intptr_t>(item.id)), module, nullptr);
        if (!control && !(style & DS_NOFAILCREATE)) {
            DestroyWindow(dialog);
            return nullptr;
        }
    }

    HWND first = nullptr;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const LONG s = GetWindowLong(c, GWL_STYLE);
        if ((s & WS_TABSTOP) && (s & WS_VISIBLE) && !(s & WS_DISABLED)) {
            first = c;
            break;
        }
    }
    if (SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam) && first)
        SetFocus(first);
    if (IsWindow(dialog) && (style & WS_VISIBLE))
        ShowWindow(dialog, SW_SHOW);
    return IsWindow(dialog) ? dialog : nullptr;
}

LRESULT DefDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessage(hwnd, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd)));
        if (!brush)
            return 0;
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        return 1;
    }
    case WM_CLOSE:
        // Closing a dialog is its cancel command.
        SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}
