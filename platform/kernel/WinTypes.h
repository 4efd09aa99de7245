// The basic types, handles and constants of the device's Win32 API, as the launcher's code
// names them. Everything in platform/ and above builds on these.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = int;
inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONGLONG = std::int64_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;

// The device is a Unicode platform: every text is wide.
using WCHAR = wchar_t;
using TCHAR = wchar_t;
using LPCTSTR = const wchar_t*;
using LPTSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using LPWSTR = wchar_t*;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;

#define _T(x) L##x
#define TEXT(x) L##x

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

using COLORREF = DWORD;
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) {
    return BYTE(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
    return BYTE((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
    return BYTE((c >> 16) & 0xFF);
}

using HANDLE = void*;
#define NORVANE_DECLARE_HANDLE(name)                                                               \
    struct name##__;                                                                               \
    using name = name##__*
NORVANE_DECLARE_HANDLE(HWND);
NORVANE_DECLARE_HANDLE(HDC);
NORVANE_DECLARE_HANDLE(HBITMAP);
NORVANE_DECLARE_HANDLE(HBRUSH);
NORVANE_DECLARE_HANDLE(HPEN);
NORVANE_DECLARE_HANDLE(HFONT);
NORVANE_DECLARE_HANDLE(HICON);
NORVANE_DECLARE_HANDLE(HMENU);
NORVANE_DECLARE_HANDLE(HINSTANCE);
NORVANE_DECLARE_HANDLE(HKEY);
NORVANE_DECLARE_HANDLE(HRGN);
NORVANE_DECLARE_HANDLE(HIMAGELIST);
#undef NORVANE_DECLARE_HANDLE
// As on the platform, any GDI handle (pen, brush, font, bitmap) converts to HGDIOBJ.
using HGDIOBJ = void*;
using HMODULE = HINSTANCE;
using HCURSOR = HICON;

inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// Error codes the Parts and the tests look at.
inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_PATH_NOT_FOUND = 3;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_BAD_FORMAT = 11;
inline constexpr LONG ERROR_NOT_READY = 21;

struct POINT {
    LONG x = 0;
    LONG y = 0;
};

struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
};

struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;
    WORD wDayOfWeek = 0;
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

constexpr WORD LOWORD(std::uintptr_t v) {
    return WORD(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
    return WORD((v >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(std::uintptr_t v) {
    return BYTE(v & 0xFF);
}
constexpr LONG MAKELONG(WORD lo, WORD hi) {
    return LONG(DWORD(lo) | (DWORD(hi) << 16));
}
#define MAKEINTRESOURCE(i) (reinterpret_cast<LPCTSTR>(static_cast<std::uintptr_t>(WORD(i))))
#define IS_INTRESOURCE(p) ((reinterpret_cast<std::uintptr_t>(p) >> 16) == 0)
