// Conversion of the device's ANSI text (the system code page) to wide text. The device's ANSI
// code page is Traditional Chinese, code page 950 (Big5 with ASCII below 0x80).
#pragma once

#include "platform/kernel/WinTypes.h"

inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_UTF8 = 65001;

// The device's ANSI code page: 950.
UINT GetACP();

// As the platform's MultiByteToWideChar: converts cbMultiByte bytes (-1: up to and including the
// terminating zero) of code page codePage into wide characters. With cchWideChar 0 it returns the
// number of wide characters needed; otherwise the number written, or 0 when the buffer is too
// small. Bytes that are not valid in the code page become U+FFFD.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int cbMultiByte,
                        LPWSTR wideChar, int cchWideChar);
