#include "link/QCoprocChannel.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "link/CoprocBytes.h"
#include "link/CoprocProtocol.h"
#include "platform/kernel/KernelTime.h"

namespace {

constexpr int kAttempts = 10;
constexpr int kStrobeWaitPolls = 200;
// The most a single Receive moves; larger replies come in several chunks.
constexpr int kChunk = 4000;
// Bytes the co-processor clocks out before its reply.
constexpr int kReplyLead = 4;

BYTE Sum(const BYTE* bytes, std::uint64_t count) {
    BYTE sum = 0;
    for (std::uint64_t i = 0; i < count; ++i)
        sum = BYTE(sum + bytes[i]);
    return sum;
}

} // namespace

QCoprocChannel::QCoprocChannel() : m_pRxFrame(new BYTE[kRxFrameSize]) {}

QCoprocChannel::~QCoprocChannel() {
    delete[] m_pRxFrame;
}

void QCoprocChannel::SetChecksum(BYTE* frame) {
    const WORD length = Le16(frame + 2);
    if (length < 4)
        return;
    frame[length - 4] = Sum(frame, length - 4);
}

// The second block's sizes are taken as 64-bit sums, and its 4-byte length must itself lie
// inside the S bytes: a reply announcing more than fits is invalid, never read past its end.
bool QCoprocChannel::CheckReply(const BYTE* reply, int replySize) {
    const std::int64_t s = replySize;
    const std::uint64_t r = Le16(reply + 2);
    if (std::int64_t(r) > s || r < 4)
        return false;
    if (Sum(reply, r - 4) != reply[r - 4])
        return false;
    if (reply[1] != 1)
        return true;
    if (std::int64_t(r + 4) > s)
        return false;
    const std::uint64_t n = Le32(reply + r);
    if (std::int64_t(r + 4 + n + 1) > s)
        return false;
    return Sum(reply + r + 4, n) == reply[r + 4 + n];
}

WORD QCoprocChannel::ReplyStatus(const BYTE* reply) {
    return Le16(reply + 4);
}

// Only a reply that fails the check is retried, strobes and frame included; a wait that runs
// out ends the transaction at once.
DWORD QCoprocChannel::Transact(int sendLength, int replySize, BYTE* frame, BYTE* reply) {
    OperationLock hold(m_lock);
    SetChecksum(frame);
    for (int attemptsLeft = kAttempts;;) {
        --attemptsLeft;
        m_lines.PulseRequest();
        if (!m_lines.WaitReady(kStrobeWaitPolls))
            return COPROC_ERR_NOT_READY;
        m_port.Send(frame, unsigned(sendLength + 4));
        m_lines.PulseRelease();
        if (!m_lines.WaitReleased(kStrobeWaitPolls))
            return COPROC_ERR_NOT_RELEASED;
        ReadReply(replySize, reply);
        if (CheckReply(reply, replySize))
            return ReplyStatus(reply);
        if (attemptsLeft == 0)
            return COPROC_ERR_BAD_REPLY;
    }
}

// Clocks in S + 4 bytes in chunks of at most 4000 and keeps the last S.
void QCoprocChannel::ReadReply(int replySize, BYTE* reply) {
    int remaining = std::max(replySize, 0) + kReplyLead;
    int skip = kReplyLead;
    while (remaining > 0) {
        const int chunk = std::min(remaining, kChunk);
        m_port.Receive(m_pRxFrame, unsigned(chunk));
        std::memcpy(reply, m_pRxFrame + skip, std::size_t(chunk - skip));
        reply += chunk - skip;
        remaining -= chunk;
        skip = 0;
    }
}

bool QCoprocChannel::HoldReset() {
    OperationLock hold(m_lock);
    m_lines.HoldReset();
    return true;
}

// A handshake that succeeds lasts at least 1000 ms from the first poll; a pulse that ends
// 2000 ms or more after it puts the co-processor back into reset for another attempt.
bool QCoprocChannel::BootHandshake() {
    OperationLock hold(m_lock);
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_lines.ReleaseReset();
        Sleep(50);
        const DWORD t0 = GetTickCount();
        if (!m_lines.WaitReady(1000))
            return false;
        if (!m_lines.WaitReleased(2000))
            return false;
        const DWORD d = GetTickCount() - t0;
        if (d < 1000)
            Sleep(1000 - d);
        if (d < 2000)
            return true;
        m_lines.HoldReset();
        Sleep(200);
    }
    return false;
}
