// The framework's file object, for reading whole files from the device's storage: the catalogue
// and the co-processor images. Paths are device paths (DeviceStorage); the handle closes with
// the object.
#pragma once

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
    // than reading).
    BOOL Open(LPCTSTR fileName, UINT openFlags);
    // Reads up to count bytes at the current position; the number read, 0 at the end of the
    // file or when the file is not open.
    UINT Read(void* buffer, UINT count);
    // The file's length in bytes (0 when not open).
    DWORD GetLength() const;
    void Close();

private:
    int m_fd = -1;
};
