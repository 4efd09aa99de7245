// The co-processor's multi-byte fields are little-endian: reading and writing them in frames and
// replies, for the link and for the launcher's readers of the query replies.
#pragma once

#include "platform/kernel/WinTypes.h"

inline WORD Le16(const BYTE* p) {
    return WORD(p[0] | p[1] << 8);
}

inline DWORD Le32(const BYTE* p) {
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}

inline void Put16(BYTE* p, DWORD v) {
    p[0] = BYTE(v);
    p[1] = BYTE(v >> 8);
}

inline void Put32(BYTE* p, DWORD v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}
