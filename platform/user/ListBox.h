// The "ListBox" class as the About box uses it: a white box of text lines in the dialog's font,
// top down, one of which a tap selects. Strings only, no sorting, no owner drawing.
#pragma once

#include <string>
#include <vector>

#include "platform/user/WinUser.h"

// Styles.
inline constexpr DWORD LBS_NOTIFY = 0x0001;           // LBN_SELCHANGE and LBN_DBLCLK to the parent
inline constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100; // the height as given, not whole lines

// Messages.
inline constexpr UINT LB_ADDSTRING = 0x0180;
inline constexpr UINT LB_RESETCONTENT = 0x0184;
inline constexpr UINT LB_SETCURSEL = 0x0186;
inline constexpr UINT LB_GETCURSEL = 0x0188;
inline constexpr UINT LB_GETTEXT = 0x0189;
inline constexpr UINT LB_GETTEXTLEN = 0x018A;
inline constexpr UINT LB_GETCOUNT = 0x018B;
inline constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
inline constexpr LRESULT LB_ERR = -1;

// Notifications, in WM_COMMAND's high word.
inline constexpr UINT LBN_SELCHANGE = 1;
inline constexpr UINT LBN_DBLCLK = 2;

LRESULT ListBoxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The lines of the list box whose window extra slot 0 is `slot`, for the window tree; the
// caller holds the window manager's lock, which keeps the lines alive.
std::vector<std::wstring> ListBoxLinesOf(LONG_PTR slot);
