// The keypad's window message and key codes. The keypad thread posts WM_KEYPAD (wParam: the
// key code, lParam: the repeat count, 1 for a fresh press) to the UI thread, which re-posts it
// to the window that has the focus.
#pragma once

#include "platform/user/WinUser.h"

inline constexpr UINT WM_KEYPAD = WM_USER + 10;

inline constexpr BYTE KEY_SELECT = 0;
inline constexpr BYTE KEY_1 = 1;
inline constexpr BYTE KEY_2 = 2;
inline constexpr BYTE KEY_3 = 3;
inline constexpr BYTE KEY_ABOUT = 4;
inline constexpr BYTE KEY_UP = 5;
inline constexpr BYTE KEY_LEFT = 6;
inline constexpr BYTE KEY_RIGHT = 7;
inline constexpr BYTE KEY_DOWN = 8;
inline constexpr BYTE KEY_9 = 9;
inline constexpr BYTE KEY_10 = 10;
inline constexpr BYTE KEY_ENTER = 11;
// No key down; never posted.
inline constexpr BYTE KEY_NONE = 255;
