#include "platform/user/ListViewControl.h"

#include <algorithm>
#include <cwctype>

#include "platform/gdi/ImageList.h"
#include "platform/gdi/WinGdi.h"

namespace {

// Geometry of the icon view: a cell holds the icon at its top and up to two lines of label below,
// and is wider than the icon so that labels have room to wrap.
constexpr int kDefaultIconSize = 32; // without a normal image list
constexpr int kLabelMargin = 12;     // each side of the icon
constexpr int kIconTop = 2;
constexpr int kLabelGap = 4;
constexpr int kLabelLines = 2;
constexpr int kCellBottom = 4;
// Rows of the report view are a line of text and this much more.
constexpr int kRowPadding = 4;

constexpr UINT kIconLabelFormat = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
constexpr UINT kRowLabelFormat = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

bool SameTextIgnoringCase(const std::wstring& a, LPCWSTR b) {
    std::size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == L'\0' || std::towupper(wint_t(a[i])) != std::towupper(wint_t(b[i])))
            return false;
    }
    return b[i] == L'\0';
}

int Width(const RECT& r) {
    return r.right - r.left;
}

} // namespace

ListViewControl::ListViewControl(HWND hwnd) : m_hwnd(hwnd), m_bkColor(GetSysColor(COLOR_WINDOW)) {}

DWORD ListViewControl::Style() const {
    return DWORD(GetWindowLong(m_hwnd, GWL_STYLE));
}

bool ListViewControl::IconView() const {
    return (Style() & 1) == 0; // LVS_ICON and LVS_SMALLICON
}

ListViewControl::Layout ListViewControl::ComputeLayout() const {
    Layout layout;
    layout.icons = IconView();
    layout.lineHeight = 13;
    if (HDC hdc = GetDC(m_hwnd)) {
        HGDIOBJ old = m_font ? SelectObject(hdc, m_font) : nullptr;
        TEXTMETRIC metrics;
        if (GetTextMetrics(hdc, &metrics) && metrics.tmHeight > 0)
            layout.lineHeight = metrics.tmHeight;
        if (old)
            SelectObject(hdc, old);
        ReleaseDC(m_hwnd, hdc);
    }
    RECT client;
    GetClientRect(m_hwnd, &client);
    if (layout.icons) {
        layout.iconCx = layout.iconCy = kDefaultIconSize;
        if (m_imageLists[LVSIL_NORMAL])
            ImageList_GetIconSize(m_imageLists[LVSIL_NORMAL], &layout.iconCx, &layout.iconCy);
        layout.cellCx = layout.iconCx + 2 * kLabelMargin;
        layout.cellCy =
            kIconTop + layout.iconCy + kLabelGap + kLabelLines * layout.lineHeight + kCellBottom;
        layout.columns = std::max(1, int(Width(client)) / layout.cellCx);
    } else {
        layout.cellCx = Width(client);
        layout.cellCy = layout.lineHeight + kRowPadding;
        layout.columns = 1;
    }
    return layout;
}

int ListViewControl::ContentHeight(const Layout& layout) const {
    const int rows = (int(m_items.size()) + layout.columns - 1) / layout.columns;
    return rows * layout.cellCy;
}

RECT ListViewControl::CellRect(const Layout& layout, int index) const {
    const int column = index % layout.columns;
    const int row = index / layout.columns;
    RECT cell;
    cell.left = column * layout.cellCx;
    cell.top = row * layout.cellCy - m_scrollY;
    cell.right = cell.left + layout.cellCx;
    cell.bottom = cell.top + layout.cellCy;
    return cell;
}

RECT ListViewControl::IconRect(const Layout& layout, int index) const {
    const RECT cell = CellRect(layout, index);
    if (!layout.icons)
        return RECT{cell.left, cell.top, cell.left, cell.bottom};
    RECT icon;
    icon.left = cell.left + (layout.cellCx - layout.iconCx) / 2;
    icon.top = cell.top + kIconTop;
    icon.right = icon.left + layout.iconCx;
    icon.bottom = icon.top + layout.iconCy;
    return icon;
}

RECT ListViewControl::LabelRoom(const Layout& layout, int index) const {
    const RECT cell = CellRect(layout, index);
    if (!layout.icons)
        return RECT{cell.left + 2, cell.top, cell.right - 2, cell.bottom};
    const RECT icon = IconRect(layout, index);
    const int top = icon.bottom + kLabelGap;
    return RECT{cell.left + 2, top, cell.right - 2, top + kLabelLines * layout.lineHeight};
}

RECT ListViewControl::LabelBox(HDC hdc, const Layout& layout, int index) const {
    const RECT room = LabelRoom(layout, index);
    const std::wstring& text = m_items[std::size_t(index)].text;
    // Measured in the width the text is drawn in: the box less its 2-pixel inset on each side.
    RECT measured{0, 0, Width(room) - 4, 0};
    if (!text.empty())
        DrawText(hdc, text.c_str(), int(text.size()), &measured,
                 (layout.icons ? kIconLabelFormat : kRowLabelFormat) | DT_CALCRECT);
    const int width = std::min(Width(measured) + 4, Width(room));
    if (!layout.icons)
        return RECT{room.left, room.top, room.left + width, room.bottom};
    const int height = std::clamp(int(measured.bottom - measured.top), layout.lineHeight,
                                  int(room.bottom - room.top));
    const int left = room.left + (Width(room) - width) / 2;
    return RECT{left, room.top, left + width, room.top + height};
}

int ListViewControl::HitTest(POINT point) const {
    const Layout layout = ComputeLayout();
    RECT client;
    GetClientRect(m_hwnd, &client);
    if (point.x < 0 || point.y < 0 || point.x >= client.right || point.y >= client.bottom)
        return -1;
    const int column = point.x / layout.cellCx;
    if (column >= layout.columns)
        return -1;
    const int index = ((point.y + m_scrollY) / layout.cellCy) * layout.columns + column;
    return Valid(index) ? index : -1;
}

std::vector<UINT> ListViewControl::States() const {
    std::vector<UINT> states;
    states.reserve(m_items.size());
    for (const Item& item : m_items)
        states.push_back(item.state);
    return states;
}

void ListViewControl::NotifyStateChanges(const std::vector<UINT>& before) {
    const HWND parent = GetParent(m_hwnd);
    for (std::size_t i = 0; parent && i < before.size() && i < m_items.size(); ++i) {
        if (m_items[i].state == before[i])
            continue;
        NMLISTVIEW note;
        note.hdr = {m_hwnd, UINT(GetDlgCtrlID(m_hwnd)), LVN_ITEMCHANGED};
        note.iItem = int(i);
        note.uNewState = m_items[i].state;
        note.uOldState = before[i];
        note.uChanged = LVIF_STATE;
        note.lParam = m_items[i].param;
        SendMessage(parent, WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
    }
}

void ListViewControl::ApplyState(int index, UINT state, UINT mask) {
    const std::vector<UINT> before = States();
    Item& item = m_items[std::size_t(index)];
    const UINT next = (item.state & ~mask) | (state & mask);
    const UINT gained = next & ~item.state;
    const bool singleSelection = (Style() & LVS_SINGLESEL) != 0;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (int(i) == index)
            continue;
        if (gained & LVIS_FOCUSED)
            m_items[i].state &= ~LVIS_FOCUSED;
        if ((gained & LVIS_SELECTED) && singleSelection)
            m_items[i].state &= ~LVIS_SELECTED;
    }
    item.state = next;
    NotifyStateChanges(before);
}

void ListViewControl::FocusAndSelect(int index) {
    const std::vector<UINT> before = States();
    for (Item& item : m_items)
        item.state &= ~(LVIS_FOCUSED | LVIS_SELECTED);
    m_items[std::size_t(index)].state |= LVIS_FOCUSED | LVIS_SELECTED;
    NotifyStateChanges(before);
    EnsureVisible(index, false);
    Redraw();
}

bool ListViewControl::EnsureVisible(int index, bool partialOk) {
    if (!Valid(index))
        return false;
    const Layout layout = ComputeLayout();
    RECT client;
    GetClientRect(m_hwnd, &client);
    const RECT cell = CellRect(layout, index);
    if (partialOk && cell.bottom > 0 && cell.top < client.bottom)
        return true;
    const int before = m_scrollY;
    if (cell.top < 0)
        m_scrollY += cell.top;
    else if (cell.bottom > client.bottom)
        m_scrollY += std::min(int(cell.bottom - client.bottom), int(cell.top));
    ClampScroll();
    if (m_scrollY != before)
        Redraw();
    return true;
}

void ListViewControl::ClampScroll() {
    RECT client;
    GetClientRect(m_hwnd, &client);
    const int most = std::max(0, ContentHeight(ComputeLayout()) - int(client.bottom));
    m_scrollY = std::clamp(m_scrollY, 0, most);
}

void ListViewControl::Redraw() {
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

LRESULT ListViewControl::InsertItem(const LVITEM* item) {
    if (!item || item->iItem < 0 || item->iSubItem != 0)
        return -1;
    const int index = std::min(item->iItem, int(m_items.size()));
    Item added;
    if ((item->mask & LVIF_TEXT) && item->pszText)
        added.text = item->pszText;
    if (item->mask & LVIF_IMAGE)
        added.image = item->iImage;
    if (item->mask & LVIF_PARAM)
        added.param = item->lParam;
    m_items.insert(m_items.begin() + index, added);
    if (item->mask & LVIF_STATE)
        ApplyState(index, item->state, item->stateMask);
    m_tapItem = -1;
    Redraw();
    return index;
}

BOOL ListViewControl::SetItem(const LVITEM* item) {
    if (!item || !Valid(item->iItem) || item->iSubItem != 0)
        return FALSE;
    Item& target = m_items[std::size_t(item->iItem)];
    if (item->mask & LVIF_TEXT)
        target.text = item->pszText ? item->pszText : L"";
    if (item->mask & LVIF_IMAGE)
        target.image = item->iImage;
    if (item->mask & LVIF_PARAM)
        target.param = item->lParam;
    if (item->mask & LVIF_STATE)
        ApplyState(item->iItem, item->state, item->stateMask);
    Redraw();
    return TRUE;
}

BOOL ListViewControl::GetItem(LVITEM* item) const {
    if (!item || !Valid(item->iItem) || item->iSubItem != 0)
        return FALSE;
    const Item& source = m_items[std::size_t(item->iItem)];
    if (item->mask & LVIF_TEXT)
        CopyText(item->iItem, item->pszText, item->cchTextMax);
    if (item->mask & LVIF_IMAGE)
        item->iImage = source.image;
    if (item->mask & LVIF_PARAM)
        item->lParam = source.param;
    if (item->mask & LVIF_STATE)
        item->state = source.state & item->stateMask;
    return TRUE;
}

int ListViewControl::CopyText(int index, LPWSTR buffer, int size) const {
    if (!buffer || size <= 0)
        return 0;
    const std::wstring& text = m_items[std::size_t(index)].text;
    const int n = std::min(int(text.size()), size - 1);
    std::copy_n(text.begin(), n, buffer);
    buffer[n] = L'\0';
    return n;
}

int ListViewControl::GetNextItem(int start, UINT flags) const {
    if (flags & ~(LVNI_FOCUSED | LVNI_SELECTED))
        return -1; // the geometric searches are not offered
    for (int i = std::max(start, -1) + 1; i < int(m_items.size()); ++i)
        if ((m_items[std::size_t(i)].state & flags) == flags)
            return i;
    return -1;
}

int ListViewControl::FindItem(int start, const LVFINDINFO* info) const {
    // Whole texts only: the partial, parameter and position searches are not offered.
    if (!info || info->flags != LVFI_STRING || !info->psz)
        return -1;
    for (int i = std::max(start, -1) + 1; i < int(m_items.size()); ++i)
        if (SameTextIgnoringCase(m_items[std::size_t(i)].text, info->psz))
            return i;
    return -1;
}

void ListViewControl::DeleteAllItems() {
    if (m_items.empty())
        return;
    // The parent answers TRUE to LVN_DELETEALLITEMS when it needs no note per item.
    NMLISTVIEW all;
    all.hdr = {m_hwnd, UINT(GetDlgCtrlID(m_hwnd)), LVN_DELETEALLITEMS};
    HWND parent = GetParent(m_hwnd);
    const bool perItem =
        !parent || !SendMessage(parent, WM_NOTIFY, all.hdr.idFrom, reinterpret_cast<LPARAM>(&all));
    for (std::size_t i = 0; perItem && parent && i < m_items.size(); ++i) {
        NMLISTVIEW one;
        one.hdr = {m_hwnd, all.hdr.idFrom, LVN_DELETEITEM};
        one.iItem = int(i);
        one.lParam = m_items[i].param;
        SendMessage(parent, WM_NOTIFY, one.hdr.idFrom, reinterpret_cast<LPARAM>(&one));
    }
    m_items.clear();
    m_scrollY = 0;
    m_tapItem = -1;
    Redraw();
}

BOOL ListViewControl::GetItemRect(int index, RECT* rect) const {
    if (!rect || !Valid(index))
        return FALSE;
    const Layout layout = ComputeLayout();
    switch (rect->left) {
    case LVIR_BOUNDS:
        *rect = CellRect(layout, index);
        return TRUE;
    case LVIR_ICON:
        *rect = IconRect(layout, index);
        return TRUE;
    case LVIR_LABEL: {
        HDC hdc = GetDC(m_hwnd);
        HGDIOBJ old = hdc && m_font ? SelectObject(hdc, m_font) : nullptr;
        *rect = hdc ? LabelBox(hdc, layout, index) : LabelRoom(layout, index);
        if (old)
            SelectObject(hdc, old);
        if (hdc)
            ReleaseDC(m_hwnd, hdc);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void ListViewControl::OnKeyDown(UINT key) {
    if (m_items.empty())
        return;
    const int focus = GetNextItem(-1, LVNI_FOCUSED);
    if (focus < 0) {
        FocusAndSelect(0);
        return;
    }
    const Layout layout = ComputeLayout();
    const int count = int(m_items.size());
    const int columns = layout.columns;
    int target = focus;
    if (layout.icons) {
        // The grid's neighbour in that direction; at an edge the focus stays.
        const int column = focus % columns;
        if (key == VK_LEFT && column > 0)
            target = focus - 1;
        else if (key == VK_RIGHT && column < columns - 1 && focus + 1 < count)
            target = focus + 1;
        else if (key == VK_UP && focus >= columns)
            target = focus - columns;
        else if (key == VK_DOWN && focus + columns < count)
            target = focus + columns;
    } else if (key == VK_UP || key == VK_DOWN) {
        target = std::clamp(focus + (key == VK_UP ? -1 : 1), 0, count - 1);
    } else {
        return; // left and right scroll a report sideways; its rows never overflow
    }
    FocusAndSelect(target);
}

void ListViewControl::OnTap(POINT point, bool second) {
    if (GetFocus() != m_hwnd)
        SetFocus(m_hwnd);
    const int hit = HitTest(point);
    // The second press of a double tap activates the item when both presses landed on it; on
    // another item or beside the items it is a tap of its own.
    const bool activate = second && hit >= 0 && hit == m_tapItem;
    if (hit >= 0) {
        FocusAndSelect(hit);
    } else {
        const std::vector<UINT> before = States();
        for (Item& item : m_items)
            item.state &= ~LVIS_SELECTED;
        NotifyStateChanges(before);
        Redraw();
    }
    m_tapItem = hit;
    Notify(activate ? NM_DBLCLK : NM_CLICK, hit, point);
}

LRESULT ListViewControl::Notify(UINT code, int item, POINT point) {
    HWND parent = GetParent(m_hwnd);
    if (!parent)
        return 0;
    NMITEMACTIVATE note;
    note.hdr = {m_hwnd, UINT(GetDlgCtrlID(m_hwnd)), code};
    note.iItem = item;
    note.ptAction = point;
    if (Valid(item))
        note.lParam = m_items[std::size_t(item)].param;
    return SendMessage(parent, WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
}

void ListViewControl::Paint() {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hwnd, &ps);
    if (!hdc)
        return;
    RECT client;
    GetClientRect(m_hwnd, &client);
    if (m_bkColor != CLR_NONE) {
        HBRUSH brush = CreateSolidBrush(m_bkColor);
        FillRect(hdc, &client, brush);
        DeleteObject(brush);
    }
    HGDIOBJ oldFont = m_font ? SelectObject(hdc, m_font) : nullptr;
    SetBkMode(hdc, TRANSPARENT);
    const Layout layout = ComputeLayout();
    const bool hasFocus = GetFocus() == m_hwnd;
    for (int i = 0; i < int(m_items.size()); ++i) {
        const RECT cell = CellRect(layout, i);
        if (cell.bottom > 0 && cell.top < client.bottom)
            PaintItem(hdc, layout, i, hasFocus);
    }
    if (oldFont)
        SelectObject(hdc, oldFont);
    EndPaint(m_hwnd, &ps);
}

// A selected item shows in the highlight colours while the list has the focus, and on the
// button face without it when the list shows its selection always; a selected icon is blended
// toward the highlight colour. The focused item's label is framed while the list has the focus.
void ListViewControl::PaintItem(HDC hdc, const Layout& layout, int index, bool hasFocus) {
    const Item& item = m_items[std::size_t(index)];
    const bool selected = (item.state & LVIS_SELECTED) != 0;
    if (layout.icons && m_imageLists[LVSIL_NORMAL]) {
        const RECT icon = IconRect(layout, index);
        ImageList_Draw(m_imageLists[LVSIL_NORMAL], item.image, hdc, icon.left, icon.top,
                       ILD_TRANSPARENT | (selected && hasFocus ? ILD_SELECTED : 0));
    }
    const RECT box = LabelBox(hdc, layout, index);
    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    if (selected && (hasFocus || (Style() & LVS_SHOWSELALWAYS))) {
        FillRect(hdc, &box, GetSysColorBrush(hasFocus ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        if (hasFocus)
            text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    SetTextColor(hdc, text);
    RECT textRect{box.left + 2, box.top, box.right - 2, box.bottom};
    DrawText(hdc, item.text.c_str(), int(item.text.size()), &textRect,
             layout.icons ? kIconLabelFormat : kRowLabelFormat);
    if (hasFocus && (item.state & LVIS_FOCUSED))
        DrawFocusRect(hdc, &box);
}

LRESULT ListViewControl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case LVM_GETBKCOLOR:
        return LRESULT(m_bkColor);
    case LVM_SETBKCOLOR:
        m_bkColor = COLORREF(lParam);
        Redraw();
        return TRUE;
    case LVM_GETIMAGELIST:
        return wParam <= WPARAM(LVSIL_STATE) ? reinterpret_cast<LRESULT>(m_imageLists[wParam]) : 0;
    case LVM_SETIMAGELIST: {
        if (wParam > WPARAM(LVSIL_STATE))
            return 0;
        HIMAGELIST previous = m_imageLists[wParam];
        m_imageLists[wParam] = reinterpret_cast<HIMAGELIST>(lParam);
        ClampScroll();
        Redraw();
        return reinterpret_cast<LRESULT>(previous);
    }
    case LVM_GETITEMCOUNT:
        return LRESULT(m_items.size());
    case LVM_INSERTITEM:
        return InsertItem(reinterpret_cast<const LVITEM*>(lParam));
    case LVM_SETITEM:
        return SetItem(reinterpret_cast<const LVITEM*>(lParam));
    case LVM_GETITEM:
        return GetItem(reinterpret_cast<LVITEM*>(lParam));
    case LVM_GETITEMTEXT: {
        auto* item = reinterpret_cast<LVITEM*>(lParam);
        if (!item || !Valid(int(wParam)) || item->iSubItem != 0)
            return 0;
        return CopyText(int(wParam), item->pszText, item->cchTextMax);
    }
    case LVM_SETITEMSTATE: {
        const auto* item = reinterpret_cast<const LVITEM*>(lParam);
        const int index = int(wParam);
        if (!item || (index != -1 && !Valid(index)))
            return FALSE;
        for (int i = 0; i < int(m_items.size()); ++i)
            if (index == -1 || i == index)
                ApplyState(i, item->state, item->stateMask);
        Redraw();
        return TRUE;
    }
    case LVM_GETITEMSTATE:
        return Valid(int(wParam)) ? LRESULT(m_items[wParam].state & UINT(lParam)) : 0;
    case LVM_GETNEXTITEM:
        return GetNextItem(int(wParam), UINT(lParam));
    case LVM_FINDITEM:
        return FindItem(int(wParam), reinterpret_cast<const LVFINDINFO*>(lParam));
    case LVM_DELETEALLITEMS:
        DeleteAllItems();
        return TRUE;
    case LVM_ENSUREVISIBLE:
        return EnsureVisible(int(wParam), lParam != 0);
    case LVM_GETITEMRECT:
        return GetItemRect(int(wParam), reinterpret_cast<RECT*>(lParam));
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        if (lParam)
            Redraw();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Redraw();
        return 0;
    case WM_SIZE:
        ClampScroll();
        Redraw();
        return 0;
    case WM_SETREDRAW:
        DefWindowProc(m_hwnd, message, wParam, lParam);
        if (wParam)
            Redraw();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint fills the background in the list's own colour
    case WM_PAINT:
        Paint();
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN) {
            OnKeyDown(UINT(wParam));
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnTap(POINT{LONG(SHORT(LOWORD(WPARAM(lParam)))), LONG(SHORT(HIWORD(WPARAM(lParam))))},
              message == WM_LBUTTONDBLCLK);
        return 0;
    case WM_DESTROY:
        DeleteAllItems();
        return 0;
    default:
        break;
    }
    return DefWindowProc(m_hwnd, message, wParam, lParam);
}

void ListViewControl::Destroyed() {
    if (Style() & LVS_SHAREIMAGELISTS)
        return;
    for (HIMAGELIST& list : m_imageLists) {
        if (list)
            ImageList_Destroy(list);
        list = nullptr;
    }
}
