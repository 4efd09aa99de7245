#include "platform/kernel/LastError.h"

namespace {
thread_local DWORD t_lastError = 0;
} // namespace

DWORD GetLastError() {
    return t_lastError;
}

void SetLastError(DWORD errorCode) {
    t_lastError = errorCode;
}
