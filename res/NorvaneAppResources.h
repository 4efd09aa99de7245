// The launcher's compiled resources (NorvaneApp.rc), registered as the module of its executable.
#pragma once

#include "platform/kernel/WinTypes.h"

// The device path of the launcher's executable, the module that holds its resources.
inline constexpr const wchar_t* kNorvaneAppModulePath = L"\\Windows\\NorvaneApp.exe";

// Registers the resources (once; later calls return the same handle) and returns the module.
HINSTANCE RegisterNorvaneAppResources();
