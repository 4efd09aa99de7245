// The "ListBox" class: strings added at the end, drawn one per line from the top on the brush
// and in the colours the parent answers to WM_CTLCOLORLISTBOX (white and black by default),
// the selected line in the highlight colours. With WS_VSCROLL a scroll bar is drawn at the
// right edge only while the lines do not all fit, as the platform hides a bar that has nothing
// to scroll; it shows the visible part of the list but is not worked (nothing in the launcher
// scrolls a list box). Without LBS_NOINTEGRALHEIGHT the box is made a whole number of lines
// high when it is created.
#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gdi/WinGdi.h"
#include "platform/user/BuiltinClasses.h"
#include "platform/user/ListBox.h"

namespace {

constexpr int kDataSlot = 0;
// The text's distance from the left edge, and the scroll bar's width.
constexpr int kTextIndent = 2;
constexpr int kScrollBarWidth = 13;

// What one list box holds. The mutex lets the window tree read the lines from another thread.
struct ListBoxData {
    std::mutex mutex;
    std::vector<std::wstring> lines;
    int selection = -1;
};

ListBoxData* DataOf(HWND hwnd) {
    return reinterpret_cast<ListBoxData*>(GetWindowLongPtr(hwnd, kDataSlot));
}

int LineHeight(HWND hwnd) {
    HDC hdc = GetDC(hwnd);
    TEXTMETRIC tm{};
    const BOOL ok = hdc && GetTextMetrics(hdc, &tm);
    if (hdc)
        ReleaseDC(hwnd, hdc);
    return ok && tm.tmHeight > 0 ? int(tm.tmHeight) : 1;
}

void Notify(HWND hwnd, UINT code) {
    if (!(GetWindowLong(hwnd, GWL_STYLE) & LBS_NOTIFY))
        return;
    SendMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(hwnd)), WORD(code)),
                reinterpret_cast<LPARAM>(hwnd));
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = ControlBackgroundBrush(hwnd, hdc, WM_CTLCOLORLISTBOX);
    FillRect(hdc, &client, brush);

    std::vector<std::wstring> lines;
    int selection = -1;
    if (ListBoxData* data = DataOf(hwnd)) {
        std::lock_guard lock(data->mutex);
        lines = data->lines;
        selection = data->selection;
    }
    TEXTMETRIC tm{};
    GetTextMetrics(hdc, &tm);
    const int lineHeight = std::max<int>(1, tm.tmHeight);
    const bool scrollBar = (GetWindowLong(hwnd, GWL_STYLE) & WS_VSCROLL) &&
                           int(lines.size()) * lineHeight > client.bottom - client.top;
    RECT text = client;
    if (scrollBar)
        text.right = std::max(text.left, text.right - kScrollBarWidth);

    SetBkMode(hdc, TRANSPARENT);
    const COLORREF normalText = GetTextColor(hdc);
    for (int i = 0; i < int(lines.size()); ++i) {
        RECT line{text.left, text.top + i * lineHeight, text.right,
                  text.top + (i + 1) * lineHeight};
        if (line.top >= text.bottom)
            break;
        if (i == selection) {
            FillRect(hdc, &line, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(hdc, normalText);
        }
        RECT place{line.left + kTextIndent, line.top, line.right,
                   std::min(line.bottom, text.bottom)};
        DrawText(hdc, lines[std::size_t(i)].c_str(), int(lines[std::size_t(i)].size()), &place,
                 DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }

    if (scrollBar) {
        // The track, and a thumb as long as the visible share of the lines.
        RECT track{text.right, client.top, client.right, client.bottom};
        FillRect(hdc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
        const int height = client.bottom - client.top;
        const int total = int(lines.size()) * lineHeight;
        RECT thumb{track.left, track.top, track.right,
                   track.top + std::max(1, height * height / std::max(1, total))};
        FillRect(hdc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT);
    }
    EndPaint(hwnd, &ps);
}

// The line under a point of the client area, or -1.
int LineAt(HWND hwnd, LPARAM point) {
    const int y = SHORT(HIWORD(std::uintptr_t(point)));
    const ListBoxData* data = DataOf(hwnd);
    if (!data || y < 0)
        return -1;
    const int line = y / LineHeight(hwnd);
    return line < int(data->lines.size()) ? line : -1;
}

// Without LBS_NOINTEGRALHEIGHT the client area becomes a whole number of lines (at least one).
void FitWholeLines(HWND hwnd) {
    if (GetWindowLong(hwnd, GWL_STYLE) & LBS_NOINTEGRALHEIGHT)
        return;
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    const int lineHeight = LineHeight(hwnd);
    const int lines = std::max(1, int(client.bottom) / lineHeight);
    const int frame = (window.bottom - window.top) - client.bottom;
    SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left, lines * lineHeight + frame,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

std::vector<std::wstring> ListBoxLinesOf(LONG_PTR slot) {
    auto* data = reinterpret_cast<ListBoxData*>(slot);
    if (!data)
        return {};
    std::lock_guard lock(data->mutex);
    return data->lines;
}

LRESULT ListBoxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ListBoxData* data = DataOf(hwnd);
    switch (message) {
    case WM_CREATE:
        SetWindowLongPtr(hwnd, kDataSlot, reinterpret_cast<LONG_PTR>(new ListBoxData));
        FitWholeLines(hwnd);
        return 0;
    case WM_NCDESTROY:
        // The slot is cleared (under the window manager's lock) before the lines go, so the
        // window tree never reads freed lines.
        SetWindowLongPtr(hwnd, kDataSlot, 0);
        delete data;
        return 0;
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint fills the whole box
    default:
        break;
    }
    if (!data)
        return DefWindowProc(hwnd, message, wParam, lParam);
    switch (message) {
    case LB_ADDSTRING: {
        const auto* text = reinterpret_cast<LPCTSTR>(lParam);
        LRESULT index;
        {
            std::lock_guard lock(data->mutex);
            data->lines.emplace_back(text ? text : L"");
            index = LRESULT(data->lines.size() - 1);
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        return index;
    }
    case LB_RESETCONTENT: {
        {
            std::lock_guard lock(data->mutex);
            data->lines.clear();
            data->selection = -1;
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case LB_GETCOUNT:
        return LRESULT(data->lines.size());
    case LB_GETTEXTLEN:
        return wParam < data->lines.size() ? LRESULT(data->lines[wParam].size()) : LB_ERR;
    case LB_GETTEXT: {
        if (wParam >= data->lines.size() || lParam == 0)
            return LB_ERR;
        const std::wstring& line = data->lines[wParam];
        auto* out = reinterpret_cast<LPTSTR>(lParam);
        std::copy(line.begin(), line.end(), out);
        out[line.size()] = L'\0';
        return LRESULT(line.size());
    }
    case LB_GETCURSEL:
        return data->selection;
    case LB_SETCURSEL: {
        const int wanted = int(wParam);
        {
            std::lock_guard lock(data->mutex);
            data->selection = (wanted >= 0 && wanted < int(data->lines.size())) ? wanted : -1;
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        return wanted == data->selection ? wanted : LB_ERR;
    }
    case LB_GETITEMHEIGHT:
        return LineHeight(hwnd);
    case WM_LBUTTONDOWN: {
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        const int line = LineAt(hwnd, lParam);
        if (line < 0 || line == data->selection)
            return 0;
        {
            std::lock_guard lock(data->mutex);
            data->selection = line;
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        Notify(hwnd, LBN_SELCHANGE);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        if (LineAt(hwnd, lParam) >= 0)
            Notify(hwnd, LBN_DBLCLK);
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}
