// The device's window manager API: window classes and windows, per-thread message queues,
// focus, timers and painting, with the platform's documented behaviour for the calls the
// launcher makes. Every call on a destroyed or unknown window fails cleanly (0, FALSE, NULL).
#pragma once

#include "platform/kernel/WinTypes.h"

using ATOM = WORD;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// ---- Messages --------------------------------------------------------------------------------
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETREDRAW = 0x000B;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_DRAWITEM = 0x002B;
inline constexpr UINT WM_MEASUREITEM = 0x002C;
inline constexpr UINT WM_SETFONT = 0x0030;
inline constexpr UINT WM_GETFONT = 0x0031;
inline constexpr UINT WM_COPYDATA = 0x004A;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_INITMENUPOPUP = 0x0117;
inline constexpr UINT WM_CTLCOLORMSGBOX = 0x0132;
inline constexpr UINT WM_CTLCOLOREDIT = 0x0133;
inline constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr UINT WM_CTLCOLORBTN = 0x0135;
inline constexpr UINT WM_CTLCOLORDLG = 0x0136;
inline constexpr UINT WM_CTLCOLORSCROLLBAR = 0x0137;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_ENTERMENULOOP = 0x0211;
inline constexpr UINT WM_EXITMENULOOP = 0x0212;
inline constexpr UINT WM_USER = 0x0400;
// The first message a program may give a meaning of its own to, for its own windows.
inline constexpr UINT WM_APP = 0x8000;

// ---- Window styles ---------------------------------------------------------------------------
inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_DLGFRAME = 0x00400000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_HSCROLL = 0x00100000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;

inline constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
inline constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;

// Dialog template styles.
inline constexpr DWORD DS_ABSALIGN = 0x0001;
inline constexpr DWORD DS_SETFONT = 0x0040;
inline constexpr DWORD DS_MODALFRAME = 0x0080;
inline constexpr DWORD DS_NOFAILCREATE = 0x0010;
inline constexpr DWORD DS_CENTER = 0x0800;

// Static control styles and messages.
inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_CENTER = 0x0001;
inline constexpr DWORD SS_RIGHT = 0x0002;
inline constexpr DWORD SS_ICON = 0x0003;
inline constexpr DWORD SS_LEFTNOWORDWRAP = 0x000C;
inline constexpr DWORD SS_TYPEMASK = 0x001F;
inline constexpr DWORD SS_NOPREFIX = 0x0080;
inline constexpr DWORD SS_NOTIFY = 0x0100;
inline constexpr DWORD SS_CENTERIMAGE = 0x0200;
inline constexpr UINT STM_SETICON = 0x0170;
inline constexpr UINT STM_GETICON = 0x0171;

// Button styles, messages, states and notifications.
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
inline constexpr DWORD BS_CHECKBOX = 0x0002;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
inline constexpr DWORD BS_RADIOBUTTON = 0x0004;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
inline constexpr DWORD BS_OWNERDRAW = 0x000B;
inline constexpr DWORD BS_TYPEMASK = 0x000F;
inline constexpr DWORD BS_LEFT = 0x0100;
inline constexpr DWORD BS_RIGHT = 0x0200;
inline constexpr DWORD BS_CENTER = 0x0300;
inline constexpr DWORD BS_TOP = 0x0400;
inline constexpr DWORD BS_BOTTOM = 0x0800;
inline constexpr DWORD BS_VCENTER = 0x0C00;
inline constexpr DWORD BS_MULTILINE = 0x2000;
inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_GETSTATE = 0x00F2;
inline constexpr UINT BM_SETSTATE = 0x00F3;
inline constexpr UINT BM_SETSTYLE = 0x00F4;
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr UINT BST_UNCHECKED = 0x0000;
inline constexpr UINT BST_CHECKED = 0x0001;
inline constexpr UINT BST_PUSHED = 0x0004;
inline constexpr UINT BST_FOCUS = 0x0008;
inline constexpr UINT BN_CLICKED = 0;

// Owner drawing.
inline constexpr UINT ODT_MENU = 1;
inline constexpr UINT ODT_BUTTON = 4;
inline constexpr UINT ODA_DRAWENTIRE = 0x0001;
inline constexpr UINT ODA_SELECT = 0x0002;
inline constexpr UINT ODA_FOCUS = 0x0004;
inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_GRAYED = 0x0002;
inline constexpr UINT ODS_DISABLED = 0x0004;
inline constexpr UINT ODS_CHECKED = 0x0008;
inline constexpr UINT ODS_FOCUS = 0x0010;

// Menus: item flags of AppendMenu and CheckMenuItem/EnableMenuItem, item types and states of
// MENUITEMINFO, its field mask, and the flags of TrackPopupMenu.
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_OWNERDRAW = 0x0100;
inline constexpr UINT MF_SEPARATOR = 0x0800;
inline constexpr UINT MFT_STRING = 0x0000;
inline constexpr UINT MFT_OWNERDRAW = 0x0100;
inline constexpr UINT MFT_SEPARATOR = 0x0800;
inline constexpr UINT MFS_ENABLED = 0x0000;
inline constexpr UINT MFS_UNCHECKED = 0x0000;
inline constexpr UINT MFS_GRAYED = 0x0003;
inline constexpr UINT MFS_DISABLED = 0x0003;
inline constexpr UINT MFS_CHECKED = 0x0008;
inline constexpr UINT MIIM_STATE = 0x0001;
inline constexpr UINT MIIM_ID = 0x0002;
inline constexpr UINT MIIM_SUBMENU = 0x0004;
inline constexpr UINT MIIM_CHECKMARKS = 0x0008;
inline constexpr UINT MIIM_TYPE = 0x0010;
inline constexpr UINT MIIM_DATA = 0x0020;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_VCENTERALIGN = 0x0010;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWNA = 8;

// SetWindowPos.
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOREDRAW = 0x0008;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;

// Get/SetWindowLong.
inline constexpr int GWL_WNDPROC = -4;
inline constexpr int GWL_ID = -12;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWL_USERDATA = -21;

// GetWindow.
inline constexpr UINT GW_HWNDFIRST = 0;
inline constexpr UINT GW_HWNDLAST = 1;
inline constexpr UINT GW_HWNDNEXT = 2;
inline constexpr UINT GW_HWNDPREV = 3;
inline constexpr UINT GW_OWNER = 4;
inline constexpr UINT GW_CHILD = 5;

// PeekMessage.
inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;
inline constexpr UINT PM_NOYIELD = 0x0002;

inline constexpr int CW_USEDEFAULT = int(0x80000000);

// Dialog results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Message-box type flags: the button set, the icon and the button focused first.
inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_OKCANCEL = 0x0001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x0002;
inline constexpr UINT MB_YESNOCANCEL = 0x0003;
inline constexpr UINT MB_YESNO = 0x0004;
inline constexpr UINT MB_RETRYCANCEL = 0x0005;
inline constexpr UINT MB_ICONHAND = 0x0010;
inline constexpr UINT MB_ICONQUESTION = 0x0020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;
inline constexpr UINT MB_ICONASTERISK = 0x0040;
inline constexpr UINT MB_DEFBUTTON1 = 0x0000;
inline constexpr UINT MB_DEFBUTTON2 = 0x0100;
inline constexpr UINT MB_DEFBUTTON3 = 0x0200;
inline constexpr UINT MB_TYPEMASK = 0x000F;
inline constexpr UINT MB_ICONMASK = 0x00F0;
inline constexpr UINT MB_DEFMASK = 0x0F00;

// Common control notifications.
inline constexpr UINT NM_CLICK = UINT(-2);
inline constexpr UINT NM_DBLCLK = UINT(-3);

// Virtual keys.
inline constexpr UINT VK_RETURN = 0x0D;
inline constexpr UINT VK_ESCAPE = 0x1B;
inline constexpr UINT VK_SPACE = 0x20;
inline constexpr UINT VK_LEFT = 0x25;
inline constexpr UINT VK_UP = 0x26;
inline constexpr UINT VK_RIGHT = 0x27;
inline constexpr UINT VK_DOWN = 0x28;

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
// The frame of a dialog with DS_MODALFRAME (WS_EX_DLGMODALFRAME), on each side.
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CXDOUBLECLK = 36;
inline constexpr int SM_CYDOUBLECLK = 37;

// Class styles.
inline constexpr UINT CS_DBLCLKS = 0x0008;

// Mouse messages' wParam: the stylus is down.
inline constexpr WPARAM MK_LBUTTON = 0x0001;

// SendInput.
inline constexpr DWORD INPUT_MOUSE = 0;
inline constexpr DWORD MOUSEEVENTF_MOVE = 0x0001;
inline constexpr DWORD MOUSEEVENTF_LEFTDOWN = 0x0002;
inline constexpr DWORD MOUSEEVENTF_LEFTUP = 0x0004;
inline constexpr DWORD MOUSEEVENTF_ABSOLUTE = 0x8000;
inline constexpr int SM_CXMENUCHECK = 71;
inline constexpr int SM_CYMENUCHECK = 72;

// ---- Structures ------------------------------------------------------------------------------
struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};
using LPMSG = MSG*;

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    // A brush, or a system colour index + 1 (the platform's convention).
    HBRUSH hbrBackground = nullptr;
    LPCTSTR lpszMenuName = nullptr;
    LPCTSTR lpszClassName = nullptr;
};

struct CREATESTRUCT {
    LPVOID lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HMENU hMenu = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    LPCTSTR lpszName = nullptr;
    LPCTSTR lpszClass = nullptr;
    DWORD dwExStyle = 0;
};
using LPCREATESTRUCT = CREATESTRUCT*;

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    RECT rcPaint;
    BOOL fRestore = FALSE;
    BOOL fIncUpdate = FALSE;
    BYTE rgbReserved[32] = {};
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

struct COPYDATASTRUCT {
    DWORD dwData = 0;
    DWORD cbData = 0;
    LPVOID lpData = nullptr;
};
using PCOPYDATASTRUCT = COPYDATASTRUCT*;

struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT idFrom = 0;
    UINT code = 0;
};
using LPNMHDR = NMHDR*;

struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    RECT rcItem;
    DWORD_PTR itemData = 0; // pointer-sized on the host: menu items keep their records here
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

// One report of the touch screen: with MOUSEEVENTF_ABSOLUTE, dx and dy are normalised screen
// coordinates (0 the left or top edge, 65535 the right or bottom one), else pixels moved.
struct MOUSEINPUT {
    LONG dx = 0;
    LONG dy = 0;
    DWORD mouseData = 0;
    DWORD dwFlags = 0;
    DWORD time = 0; // device milliseconds; 0: now
    DWORD_PTR dwExtraInfo = 0;
};

// The platform's INPUT holds mouse, keyboard or hardware input; this device reports only its
// touch screen.
struct INPUT {
    DWORD type = INPUT_MOUSE;
    MOUSEINPUT mi;
};
using LPINPUT = INPUT*;

// For a menu item, WM_MEASUREITEM's wParam is 0 and CtlID is unused; the answer is itemWidth
// and itemHeight.
struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    DWORD_PTR itemData = 0;
};
using LPMEASUREITEMSTRUCT = MEASUREITEMSTRUCT*;

// cbSize of MENUITEMINFO: the structure's size on the device, eleven 32-bit members. The host's
// handles and pointers are wider, so a caller states the device's size, as every byte count
// that crosses the platform interface is the device's; any other size is refused.
inline constexpr UINT kMenuItemInfoSize = 44;

struct MENUITEMINFO {
    UINT cbSize = 0;
    UINT fMask = 0;
    UINT fType = 0;
    UINT fState = 0;
    UINT wID = 0;
    HMENU hSubMenu = nullptr;
    HBITMAP hbmpChecked = nullptr;
    HBITMAP hbmpUnchecked = nullptr;
    DWORD_PTR dwItemData = 0;
    LPTSTR dwTypeData = nullptr;
    UINT cch = 0;
};
using LPMENUITEMINFO = MENUITEMINFO*;
using LPCMENUITEMINFO = const MENUITEMINFO*;

constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) {
    return WPARAM(DWORD(lo) | (DWORD(hi) << 16));
}
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) {
    return LPARAM(DWORD(lo) | (DWORD(hi) << 16));
}

// ---- Window classes --------------------------------------------------------------------------
// Class names are matched without regard to case. The platform's own classes are "Static",
// "Button" and "Dialog"; registering an existing name fails.
ATOM RegisterClass(const WNDCLASS* wndClass);
BOOL UnregisterClass(LPCTSTR className, HINSTANCE instance);
BOOL GetClassInfo(HINSTANCE instance, LPCTSTR className, WNDCLASS* wndClass);
int GetClassName(HWND hwnd, LPTSTR buffer, int maxCount);

// ---- Windows ---------------------------------------------------------------------------------
// x, y are relative to the parent's client area for child windows and to the screen for the
// others; CW_USEDEFAULT gives a top-level window the whole screen. A non-child window created
// with a parent is owned by that window. Children go to the bottom of their siblings' z-order
// (so a dialog's first control is on top), other windows to the top.
HWND CreateWindowEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                    LPVOID param);
inline HWND CreateWindow(LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                         int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                         LPVOID param) {
    return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menuOrId,
                          instance, param);
}
// Sends WM_DESTROY to the window and then to its children (and owned windows), then
// WM_NCDESTROY children first. Only the window's own thread may destroy it.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
// TRUE when the window and all its ancestors have WS_VISIBLE.
BOOL IsWindowVisible(HWND hwnd);
BOOL IsWindowEnabled(HWND hwnd);
// Returns TRUE when the window was disabled before the call.
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsChild(HWND parent, HWND hwnd);
// The parent of a child window, the owner of a popup, NULL otherwise.
HWND GetParent(HWND hwnd);
HWND GetWindow(HWND hwnd, UINT cmd);
int GetDlgCtrlID(HWND hwnd);
HWND GetDlgItem(HWND dialog, int id);
// Searches the top-level windows, top first; a NULL class or title matches any.
HWND FindWindow(LPCTSTR className, LPCTSTR windowName);
DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId);

// Returns TRUE when the window was visible before the call.
BOOL ShowWindow(HWND hwnd, int cmdShow);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
// Window rectangle in screen coordinates; client rectangle from 0,0. The only non-client part
// on this device is the one-pixel frame of WS_BORDER.
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
BOOL GetClientRect(HWND hwnd, LPRECT rect);
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
int GetSystemMetrics(int index);

LONG GetWindowLong(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);
// The pointer-sized forms, for GWL_WNDPROC and GWL_USERDATA on the host.
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);

BOOL SetWindowText(HWND hwnd, LPCTSTR text);
int GetWindowText(HWND hwnd, LPTSTR buffer, int maxCount);
int GetWindowTextLength(HWND hwnd);
BOOL SetDlgItemText(HWND dialog, int id, LPCTSTR text);
UINT GetDlgItemText(HWND dialog, int id, LPTSTR buffer, int maxCount);

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Messages --------------------------------------------------------------------------------
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// FALSE when the thread has no message queue (it never used the window manager, or ended).
BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// To a window of the calling thread: a direct call. To another thread's window: waits until
// that thread handles it (in GetMessage, PeekMessage or while it waits in a SendMessage of its
// own), meanwhile handling messages sent to the caller. 0 at once for a window whose thread
// has ended.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
// Order of retrieval: sent messages (handled inside), posted messages, WM_QUIT, WM_PAINT, then
// due WM_TIMER. GetMessage waits in device time for the next timer; FALSE on WM_QUIT.
BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
void PostQuitMessage(int exitCode);

// Timers count device time. A window's timer fires on that window's thread.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ---- Focus -----------------------------------------------------------------------------------
// The focus belongs to the calling thread. SetFocus returns the previous focus window; NULL
// (and nothing changes) for a window that is destroyed, hidden (its own WS_VISIBLE is clear),
// disabled, or owned by another thread.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND GetActiveWindow();

// ---- Stylus ---------------------------------------------------------------------------------
// The touch screen's reports, as its driver gives them: MOUSEEVENTF_MOVE places the stylus,
// MOUSEEVENTF_LEFTDOWN and MOUSEEVENTF_LEFTUP put it down and lift it (in that order within one
// report). While it is down, each change is posted as WM_LBUTTONDOWN, WM_MOUSEMOVE or
// WM_LBUTTONUP (client coordinates in lParam, MK_LBUTTON in wParam for down and move) to the
// window that has the capture, else to WindowFromPoint's window when the point is in its client
// area. A second press within GetDoubleClickTime() and SM_CXDOUBLECLK x SM_CYDOUBLECLK of the
// first, on the same window, is WM_LBUTTONDBLCLK when the window's class has CS_DBLCLKS. A lift
// without a press and a move of a lifted stylus post nothing. Returns the reports taken: 0 for
// a cbSize that is not sizeof(INPUT), else up to the first one that is not INPUT_MOUSE.
UINT SendInput(UINT count, LPINPUT inputs, int cbSize);
// The window under a screen point: the top-most shown top-level window there (NULL when it is
// disabled), then down through its shown and enabled children, top first, whose window
// rectangle holds the point; disabled and hidden children are passed over, as are windows
// being destroyed.
HWND WindowFromPoint(POINT point);
// The capture is one window of the whole device. SetCapture takes it for a window of the
// calling thread and returns the window that had it; ReleaseCapture gives it up when the
// calling thread's window has it (TRUE, also when nothing had it); GetCapture is the calling
// thread's capture window or NULL.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
// The longest time between the two presses of a double tap, in device milliseconds.
UINT GetDoubleClickTime();

// ---- Painting --------------------------------------------------------------------------------
// A window draws only on its visible area: its rectangle within every ancestor's client
// area, less the visible siblings above it (at every level) and its visible children.
BOOL InvalidateRect(HWND hwnd, LPCRECT rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, LPCRECT rect);
BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
// Sends WM_PAINT at once when the update region is not empty.
BOOL UpdateWindow(HWND hwnd);
HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
// GetDC(NULL) draws on the whole screen.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);

// ---- Menus ---------------------------------------------------------------------------------
// An item is named by its position (MF_BYPOSITION, or byPosition TRUE) or by its command id,
// which searches the menu and then, depth first, its submenus. A menu handle stays valid until
// DestroyMenu, which destroys its submenus too; handles are never reused.
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// MF_POPUP: idNewItem is the submenu. MF_OWNERDRAW: newItem is the item data, which
// WM_MEASUREITEM and WM_DRAWITEM carry; otherwise newItem is the item's text (MF_STRING).
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCTSTR newItem);
// Inserts before the item named (at the end for a position past the last). For MFT_OWNERDRAW
// items dwTypeData is not read.
BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info);
// Fills the members fMask names. MIIM_TYPE copies a string item's text into dwTypeData (at most
// cch - 1 characters and a terminator) and sets cch to the characters copied, or to the text's
// length when dwTypeData is NULL. FALSE (ERROR_INVALID_PARAMETER) when cbSize is not
// kMenuItemInfoSize; FALSE when the menu or the item does not exist.
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFO info);
// The previous state (MF_CHECKED or MF_UNCHECKED), 0xFFFFFFFF when the item does not exist.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
// The previous state (MF_ENABLED, MF_GRAYED or MF_DISABLED), -1 when the item does not exist.
BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags);
// -1 for a menu that does not exist.
int GetMenuItemCount(HMENU menu);
// 0xFFFFFFFF for an item that opens a submenu or does not exist.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);

// Shows the popup menu at (x, y) (screen), placed as the TPM_ alignment flags say and kept on
// the screen, as a top-most window that takes neither activation nor focus, and runs the menu's
// modal loop on the calling thread until an item is chosen or the menu is closed. The owner gets
// WM_ENTERMENULOOP, WM_INITMENUPOPUP before each popup shows, WM_MEASUREITEM once per tracking
// for each owner-drawn item (whose width the menu widens by a check mark's, SM_CXMENUCHECK, as
// the platform does), WM_DRAWITEM whenever one is drawn, WM_EXITMENULOOP, and after the
// loop a posted WM_COMMAND with the chosen item's id (none with TPM_RETURNCMD, which returns the
// id instead, 0 when nothing was chosen). The loop handles every stylus and key message it takes
// from the thread's queue, whichever window it was posted to: a tap inside a menu follows and
// chooses items, a tap outside closes the menu; VK_UP and VK_DOWN move the selection, VK_RETURN
// chooses, VK_ESCAPE closes a level, VK_RIGHT and VK_LEFT open and close a submenu. Other
// messages are pre-translated by the application and dispatched. The loop ends, choosing
// nothing, when the owner or the menu is destroyed or WM_QUIT arrives (posted again after the
// loop). Without TPM_RETURNCMD the result is TRUE when the menu was shown; FALSE, and nothing
// is sent, for a menu without items, an owner that is not a window, or while this thread is
// already tracking a menu. nReserved and rect are not used.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int nReserved, HWND owner,
                    const RECT* rect);

// The framework's entry (CWinApp.cpp): runs the application object's InitInstance on the
// calling thread, which becomes the UI thread, then its message loop until WM_QUIT; returns
// the exit code. When InitInstance fails it returns at once.
int AfxWinMain();
