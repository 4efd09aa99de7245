#include "link/QCoprocLink.h"

#include <vector>

#include "link/CoprocBytes.h"
#include "link/CoprocProtocol.h"
#include "platform/kernel/CFile.h"
#include "platform/kernel/KernelTime.h"

namespace {

constexpr WORD kHeaderLength = 12;
constexpr DWORD kHeaderWord = 0x00801000;
constexpr WORD kBlockLength = 4016;
constexpr UINT kBlockData = 4000;
constexpr WORD kStartLength = 12;
constexpr DWORD kStartWord = 0x80000000;
constexpr int kLoadReplySize = 10;
constexpr WORD kQueryLength = 8;

} // namespace

QCoprocLink& QCoprocLink::Instance() {
    static QCoprocLink link;
    return link;
}

DWORD QCoprocLink::Query(WORD command, int replySize, BYTE* reply) {
    BYTE frame[kQueryLength + 4] = {};
    Put16(frame, command);
    Put16(frame + 2, kQueryLength);
    return Transact(kQueryLength, replySize, frame, reply);
}

DWORD QCoprocLink::GetFirmwareVersion(BYTE* reply) {
    return Query(CMD_GET_VERSION, COPROC_REPLY_VERSION, reply);
}

DWORD QCoprocLink::GetBatteryStatus(BYTE* reply) {
    return Query(CMD_GET_BATTERY, COPROC_REPLY_BATTERY, reply);
}

DWORD QCoprocLink::GetClock(BYTE* reply) {
    return Query(CMD_GET_CLOCK, COPROC_REPLY_CLOCK, reply);
}

DWORD QCoprocLink::GetIdentity(BYTE* reply) {
    return Query(CMD_GET_IDENTITY, COPROC_REPLY_IDENTITY, reply);
}

bool QCoprocLink::ResetAndSync() {
    OperationLock hold(m_lock);
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_lines.HoldReset();
        Sleep(50);
        if (BootHandshake()) {
            Sleep(50);
            return true;
        }
        Sleep(50);
    }
    return false;
}

bool QCoprocLink::DownloadImage(LPCTSTR path) {
    OperationLock hold(m_lock);
    CFile file;
    if (!file.Open(path, CFile::modeRead))
        return false;
    const DWORD fileLength = file.GetLength();

    BYTE reply[kLoadReplySize];
    BYTE header[kHeaderLength + 4] = {};
    Put16(header, CMD_LOAD_HEADER);
    Put16(header + 2, kHeaderLength);
    Put32(header + 4, kHeaderWord);
    if (LOWORD(Transact(kHeaderLength, kLoadReplySize, header, reply)) != 0)
        return false;

    // One block frame for the whole image: the data area past Count keeps the previous
    // block's bytes, and the checksum covers them as they are.
    std::vector<BYTE> block(kBlockLength + 4, 0);
    Put16(block.data(), CMD_LOAD_BLOCK);
    Put16(block.data() + 2, kBlockLength);
    DWORD offset = 0;
    for (;;) {
        const UINT count = file.Read(block.data() + 10, kBlockData);
        if (count == 0)
            break;
        Put32(block.data() + 4, offset);
        Put16(block.data() + 8, count);
        if (LOWORD(Transact(kBlockLength, kLoadReplySize, block.data(), reply)) != 0)
            return false;
        offset += count;
    }
    // A file cut short while it was read must not be started as if it were whole.
    if (offset != fileLength)
        return false;

    // The start frame has no reply and no release wait; only its 12 bytes are handed over.
    BYTE start[kStartLength] = {};
    Put16(start, CMD_START);
    Put16(start + 2, kStartLength);
    Put32(start + 4, kStartWord);
    SetChecksum(start);
    m_lines.PulseRequest();
    if (m_lines.WaitReady(200))
        m_port.Send(start, kStartLength);
    m_lines.PulseRelease();
    return true;
}
