// The framework's window object. Each window that the framework created or subclassed has one;
// its virtual WindowProc receives the window's messages. A derived class switches on the
// message, calls its handlers, and passes what it does not handle to its base class, down to
// the default processing of the window's class.
#pragma once

#include "platform/gdi/CDC.h"
#include "platform/gdi/CRect.h"
#include "platform/kernel/CString.h"
#include "platform/user/CCmdTarget.h"
#include "platform/user/WinUser.h"

class CDataExchange;
struct CCreateContext;

// The framework's own messages and ids.
inline constexpr UINT WM_INITIALUPDATE = 0x0364;
inline constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
inline constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

// The nCtlColor codes of CtlColor, in the order of the WM_CTLCOLOR* messages.
inline constexpr UINT CTLCOLOR_MSGBOX = 0;
inline constexpr UINT CTLCOLOR_EDIT = 1;
inline constexpr UINT CTLCOLOR_LISTBOX = 2;
inline constexpr UINT CTLCOLOR_BTN = 3;
inline constexpr UINT CTLCOLOR_DLG = 4;
inline constexpr UINT CTLCOLOR_SCROLLBAR = 5;
inline constexpr UINT CTLCOLOR_STATIC = 6;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    // Destroys the window if it still exists.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to the window, or a temporary one owned by the framework (valid
    // until the window is gone) for a window that has none.
    static CWnd* FromHandle(HWND hwnd);
    // The attached object only.
    static CWnd* FromHandlePermanent(HWND hwnd);
    BOOL Attach(HWND hwnd);
    HWND Detach();
    // Attaches the object to an existing window and routes the window's messages through it;
    // PreSubclassWindow runs first.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, CCreateContext* context = nullptr);
    // PreCreateWindow may change the creation parameters first; FALSE from it, or a window
    // that cannot be created, fails (and PostNcDestroy runs, as for a destroyed window).
    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                  int cx, int cy, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The processing of the window's class (or the platform's default).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled now.
    LRESULT Default();

    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PreSubclassWindow();
    // Runs after the window's last message; frames and views delete themselves here.
    virtual void PostNcDestroy();

    // WM_COMMAND: a control's notification is first offered to the control itself (reflection),
    // then the command goes to OnCmdMsg.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: offered to the control first; a derived class handles its controls' notes.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification or colour query of this control came to its parent, which offers it here.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Reflected handlers of a control: its own WM_COMMAND notification (FALSE lets the parent
    // handle it too), its own WM_NOTIFY, and the colour query (a brush answers it).
    virtual BOOL ReflectedCommand(UINT notifyCode);
    virtual BOOL ReflectedNotify(NMHDR* header, LRESULT* result);
    virtual HBRUSH CtlColor(CDC* dc, UINT nCtlColor);

    virtual void DoDataExchange(CDataExchange* dx);
    // TRUE: controls to members; FALSE: members to controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessage(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessage(m_hWnd, message, wParam, lParam);
    }
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL deep = TRUE) const;

    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
        return ::SetTimer(m_hWnd, id, elapseMs, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void SetRedraw(BOOL redraw = TRUE) { SendMessage(WM_SETREDRAW, redraw); }

    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* dc);

    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* GetDlgItem(int id) const;
    CWnd* GetParent() const;
    // The owner set with SetOwner, else the parent.
    CWnd* GetOwner() const;
    void SetOwner(CWnd* owner) { m_hWndOwner = owner ? owner->m_hWnd : nullptr; }
    CWnd* GetTopLevelParent() const;
    BOOL IsChild(const CWnd* wnd) const { return wnd && ::IsChild(m_hWnd, wnd->m_hWnd); }

    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return int(::SetWindowLong(m_hWnd, GWL_ID, id)); }
    DWORD GetStyle() const { return DWORD(::GetWindowLong(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return DWORD(::GetWindowLong(m_hWnd, GWL_EXSTYLE)); }
    // Changes the style; with swpFlags the frame is recomputed (SetWindowPos with them).
    // TRUE when the style changed.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);

    // The z-order positions SetWindowPos takes as window objects.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    BOOL ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE) {
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                   repaint);
    }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void ClientToScreen(POINT* point) const { ::ClientToScreen(m_hWnd, point); }
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(POINT* point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(LPRECT rect) const;
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }

    void SetWindowText(LPCTSTR text) { ::SetWindowText(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }

protected:
    // WM_NCDESTROY: the window is gone. Ends the application's loop when it was the main window,
    // detaches the object and calls PostNcDestroy.
    void OnNcDestroy();

    // The procedure the window had before the framework subclassed it.
    WNDPROC m_pfnSuper = nullptr;
    HWND m_hWndOwner = nullptr;

    friend LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend void AfxAttachCreatedWindow(HWND, void*);
};

// The window procedure of every framework window: hands the message to the window's object.
LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The creation hook that binds a CWnd (context) to the window being created.
void AfxAttachCreatedWindow(HWND hwnd, void* context);
// The framework's window classes, registered on first use: "AfxWnd" (no background) and
// "AfxFrameOrView" (window-coloured background).
LPCTSTR AfxWndClassName();
LPCTSTR AfxFrameOrViewClassName();
