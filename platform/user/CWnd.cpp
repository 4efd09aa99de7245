#include "platform/user/CWnd.h"

#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/gdi/WinGdi.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/Resources.h"
#include "platform/user/CDataExchange.h"
#include "platform/user/CMenu.h"
#include "platform/user/CWinApp.h"
#include "platform/user/WindowCreationHook.h"

namespace {

// Windows and their objects, for every thread.
std::mutex& MapLock() {
    static std::mutex lock;
    return lock;
}
std::unordered_map<HWND, CWnd*>& PermanentMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// Temporary objects of the calling thread for windows that have no object of their own.
thread_local std::map<HWND, std::unique_ptr<CWnd>> t_temporaryWnds;

// The message each thread is handling now (nested while handlers send messages), for Default.
struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
thread_local std::vector<CurrentMessage> t_messages;

LPCTSTR EnsureClass(LPCTSTR name, HBRUSH background) {
    WNDCLASS wc;
    if (!GetClassInfo(nullptr, name, &wc)) {
        wc = WNDCLASS{};
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hbrBackground = background;
        wc.lpszClassName = name;
        RegisterClass(&wc);
    }
    return name;
}

} // namespace

LPCTSTR AfxWndClassName() {
    return EnsureClass(L"AfxWnd", nullptr);
}

LPCTSTR AfxFrameOrViewClassName() {
    return EnsureClass(L"AfxFrameOrView",
                       reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1)));
}

LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd)
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    t_messages.push_back(CurrentMessage{message, wParam, lParam});
    const LRESULT result = wnd->WindowProc(message, wParam, lParam);
    t_messages.pop_back();
    return result;
}

void AfxAttachCreatedWindow(HWND hwnd, void* context) {
    auto* wnd = static_cast<CWnd*>(context);
    wnd->Attach(hwnd);
    wnd->PreSubclassWindow();
    auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtr(hwnd, GWL_WNDPROC, LONG_PTR(&AfxWndProc)));
    if (previous != &AfxWndProc)
        wnd->m_pfnSuper = previous;
}

CWnd::~CWnd() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    if (m_hWnd)
        Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    std::lock_guard lock(MapLock());
    auto it = PermanentMap().find(hwnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hwnd))
        return wnd;
    std::erase_if(t_temporaryWnds, [](const auto& entry) { return !::IsWindow(entry.first); });
    auto& slot = t_temporaryWnds[hwnd];
    if (!slot) {
        slot = std::make_unique<CWnd>();
        slot->m_hWnd = hwnd;
    }
    return slot.get();
}

BOOL CWnd::Attach(HWND hwnd) {
    if (!hwnd || m_hWnd)
        return FALSE;
    std::lock_guard lock(MapLock());
    PermanentMap()[hwnd] = this;
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (hwnd) {
        std::lock_guard lock(MapLock());
        auto it = PermanentMap().find(hwnd);
        if (it != PermanentMap().end() && it->second == this)
            PermanentMap().erase(it);
    }
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!::IsWindow(hwnd) || !Attach(hwnd))
        return FALSE;
    PreSubclassWindow();
    auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtr(hwnd, GWL_WNDPROC, LONG_PTR(&AfxWndProc)));
    if (previous != &AfxWndProc)
        m_pfnSuper = previous;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    HWND item = parent ? ::GetDlgItem(parent->m_hWnd, int(id)) : nullptr;
    return item ? SubclassWindow(item) : FALSE;
}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, CCreateContext* context) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                    int cx, int cy, HWND parent, HMENU idOrMenu, LPVOID param) {
    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = AfxGetInstanceHandle();
    cs.hMenu = idOrMenu;
    cs.hwndParent = parent;
    cs.cx = cx;
    cs.cy = cy;
    cs.x = x;
    cs.y = y;
    cs.style = LONG(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    SetWindowCreationHook(&AfxAttachCreatedWindow, this);
    HWND hwnd =
        ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, DWORD(cs.style), cs.x, cs.y,
                         cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (!ClearWindowCreationHook()) {
        // No window was ever made, so no WM_NCDESTROY will clean up after it.
        PostNcDestroy();
        return FALSE;
    }
    return hwnd ? TRUE : FALSE;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result))
            return result;
        break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
        LRESULT result = 0;
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, &result))
            return result;
        break;
    }
    case WM_MEASUREITEM: {
        // A menu item goes to the object of its menu.
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        CMenu* menu = mis && mis->CtlType == ODT_MENU
                          ? CMenu::FromOwnerDrawnItem(mis->itemID, mis->itemData)
                          : nullptr;
        if (menu) {
            menu->MeasureItem(mis);
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis && dis->CtlType == ODT_MENU) {
            CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(dis->hwndItem));
            if (!menu)
                break;
            menu->DrawItem(dis);
            return TRUE;
        }
        CWnd* child = dis ? FromHandlePermanent(dis->hwndItem) : nullptr;
        LRESULT result = 0;
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, &result))
            return TRUE;
        break;
    }
    case WM_NCDESTROY:
        OnNcDestroy();
        return 0;
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper)
        return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    if (t_messages.empty())
        return 0;
    const CurrentMessage current = t_messages.back();
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxWndClassName();
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

void CWnd::OnNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0); // the program ends with its main window
    }
    Default();
    if (m_pfnSuper &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtr(m_hWnd, GWL_WNDPROC)) == &AfxWndProc)
        SetWindowLongPtr(m_hWnd, GWL_WNDPROC, LONG_PTR(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd* control = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
        control && control != this && control->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
        return TRUE;
    return OnCmdMsg(LOWORD(wParam), int(HIWORD(wParam)));
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    CWnd* control = header ? FromHandlePermanent(header->hwndFrom) : nullptr;
    return control && control != this && control->OnChildNotify(WM_NOTIFY, wParam, lParam, result)
               ? TRUE
               : FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_COMMAND:
        return ReflectedCommand(HIWORD(wParam));
    case WM_NOTIFY:
        return ReflectedNotify(reinterpret_cast<NMHDR*>(lParam), result);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        HBRUSH brush =
            CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), message - WM_CTLCOLORMSGBOX);
        if (!brush)
            return FALSE;
        if (result)
            *result = reinterpret_cast<LRESULT>(brush);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL CWnd::ReflectedCommand(UINT) {
    return FALSE;
}
BOOL CWnd::ReflectedNotify(NMHDR*, LRESULT*) {
    return FALSE;
}
HBRUSH CWnd::CtlColor(CDC*, UINT) {
    return nullptr;
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep) const {
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessage(child, message, wParam, lParam);
        if (deep && ::GetWindow(child, GW_CHILD))
            FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, TRUE);
    }
}

CDC* CWnd::GetDC() {
    return CDC::FromHandle(::GetDC(m_hWnd));
}
CDC* CWnd::GetWindowDC() {
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}
int CWnd::ReleaseDC(CDC* dc) {
    return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0;
}

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}
CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}
CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandle(::GetDlgItem(m_hWnd, id));
}
CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetOwner() const {
    return m_hWndOwner && ::IsWindow(m_hWndOwner) ? FromHandle(m_hWndOwner) : GetParent();
}

CWnd* CWnd::GetTopLevelParent() const {
    HWND top = m_hWnd;
    while (top && (::GetWindowLong(top, GWL_STYLE) & WS_CHILD))
        top = ::GetParent(top);
    return FromHandle(top);
}

namespace {

// Shared by ModifyStyle and ModifyStyleEx: index is GWL_STYLE or GWL_EXSTYLE. FALSE when the
// bits are unchanged; with swpFlags the frame is then updated by SetWindowPos.
BOOL ModifyStyleBits(HWND hwnd, int index, DWORD remove, DWORD add, UINT swpFlags) {
    const DWORD style = DWORD(::GetWindowLong(hwnd, index));
    const DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLong(hwnd, index, LONG(changed));
    if (swpFlags)
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    return ModifyStyleBits(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) {
    return ModifyStyleBits(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    HWND after = nullptr;
    if (insertAfter == &wndTopMost)
        after = HWND_TOPMOST;
    else if (insertAfter == &wndNoTopMost)
        after = HWND_NOTOPMOST;
    else if (insertAfter == &wndBottom)
        after = HWND_BOTTOM;
    else if (insertAfter && insertAfter != &wndTop)
        after = insertAfter->m_hWnd;
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
}

void CWnd::ClientToScreen(LPRECT rect) const {
    POINT origin{0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    *rect = CRect(rect->left + origin.x, rect->top + origin.y, rect->right + origin.x,
                  rect->bottom + origin.y);
}

void CWnd::ScreenToClient(LPRECT rect) const {
    POINT origin{0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    *rect = CRect(rect->left - origin.x, rect->top - origin.y, rect->right - origin.x,
                  rect->bottom - origin.y);
}

void CWnd::GetWindowText(CString& text) const {
    std::wstring buffer(std::size_t(GetWindowTextLength()) + 1, L'\0');
    const int length = ::GetWindowText(m_hWnd, buffer.data(), int(buffer.size()));
    buffer.resize(std::size_t(std::max(0, length)));
    text = CString(std::move(buffer));
}

const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;
const CWnd CWnd::wndTopMost;
const CWnd CWnd::wndNoTopMost;
