// The protocol side of the co-processor link: frames with an 8-bit additive checksum, the
// checked reply, one transaction with its strobes, waits and retries, and the reset handshake.
// One lock is held for each whole operation, so the start-up thread and the UI thread can
// never interleave their exchanges.
#pragma once

#include "link/QHandshakeLines.h"
#include "link/QNsspPort.h"
#include "platform/kernel/CCriticalSection.h"
#include "platform/kernel/WinTypes.h"

class QCoprocChannel {
public:
    // Size of the staging buffer one received chunk lands in.
    static constexpr int kRxFrameSize = 4004;

    QCoprocChannel();
    virtual ~QCoprocChannel();
    QCoprocChannel(const QCoprocChannel&) = delete;
    QCoprocChannel& operator=(const QCoprocChannel&) = delete;

    // Writes the checksum of the frame's first L - 4 bytes at offset L - 4 (L = its Length).
    static void SetChecksum(BYTE* frame);
    // True when a reply of expected size S is whole: its length fits, its checksum and that of
    // an announced second block are right, and the second block lies inside the S bytes.
    static bool CheckReply(const BYTE* reply, int replySize);
    static WORD ReplyStatus(const BYTE* reply);

    // One exchange: sends the frame (sendLength + 4 bytes; frame holds that many) and reads a
    // reply of replySize bytes into reply, retrying while replies fail the check. Returns the
    // reply's Status, or COPROC_ERR_NOT_READY / _NOT_RELEASED / _BAD_REPLY.
    DWORD Transact(int sendLength, int replySize, BYTE* frame, BYTE* reply);

    // Drives the reset line low; true.
    bool HoldReset();
    // Releases the reset and waits for the co-processor's boot pulse: true when it came and
    // ended in time (up to three attempts).
    bool BootHandshake();

protected:
    // Holds the link's lock for the scope of one operation (it may nest).
    class OperationLock {
    public:
        explicit OperationLock(CCriticalSection& section) : m_section(section) { m_section.Lock(); }
        ~OperationLock() { m_section.Unlock(); }
        OperationLock(const OperationLock&) = delete;
        OperationLock& operator=(const OperationLock&) = delete;

    private:
        CCriticalSection& m_section;
    };

    QNsspPort m_port;
    QHandshakeLines m_lines;
    BYTE* m_pRxFrame;
    CCriticalSection m_lock;

private:
    void ReadReply(int replySize, BYTE* reply);
};
