#include "keypad/QAppList.h"

#include "keypad/Keypad.h"

namespace {

// The leftward scroll codes of WM_HSCROLL: SB_LINELEFT, SB_PAGELEFT, SB_THUMBTRACK, SB_LEFT.
constexpr UINT kLineLeft = 0;
constexpr UINT kPageLeft = 2;
constexpr UINT kThumbTrack = 5;
constexpr UINT kLeft = 6;

} // namespace

LRESULT QAppList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYPAD:
        OnKeypad(wParam, lParam);
        return 0;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
        return 0;
    default:
        return CListCtrl::WindowProc(message, wParam, lParam);
    }
}

LRESULT QAppList::OnKeypad(WPARAM key, LPARAM repeat) {
    // The view is read at every key: bit 0 clear is the icon or small-icon view.
    if ((GetStyle() & 1) == 0)
        OnIconKeypad(key, repeat);
    else
        OnReportKeypad(key, repeat);
    return 0;
}

void QAppList::OnIconKeypad(WPARAM key, LPARAM repeat) {
    switch (key) {
    case KEY_UP:
        PostMessage(WM_KEYDOWN, VK_UP, 0);
        break;
    case KEY_LEFT:
        PostMessage(WM_KEYDOWN, VK_LEFT, 0);
        break;
    case KEY_RIGHT:
        PostMessage(WM_KEYDOWN, VK_RIGHT, 0);
        break;
    case KEY_DOWN:
        PostMessage(WM_KEYDOWN, VK_DOWN, 0);
        break;
    case KEY_ENTER:
        NotifyParent(NM_DBLCLK);
        break;
    default:
        PassToParent(key, repeat);
        break;
    }
}

void QAppList::OnReportKeypad(WPARAM key, LPARAM repeat) {
    const bool singleSelection = (GetStyle() & LVS_SINGLESEL) != 0;
    const UINT mask = singleSelection ? LVIS_FOCUSED | LVIS_SELECTED : LVIS_FOCUSED;
    const int focused = GetNextItem(-1, LVNI_FOCUSED);
    switch (key) {
    case KEY_SELECT:
        // With no focused item there is nothing to mark (index -1 would mark every item).
        if (!singleSelection && focused >= 0)
            SetItemState(focused, GetItemState(focused, LVIS_SELECTED) ? 0 : LVIS_SELECTED,
                         LVIS_SELECTED);
        break;
    case KEY_UP:
        if (focused <= 0) {
            PassToParent(key, repeat);
        } else {
            SetItemState(focused - 1, mask, mask);
            EnsureVisible(focused - 1, FALSE);
        }
        break;
    case KEY_LEFT:
        PostMessage(WM_KEYDOWN, VK_LEFT, 0);
        Invalidate(TRUE);
        break;
    case KEY_RIGHT:
        PostMessage(WM_KEYDOWN, VK_RIGHT, 0);
        break;
    case KEY_DOWN:
        if (focused < GetItemCount() - 1) {
            SetItemState(focused + 1, mask, mask);
            EnsureVisible(focused + 1, FALSE);
        } else {
            PassToParent(key, repeat);
        }
        break;
    case KEY_ENTER:
        NotifyParent(NM_DBLCLK);
        break;
    default:
        PassToParent(key, repeat);
        break;
    }
}

void QAppList::PassToParent(WPARAM key, LPARAM repeat) {
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_KEYPAD, key, repeat);
}

LRESULT QAppList::NotifyParent(UINT code) {
    NMHDR header;
    header.hwndFrom = m_hWnd;
    header.idFrom = UINT(GetDlgCtrlID());
    header.code = code;
    CWnd* target = GetOwner();
    if (!target || !::IsWindow(target->m_hWnd))
        return 0;
    return ::SendMessage(target->m_hWnd, WM_NOTIFY, WPARAM(header.idFrom),
                         reinterpret_cast<LPARAM>(&header));
}

void QAppList::OnHScroll(UINT code, UINT /*position*/, CWnd* /*scrollBar*/) {
    if (code == kLineLeft || code == kPageLeft || code == kThumbTrack || code == kLeft)
        InvalidateRect(nullptr, TRUE);
    Default();
}
