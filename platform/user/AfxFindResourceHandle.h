// The framework's resource-handle lookup: which module a resource is loaded from.
#pragma once

#include "platform/kernel/WinTypes.h"

// The module that holds resource name of type type: the resource module (AfxGetResourceHandle)
// when it has it, else the executable when that has it, else the resource module, so that a
// failed look-up fails in the usual place.
HINSTANCE AfxFindResourceHandle(LPCTSTR name, LPCTSTR type);
