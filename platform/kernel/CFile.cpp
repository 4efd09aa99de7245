#include "platform/kernel/CFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/kernel/DeviceStorage.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/ThreadControl.h"

namespace {

DWORD ErrorOfOpen(int error) {
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    default:
        return ERROR_ACCESS_DENIED;
    }
}

} // namespace

CFile::~CFile() {
    Close();
}

BOOL CFile::Open(LPCTSTR fileName, UINT openFlags) {
    PlatformCheckpoint();
    Close();
    if ((openFlags & ~UINT(shareDenyNone | typeBinary)) != modeRead) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The mount is taken before the path is looked up: a card pulled out from here on fails
    // the file's reads even when its host file was opened.
    const CardSlot::Mount mount = CardSlot::Current();
    DWORD refusal = 0;
    const auto path = DeviceStorage::Resolve(fileName, &refusal);
    if (!path) {
        SetLastError(refusal);
        return FALSE;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(path->parent_path(), ec)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    const int fd = ::open(path->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetLastError(ErrorOfOpen(errno));
        return FALSE;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    m_fd = fd;
    if (DeviceStorage::IsOnCard(fileName))
        m_cardMount = mount;
    return TRUE;
}

bool CFile::CardStillIn() const {
    if (m_cardMount && !CardSlot::IsMounted(*m_cardMount)) {
        SetLastError(ERROR_NOT_READY);
        return false;
    }
    return true;
}

UINT CFile::Read(void* buffer, UINT count) {
    PlatformCheckpoint();
    if (m_fd < 0 || !buffer || !CardStillIn())
        return 0;
    auto* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += UINT(n);
    }
    return done;
}

DWORD CFile::GetLength() const {
    PlatformCheckpoint();
    struct stat st {};
    if (m_fd < 0 || !CardStillIn() || ::fstat(m_fd, &st) != 0)
        return 0;
    // The device's files are far below 4 GiB; a larger host file reads as the largest length.
    return st.st_size > 0xFFFFFFFF ? DWORD(0xFFFFFFFF) : DWORD(st.st_size);
}

void CFile::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_cardMount.reset();
}
