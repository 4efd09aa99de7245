// The program modules' resources: each module (the launcher's executable, or a test's own)
// registers the tables that the resource compiler generated for it, and the platform's
// look-ups find strings, dialog templates and byte resources in them by module handle.
#pragma once

#include <optional>
#include <string_view>

#include "platform/kernel/ResourceModuleData.h"
#include "platform/kernel/WinTypes.h"

struct HRSRC__;
using HRSRC = HRSRC__*;
using HGLOBAL = HANDLE;

#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)
#define RT_VERSION MAKEINTRESOURCE(16)

// Makes the module known under its device path (L"\\Windows\\NorvaneApp.exe") and returns its
// handle. The first module registered whose path ends in ".exe" is the process's executable.
// Registering the same tables again returns the same handle; other tables under a path that
// is taken already give NULL.
HINSTANCE RegisterResourceModule(LPCTSTR modulePath, const ResourceModuleData& data);

// NULL names the process's executable; otherwise the full device path or the file name, in
// any case. NULL when no such module is registered.
HMODULE GetModuleHandle(LPCTSTR moduleName);
// Copies the module's device path (module NULL: the executable) with its terminating null and
// returns its length. A buffer too small receives the path cut to size - 1 characters and a
// null, and the return value is size. 0 for an unknown module.
DWORD GetModuleFileName(HMODULE module, LPTSTR fileName, DWORD size);

// The framework's module handles: the executable, and the module that resources are loaded
// from (the executable unless AfxSetResourceHandle chose another).
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);

// The string table entry id of the module, or nothing.
std::optional<std::wstring_view> FindStringResource(HINSTANCE module, UINT id);
// The dialog template named by an ordinal (MAKEINTRESOURCE) or a name, or NULL.
const DialogTemplate* FindDialogTemplate(HINSTANCE module, LPCTSTR name);

// Byte resources (bitmaps, icons, waves, the version block; see RawResource): the platform's
// find / load / lock / size sequence. Names and types are ordinals (RT_BITMAP, ...) or texts
// (L"WAVE"), compared without regard to case. The data stays valid for the life of the process.
HRSRC FindResource(HMODULE module, LPCTSTR name, LPCTSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
