// The version-resource calls: the size and a copy of a module's VS_VERSIONINFO block, and the
// look-up of its fixed file information, translation table and string values by sub-block path.
#pragma once

#include "platform/kernel/WinTypes.h"

// Errors of the version calls beside those of WinTypes.h.
inline constexpr LONG ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr LONG ERROR_RESOURCE_DATA_NOT_FOUND = 1812; // a file with no resources
inline constexpr LONG ERROR_RESOURCE_TYPE_NOT_FOUND = 1813; // a module with no version block

inline constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;
inline constexpr DWORD VS_FFI_STRUCVERSION = 0x00010000;

// The fixed part of a version resource, as the block stores it.
struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52);

// The bytes a caller's buffer needs for GetFileVersionInfo of the file, 0 on failure. The file
// is a registered module, by its device path or its file name. A module without a version
// block gives ERROR_RESOURCE_TYPE_NOT_FOUND, another file that exists on the device
// ERROR_RESOURCE_DATA_NOT_FOUND (it carries no resources), a missing one ERROR_FILE_NOT_FOUND
// (ERROR_PATH_NOT_FOUND inside a card that is out). *handle (when given) is set to 0.
DWORD GetFileVersionInfoSize(LPCTSTR fileName, LPDWORD handle);
// Fills data with the file's version information (handle is ignored). The buffer begins with
// the block exactly as the module stores it (UTF-16 text); after it the call keeps a copy of
// every text value in the host's wide characters, which is where VerQueryValue points string
// queries. A buffer smaller than GetFileVersionInfoSize gives the block cut to fit, with the
// root's length lowered to match and no wide copies: only what was copied whole is found, and
// no string value is. A buffer too small to hold even a cut block fails with
// ERROR_INSUFFICIENT_BUFFER.
BOOL GetFileVersionInfo(LPCTSTR fileName, DWORD handle, DWORD size, LPVOID data);
// Finds subBlock in a buffer that GetFileVersionInfo filled: L"\\" is the VS_FIXEDFILEINFO
// (*length its size in bytes), L"\\VarFileInfo\\Translation" the language and code page
// words (*length in bytes), L"\\StringFileInfo\\040904b0\\FileVersion" a string (*buffer
// wide text with its terminating null, *length in characters with the null). Names match
// without regard to case. *buffer points into block and lives as long as it. FALSE for a name
// the block does not hold or a block that cannot be read; a block holding no value gives TRUE
// with *length 0.
BOOL VerQueryValue(LPCVOID block, LPCTSTR subBlock, LPVOID* buffer, UINT* length);
