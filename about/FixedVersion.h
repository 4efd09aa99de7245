// The fixed file version of a module or file, read from its version resource.
#pragma once

#include "platform/kernel/VersionInfo.h"
#include "platform/kernel/WinTypes.h"

// The fixed part of the file's version resource (at most sizeof(VS_FIXEDFILEINFO) bytes) into
// out. False, with out all zero, when the file has no version resource or its root block
// cannot be read.
bool GetFileFixedVersion(VS_FIXEDFILEINFO& out, LPCTSTR path);
// The same for a module (NULL: the executable), by its file name.
bool GetExeFixedVersion(VS_FIXEDFILEINFO& out, HMODULE module);
