// The list-view common control ("SysListView32") as the launcher's program list and report-style
// lists use it: items with text, an image and item data; focus and selection states; the icon
// view as a grid of large icons with their labels below, and rows for the report and list views;
// the platform's arrow-key navigation, taps and double taps; notifications to the parent.
#pragma once

#include "platform/user/WinUser.h"

inline constexpr const wchar_t* WC_LISTVIEW = L"SysListView32";

// Registers the common controls' window classes (the list view). Calling it again is harmless.
void InitCommonControls();

// Styles. The view is the low two bits; the small-icon view is laid out as the icon view and the
// list view as the report view (one row per item).
inline constexpr DWORD LVS_ICON = 0x0000;
inline constexpr DWORD LVS_REPORT = 0x0001;
inline constexpr DWORD LVS_SMALLICON = 0x0002;
inline constexpr DWORD LVS_LIST = 0x0003;
inline constexpr DWORD LVS_TYPEMASK = 0x0003;
inline constexpr DWORD LVS_SINGLESEL = 0x0004;
inline constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
inline constexpr DWORD LVS_SHAREIMAGELISTS = 0x0040;

// Messages.
inline constexpr UINT LVM_FIRST = 0x1000;
inline constexpr UINT LVM_GETBKCOLOR = LVM_FIRST + 0;
inline constexpr UINT LVM_SETBKCOLOR = LVM_FIRST + 1;
inline constexpr UINT LVM_GETIMAGELIST = LVM_FIRST + 2;
inline constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;
inline constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
inline constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
inline constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;
inline constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;
inline constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
inline constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;
inline constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;
inline constexpr UINT LVM_GETITEM = LVM_FIRST + 75;
inline constexpr UINT LVM_SETITEM = LVM_FIRST + 76;
inline constexpr UINT LVM_INSERTITEM = LVM_FIRST + 77;
inline constexpr UINT LVM_FINDITEM = LVM_FIRST + 83;
inline constexpr UINT LVM_GETITEMTEXT = LVM_FIRST + 115;

// Notifications (WM_NOTIFY codes).
inline constexpr UINT LVN_FIRST = UINT(-100);
inline constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
inline constexpr UINT LVN_DELETEITEM = LVN_FIRST - 3;
inline constexpr UINT LVN_DELETEALLITEMS = LVN_FIRST - 4;

// Image lists (LVM_SETIMAGELIST).
inline constexpr int LVSIL_NORMAL = 0;
inline constexpr int LVSIL_SMALL = 1;
inline constexpr int LVSIL_STATE = 2;

// LVITEM masks and states.
inline constexpr UINT LVIF_TEXT = 0x0001;
inline constexpr UINT LVIF_IMAGE = 0x0002;
inline constexpr UINT LVIF_PARAM = 0x0004;
inline constexpr UINT LVIF_STATE = 0x0008;
inline constexpr UINT LVIS_FOCUSED = 0x0001;
inline constexpr UINT LVIS_SELECTED = 0x0002;

// LVM_GETNEXTITEM.
inline constexpr UINT LVNI_ALL = 0x0000;
inline constexpr UINT LVNI_FOCUSED = 0x0001;
inline constexpr UINT LVNI_SELECTED = 0x0002;

// LVM_FINDITEM.
inline constexpr UINT LVFI_STRING = 0x0002;

// LVM_GETITEMRECT: which part of the item.
inline constexpr int LVIR_BOUNDS = 0;
inline constexpr int LVIR_ICON = 1;
inline constexpr int LVIR_LABEL = 2;

struct LVITEM {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    LPWSTR pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    LPARAM lParam = 0;
    int iIndent = 0;
};
using LPLVITEM = LVITEM*;

struct LVFINDINFO {
    UINT flags = 0;
    LPCWSTR psz = nullptr;
    LPARAM lParam = 0;
    POINT pt;
    UINT vkDirection = 0;
};

// LVN_DELETEITEM and LVN_DELETEALLITEMS: iItem, and the item's data in lParam. LVN_ITEMCHANGED,
// sent after an item's state changed: iItem, uNewState, uOldState, uChanged (LVIF_STATE).
struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction;
    LPARAM lParam = 0;
};
using LPNMLISTVIEW = NMLISTVIEW*;

// NM_CLICK and NM_DBLCLK: the item tapped (-1: none) and where.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction;
    LPARAM lParam = 0;
    UINT uKeyFlags = 0;
};
using LPNMITEMACTIVATE = NMITEMACTIVATE*;
