// The gallery's compiled resources (Gallery.rc), registered as the module of its executable.
#pragma once

#include "platform/kernel/WinTypes.h"

// The device path of the gallery's executable, the module that holds its resources.
inline constexpr const wchar_t* kGalleryModulePath = L"\\Windows\\NorvaneGallery.exe";

// Registers the resources (once; later calls return the same handle) and returns the module.
HINSTANCE RegisterGalleryResources();
