#include "platform/user/MenuLoop.h"

#include <algorithm>

#include "platform/gdi/WinGdi.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/user/BuiltinClasses.h"
#include "platform/user/CWinApp.h"
#include "platform/user/WindowManager.h"

namespace {

thread_local MenuLoop* t_current = nullptr;

// The platform's own items: a column for the tick at the left, room for the submenu arrow at
// the right.
constexpr LONG kPlainHeight = 18;
constexpr LONG kSeparatorHeight = 8;
constexpr LONG kTickColumn = 18;
constexpr LONG kArrowColumn = 14;
// An owner's answer beyond this is taken as this much.
constexpr UINT kMostItemExtent = 1000;

bool IsSeparator(const MenuItem& item) {
    return (item.type & MFT_SEPARATOR) != 0;
}

bool IsDisabled(const MenuItem& item) {
    return (item.state & MFS_GRAYED) != 0;
}

// A copy of the item, taken under the lock; false when it is gone.
bool CopyItem(HMENU menu, int position, MenuItem* item) {
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    MenuTable::Place place;
    if (position < 0 || !wm.Menus().Locate(menu, UINT(position), true, &place))
        return false;
    *item = place.Item();
    return true;
}

RECT ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

POINT KeptOnScreen(POINT at, SIZE size) {
    const LONG width = GetSystemMetrics(SM_CXSCREEN);
    const LONG height = GetSystemMetrics(SM_CYSCREEN);
    return POINT{std::clamp<LONG>(at.x, 0, std::max<LONG>(0, width - size.cx)),
                 std::clamp<LONG>(at.y, 0, std::max<LONG>(0, height - size.cy))};
}

void Line(HDC dc, COLORREF colour, std::initializer_list<POINT> points) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    const POINT* p = points.begin();
    MoveToEx(dc, p->x, p->y, nullptr);
    for (++p; p != points.end(); ++p)
        LineTo(dc, p->x, p->y);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

// An item that is not owner-drawn, as the platform draws it.
void DrawPlainItem(HDC dc, const RECT& r, const MenuItem& item, bool selected) {
    const LONG cy = (r.top + r.bottom) / 2;
    if (IsSeparator(item)) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_MENU));
        RECT line{r.left + 2, cy - 1, r.right - 2, cy + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const COLORREF ink = GetSysColor(IsDisabled(item) ? COLOR_GRAYTEXT
                                     : selected       ? COLOR_HIGHLIGHTTEXT
                                                      : COLOR_MENUTEXT);
    if (item.state & MFS_CHECKED) {
        const LONG cx = r.left + kTickColumn / 2;
        Line(dc, ink, {{cx - 4, cy}, {cx - 1, cy + 3}, {cx + 5, cy - 3}});
    }
    if (item.submenu) {
        const LONG x = r.right - kArrowColumn / 2 - 2;
        for (LONG i = 0; i < 4; ++i)
            Line(dc, ink, {{x + i, cy - 3 + i}, {x + i, cy + 4 - i}});
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    RECT text{r.left + kTickColumn, r.top, r.right - kArrowColumn, r.bottom};
    DrawText(dc, item.text.c_str(), int(item.text.size()), &text,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

} // namespace

MenuLoop::MenuLoop(HWND owner) : m_owner(owner) {
    t_current = this;
}

MenuLoop::~MenuLoop() {
    CloseFrom(0);
    t_current = nullptr;
}

MenuLoop* MenuLoop::Current() {
    return t_current;
}

bool MenuLoop::Run(HMENU menu, UINT flags, int x, int y) {
    SendMessage(m_owner, WM_ENTERMENULOOP, TRUE, 0);
    const bool shown = Show(menu, 0, [&](SIZE size) {
        POINT at{x, y};
        if (flags & TPM_RIGHTALIGN)
            at.x -= size.cx;
        else if (flags & TPM_CENTERALIGN)
            at.x -= size.cx / 2;
        if (flags & TPM_BOTTOMALIGN)
            at.y -= size.cy;
        else if (flags & TPM_VCENTERALIGN)
            at.y -= size.cy / 2;
        return at;
    });
    bool quit = false;
    int quitCode = 0;
    while (shown && !m_done && StillValid()) {
        MSG msg;
        if (!GetMessage(&msg, nullptr, 0, 0)) {
            quit = true;
            quitCode = int(msg.wParam);
            break;
        }
        switch (msg.message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
            Input(msg);
            break;
        default:
            if (CWinApp* app = AfxGetApp(); app && app->PreTranslateMessage(&msg))
                break;
            TranslateMessage(&msg);
            DispatchMessage(&msg);
            break;
        }
    }
    if (!m_done)
        m_chosen = 0;
    CloseFrom(0);
    if (IsWindow(m_owner))
        SendMessage(m_owner, WM_EXITMENULOOP, TRUE, 0);
    if (quit)
        PostQuitMessage(quitCode); // for the loop outside, which must end too
    return shown;
}

bool MenuLoop::Show(HMENU menu, int position, const std::function<POINT(SIZE)>& place) {
    if (!IsWindow(m_owner))
        return false;
    SendMessage(m_owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                MAKELPARAM(WORD(position), FALSE));
    const int count = GetMenuItemCount(menu);
    if (count <= 0 || !IsWindow(m_owner))
        return false;
    Level level;
    level.menu = menu;
    LONG width = 0;
    LONG height = 0;
    for (int i = 0; i < count; ++i) {
        const SIZE size = Measure(menu, i);
        width = std::max(width, size.cx);
        level.items.push_back(RECT{0, height, 0, height + size.cy});
        height += size.cy;
    }
    for (RECT& r : level.items)
        r.right = width;
    const SIZE frame{width + 2, height + 2}; // the one-pixel frame of WS_BORDER
    const POINT at = KeptOnScreen(place(frame), frame);
    level.window = CreateWindowEx(WS_EX_TOPMOST, kMenuWindowClass, L"", WS_POPUP | WS_BORDER, at.x,
                                  at.y, frame.cx, frame.cy, nullptr, nullptr, nullptr, nullptr);
    if (!level.window)
        return false;
    const HWND window = level.window;
    m_levels.push_back(std::move(level));
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    UpdateWindow(window);
    Publish();
    return true;
}

bool MenuLoop::OpenSubmenu(std::size_t level, int position, bool selectFirst) {
    MenuItem item;
    if (!CopyItem(m_levels[level].menu, position, &item) || !item.submenu || IsDisabled(item))
        return false;
    CloseFrom(level + 1);
    const RECT parent = ScreenRect(m_levels[level].window);
    const LONG itemTop = parent.top + m_levels[level].items[std::size_t(position)].top;
    const bool opened = Show(item.submenu, position, [&](SIZE size) {
        // Beside the item, to the right when it fits, else to the left.
        const bool fits = parent.right + size.cx <= GetSystemMetrics(SM_CXSCREEN);
        return POINT{fits ? parent.right : parent.left - size.cx, itemTop};
    });
    if (opened && selectFirst)
        Step(+1);
    return opened;
}

void MenuLoop::CloseFrom(std::size_t level) {
    if (level >= m_levels.size())
        return;
    while (m_levels.size() > level) {
        if (IsWindow(m_levels.back().window))
            DestroyWindow(m_levels.back().window);
        m_levels.pop_back();
    }
    Publish();
}

SIZE MenuLoop::Measure(HMENU menu, int position) {
    const auto key = std::make_pair(menu, position);
    if (const auto it = m_measured.find(key); it != m_measured.end())
        return it->second;
    MenuItem item;
    SIZE size{};
    if (!CopyItem(menu, position, &item)) {
        return size;
    } else if (item.type & MFT_OWNERDRAW) {
        MEASUREITEMSTRUCT mis;
        mis.CtlType = ODT_MENU;
        mis.itemID = item.id;
        mis.itemData = item.data;
        SendMessage(m_owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
        size = SIZE{LONG(std::min(mis.itemWidth, kMostItemExtent)),
                    LONG(std::min(mis.itemHeight, kMostItemExtent))};
    } else if (IsSeparator(item)) {
        size = SIZE{0, kSeparatorHeight};
    } else {
        HDC dc = GetDC(nullptr);
        SIZE text{};
        GetTextExtentPoint32(dc, item.text.c_str(), int(item.text.size()), &text);
        ReleaseDC(nullptr, dc);
        size = SIZE{text.cx + kTickColumn + kArrowColumn, kPlainHeight};
    }
    m_measured[key] = size;
    return size;
}

void MenuLoop::Paint(HWND window) {
    PAINTSTRUCT ps;
    if (BeginPaint(window, &ps))
        EndPaint(window, &ps);
    for (const Level& level : m_levels)
        if (level.window == window)
            for (int i = 0; i < int(level.items.size()); ++i)
                DrawItem(level, i, ODA_DRAWENTIRE);
}

void MenuLoop::DrawItem(const Level& level, int position, UINT action) {
    MenuItem item;
    if (position < 0 || position >= int(level.items.size()) ||
        !CopyItem(level.menu, position, &item))
        return;
    const RECT& r = level.items[std::size_t(position)];
    HDC dc = GetDC(level.window);
    if (!dc)
        return;
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    const bool selected = position == level.selected;
    if (item.type & MFT_OWNERDRAW) {
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_MENU;
        dis.itemID = item.id;
        dis.itemAction = action;
        dis.itemState = (selected ? ODS_SELECTED : 0) |
                        ((item.state & MF_GRAYED) ? ODS_GRAYED : 0) |
                        ((item.state & MF_DISABLED) ? ODS_DISABLED : 0) |
                        ((item.state & MFS_CHECKED) ? ODS_CHECKED : 0);
        // For a menu item the platform names the menu where a control's window would be.
        dis.hwndItem = reinterpret_cast<HWND>(level.menu);
        dis.hDC = dc;
        dis.rcItem = r;
        dis.itemData = item.data;
        SendMessage(m_owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    } else {
        DrawPlainItem(dc, r, item, selected);
    }
    ReleaseDC(level.window, dc);
}

void MenuLoop::Select(std::size_t level, int position) {
    Level& l = m_levels[level];
    if (l.selected == position)
        return;
    const int previous = l.selected;
    l.selected = position;
    DrawItem(l, previous, ODA_SELECT);
    DrawItem(l, position, ODA_SELECT);
    Publish();
}

void MenuLoop::Step(int direction) {
    const std::size_t level = m_levels.size() - 1;
    const int count = int(m_levels[level].items.size());
    int position = m_levels[level].selected;
    if (position < 0)
        position = direction > 0 ? -1 : count;
    for (int tries = 0; tries < count; ++tries) {
        position = (position + direction + count) % count;
        MenuItem item;
        if (CopyItem(m_levels[level].menu, position, &item) && !IsSeparator(item)) {
            Select(level, position);
            return;
        }
    }
}

void MenuLoop::Choose(const MenuItem& item) {
    if (IsSeparator(item) || IsDisabled(item) || item.submenu)
        return;
    m_chosen = item.id;
    m_done = true;
}

void MenuLoop::Input(const MSG& msg) {
    if (msg.message == WM_KEYDOWN) {
        Key(UINT(msg.wParam));
        return;
    }
    if (msg.message == WM_KEYUP || msg.message == WM_CHAR)
        return;
    POINT p{SHORT(LOWORD(std::uintptr_t(msg.lParam))), SHORT(HIWORD(std::uintptr_t(msg.lParam)))};
    if (msg.hwnd && ClientToScreen(msg.hwnd, &p))
        Pointer(msg.message, p);
}

void MenuLoop::Key(UINT key) {
    const std::size_t level = m_levels.size() - 1;
    const int selected = m_levels[level].selected;
    MenuItem item;
    const bool hasItem = CopyItem(m_levels[level].menu, selected, &item);
    switch (key) {
    case VK_DOWN:
        Step(+1);
        break;
    case VK_UP:
        Step(-1);
        break;
    case VK_RETURN:
        if (hasItem && item.submenu)
            OpenSubmenu(level, selected, true);
        else if (hasItem)
            Choose(item);
        break;
    case VK_RIGHT:
        if (hasItem && item.submenu)
            OpenSubmenu(level, selected, true);
        break;
    case VK_LEFT:
        if (level > 0)
            CloseFrom(level);
        break;
    case VK_ESCAPE:
        if (level > 0)
            CloseFrom(level);
        else
            m_done = true;
        break;
    default:
        break;
    }
}

void MenuLoop::Pointer(UINT message, POINT screen) {
    const auto [level, position] = HitTest(screen);
    if (level < 0) {
        if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)
            m_done = true; // a tap outside closes the menu
        return;
    }
    const std::size_t l = std::size_t(level);
    MenuItem item;
    const bool hasItem = CopyItem(m_levels[l].menu, position, &item) && !IsSeparator(item);
    if (message == WM_LBUTTONUP) {
        if (hasItem)
            Choose(item);
        return;
    }
    // The stylus follows the items: a submenu opens as soon as its item is touched.
    const int target = hasItem ? position : -1;
    if (target != m_levels[l].selected)
        CloseFrom(l + 1);
    Select(l, target);
    if (hasItem && item.submenu && m_levels.size() == l + 1)
        OpenSubmenu(l, position, false);
}

std::pair<int, int> MenuLoop::HitTest(POINT screen) const {
    for (int level = int(m_levels.size()) - 1; level >= 0; --level) {
        const Level& l = m_levels[std::size_t(level)];
        if (!Contains(ScreenRect(l.window), screen))
            continue;
        POINT client = screen;
        ScreenToClient(l.window, &client);
        for (int i = 0; i < int(l.items.size()); ++i)
            if (Contains(l.items[std::size_t(i)], client))
                return {level, i};
        return {level, -1};
    }
    return {-1, -1};
}

bool MenuLoop::StillValid() const {
    if (!IsWindow(m_owner))
        return false;
    return std::all_of(m_levels.begin(), m_levels.end(),
                       [](const Level& l) { return IsMenu(l.menu) && IsWindow(l.window); });
}

void MenuLoop::Publish() const {
    std::vector<OpenMenu> open;
    const DWORD threadId = GetCurrentThreadId();
    for (const Level& l : m_levels)
        open.push_back(OpenMenu{threadId, l.menu, l.window, l.selected});
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    wm.Menus().SetOpen(threadId, open);
}

LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        if (MenuLoop* loop = MenuLoop::Current()) {
            loop->Paint(hwnd);
            return 0;
        }
        break;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_MENU));
        return 1;
    }
    default:
        break;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}
