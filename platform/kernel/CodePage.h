// Conversion of the device's ANSI text (the system code page) to wide text. The device's ANSI
// code page is Traditional Chinese, code page 950 (Big5 with ASCII below 0x80).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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

// The device's wide text (WCHAR, UTF-16) as bytes, for data that crosses between programs: each
// character as one or two little-endian code units (a surrogate pair above U+FFFF), followed by
// a terminating zero unit.
std::vector<BYTE> WideToUtf16Le(const std::wstring& text);

// The inverse: code units read from count bytes, ending at the first zero unit or at the last
// whole unit, whichever comes first (an odd last byte is not read). A surrogate that is not part
// of a pair becomes U+FFFD. No bytes give an empty string.
std::wstring Utf16LeToWide(const BYTE* bytes, std::size_t count);
