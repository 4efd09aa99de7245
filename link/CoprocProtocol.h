// The command vocabulary of the co-processor link: command codes, reply sizes and the
// transport's own status codes (101-103; any other non-zero status is the co-processor's).
#pragma once

#include "platform/kernel/WinTypes.h"

inline constexpr WORD CMD_LOAD_HEADER = 0x40;
inline constexpr WORD CMD_LOAD_BLOCK = 0x60;
inline constexpr WORD CMD_GET_VERSION = 0x61;
inline constexpr WORD CMD_GET_BATTERY = 0x62;
inline constexpr WORD CMD_GET_CLOCK = 0x63;
inline constexpr WORD CMD_GET_IDENTITY = 0x64;
inline constexpr WORD CMD_START = 0x71;

// Reply sizes S of the four queries: a caller's reply buffer holds at least this many bytes.
inline constexpr int COPROC_REPLY_VERSION = 18;
inline constexpr int COPROC_REPLY_BATTERY = 16;
inline constexpr int COPROC_REPLY_CLOCK = 48;
inline constexpr int COPROC_REPLY_IDENTITY = 14;

// After the request strobe the ready line did not rise within 200 polls.
inline constexpr DWORD COPROC_ERR_NOT_READY = 101;
// After the frame and the release strobe the ready line did not fall within 200 polls.
inline constexpr DWORD COPROC_ERR_NOT_RELEASED = 102;
// Ten replies in a row failed the check.
inline constexpr DWORD COPROC_ERR_BAD_REPLY = 103;
