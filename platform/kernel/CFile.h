// The framework's file object, for reading whole files from the device's storage: the catalogue
// and the co-processor images. Paths are device paths (DeviceStorage); the handle closes with
// the object. A file opened from the card reads only while that card stays in its slot.
#pragma once

#include <optional>

#include "platform/kernel/CardSlot.h"
#include "platform/kernel/WinTypes.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        shareDenyNone = 0x0040,
        typeBinary = 0x8000,
    };

    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens a device path for reading. FALSE on failure, with GetLastError() telling why:
    // ERROR_FILE_NOT_FOUND (missing or refused path), ERROR_PATH_NOT_FOUND (missing folder),
    // ERROR_ACCESS_DENIED (a folder, or unreadable), ERROR_INVALID_PARAMETER (a mode other
    // than reading); a path on a card that is out is ERROR_PATH_NOT_FOUND (DeviceStorage).
    BOOL Open(LPCTSTR fileName, UINT openFlags);
    // Reads up to count bytes at the current position; the number read, 0 at the end of the
    // file or when the file is not open. A file whose card was pulled out after it was opened
    // reads 0 bytes with ERROR_NOT_READY from then on, also once a card is back in.
    UINT Read(void* buffer, UINT count);
    // The file's length in bytes (0 when not open, or with ERROR_NOT_READY when its card went).
    DWORD GetLength() const;
    void Close();

private:
    // False, with the last error set, when the file's card is no longer the one in the slot.
    bool CardStillIn() const;

    int m_fd = -1;
    std::optional<CardSlot::Mount> m_cardMount; // for a file on the card
};
