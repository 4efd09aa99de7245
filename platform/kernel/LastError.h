// The calling thread's last-error code, as the platform keeps it: each thread has its own, a
// failing call sets it and a successful call leaves it as it was.
#pragma once

#include "platform/kernel/WinTypes.h"

DWORD GetLastError();
void SetLastError(DWORD errorCode);
