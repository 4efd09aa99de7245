#include "sim/board/DmaModel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/bsp/BoardSupport.h"

namespace {

// The interrupt flags a DCSR write clears with a 1.
constexpr DWORD kInterrupts = DCSR_ENDINTR | DCSR_STARTINTR | DCSR_BUSERRINTR;

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", unsigned(value));
    return text;
}

} // namespace

DmaModel::DmaModel(Wire& wire) : m_wire(wire) {
    std::vector<RegisterMap::Register> regs;
    regs.push_back({DCSR2, "DCSR2", [this] { return ReadStatus(m_receive); },
                    [this](DWORD v) { WriteStatus(m_receive, v); }});
    regs.push_back({DCSR10, "DCSR10", [this] { return ReadStatus(m_transmit); },
                    [this](DWORD v) { WriteStatus(m_transmit, v); }});
    // DRCMR: which channel serves a peripheral's request (MAPVLD, CHLNUM).
    regs.push_back({DRCMR15, "DRCMR15", [this] { return m_drcmr15; },
                    [this](DWORD v) { m_drcmr15 = v & (DRCMR_MAPVLD | DRCMR_CHLNUM); }});
    regs.push_back({DRCMR16, "DRCMR16", [this] { return m_drcmr16; },
                    [this](DWORD v) { m_drcmr16 = v & (DRCMR_MAPVLD | DRCMR_CHLNUM); }});
    // Channel 2 (receive): its target steps through memory while a transfer runs.
    regs.push_back({DSADR2, "DSADR2", [this] { return m_receive.dsadr; },
                    [this](DWORD v) { m_receive.dsadr = v; }});
    regs.push_back({DTADR2, "DTADR2", [this] { return m_receive.dtadr + BytesDone(); },
                    [this](DWORD v) { m_receive.dtadr = v; }});
    regs.push_back({DCMD2, "DCMD2", [this] { return m_receive.dcmd - BytesDone(); },
                    [this](DWORD v) { m_receive.dcmd = v; }});
    // Channel 10 (transmit): its source steps through memory while a transfer runs.
    regs.push_back({DSADR10, "DSADR10", [this] { return m_transmit.dsadr + BytesDone(); },
                    [this](DWORD v) { m_transmit.dsadr = v; }});
    regs.push_back({DTADR10, "DTADR10", [this] { return m_transmit.dtadr; },
                    [this](DWORD v) { m_transmit.dtadr = v; }});
    regs.push_back({DCMD10, "DCMD10", [this] { return m_transmit.dcmd - BytesDone(); },
                    [this](DWORD v) { m_transmit.dcmd = v; }});
    m_map = RegisterMap(std::move(regs));
}

std::optional<DWORD> DmaModel::Read(DWORD offset, std::uint64_t nowUs) {
    m_nowUs = nowUs;
    return m_map.Read(offset);
}

bool DmaModel::Write(DWORD offset, DWORD value, std::uint64_t nowUs) {
    m_nowUs = nowUs;
    return m_map.Write(offset, value);
}

nlohmann::json DmaModel::Snapshot(std::uint64_t nowUs) {
    m_nowUs = nowUs;
    return m_map.Snapshot();
}

std::optional<std::uint64_t> DmaModel::CompletionDue() const {
    if (!m_transfer)
        return std::nullopt;
    return m_transfer->endUs;
}

// Bytes moved so far by the running transfer, in whole words: what LENGTH has counted down by
// and the memory address has stepped by.
DWORD DmaModel::BytesDone() const {
    if (!m_transfer || m_nowUs <= m_transfer->startUs)
        return 0;
    const double share =
        double(m_nowUs - m_transfer->startUs) / double(m_transfer->endUs - m_transfer->startUs);
    const DWORD done = share >= 1.0 ? m_transfer->length : DWORD(share * m_transfer->length);
    return done & ~DWORD(3);
}

DWORD DmaModel::ReadStatus(const Channel& channel) const {
    return channel.dcsr | ((channel.dcsr & DCSR_RUN) ? 0 : DCSR_STOPSTATE);
}

void DmaModel::WriteStatus(Channel& channel, DWORD value) {
    const bool wasRunning = channel.dcsr & DCSR_RUN;
    const DWORD interrupts = channel.dcsr & kInterrupts & ~(value & kInterrupts);
    channel.dcsr = interrupts | (value & (DCSR_RUN | DCSR_NODESCFETCH | DCSR_STOPIRQEN));
    const bool running = channel.dcsr & DCSR_RUN;
    if (!wasRunning && running && &channel == &m_receive)
        Start();
    if (wasRunning && !running && m_transfer) {
        m_transfer.reset();
        Stop(m_transmit);
        Stop(m_receive);
        m_wire.Fault("a channel was stopped before its transfer ended; nothing was received");
        m_wire.TransferEnded(m_nowUs);
    }
}

void DmaModel::Stop(Channel& channel) {
    channel.dcsr &= ~DCSR_RUN;
    channel.dcmd &= ~DCMD_LENGTH;
}

std::string DmaModel::ChannelFault() const {
    if ((m_drcmr16 & (DRCMR_MAPVLD | DRCMR_CHLNUM)) != (DRCMR_MAPVLD | 10))
        return "NSSP transmit request is not mapped to channel 10 (DRCMR16 = " + Hex(m_drcmr16) +
               ")";
    if ((m_drcmr15 & (DRCMR_MAPVLD | DRCMR_CHLNUM)) != (DRCMR_MAPVLD | 2))
        return "NSSP receive request is not mapped to channel 2 (DRCMR15 = " + Hex(m_drcmr15) + ")";
    const struct {
        const Channel& channel;
        const char* name;
        DWORD stepBit;
        DWORD holdBit;
    } sides[] = {{m_transmit, "10", DCMD_INCSRCADDR, DCMD_INCTRGADDR},
                 {m_receive, "2", DCMD_INCTRGADDR, DCMD_INCSRCADDR}};
    for (const auto& side : sides) {
        const std::string ch = std::string("channel ") + side.name;
        const DWORD cmd = side.channel.dcmd;
        if (!(side.channel.dcsr & DCSR_NODESCFETCH))
            return ch + " is in descriptor mode (NODESCFETCH clear); this board fetches none";
        if (!(cmd & side.stepBit) || (cmd & side.holdBit))
            return ch + " must step its memory address and hold the port's (DCMD INCSRCADDR/" +
                   "INCTRGADDR = " + Hex(cmd) + ")";
        // The board does not tell the two flow-control bits apart: either makes the channel
        // wait for the request mapped to it.
        if (!(cmd & (DCMD_FLOWSRC | DCMD_FLOWTRG)))
            return ch + " does not wait for the port's requests (DCMD FLOWSRC/FLOWTRG clear)";
        if ((cmd & DCMD_WIDTH) != DCMD_WIDTH4)
            return ch + " does not move 4-byte words (DCMD WIDTH = " + Hex(cmd) + ")";
        if ((cmd & DCMD_SIZE) == 0)
            return ch + " has the reserved burst size 0 (DCMD SIZE)";
    }
    if (m_transmit.dtadr != SSDR_PHYS)
        return "channel 10 target is not the NSSP data register (DTADR10 = " +
               Hex(m_transmit.dtadr) + ")";
    if (m_receive.dsadr != SSDR_PHYS)
        return "channel 2 source is not the NSSP data register (DSADR2 = " + Hex(m_receive.dsadr) +
               ")";
    const DWORD length = m_transmit.dcmd & DCMD_LENGTH;
    if (length == 0 || length % 4 != 0)
        return "transfer length " + std::to_string(length) + " is not a whole number of words";
    if (length != (m_receive.dcmd & DCMD_LENGTH))
        return "channel lengths differ (" + std::to_string(length) + " out, " +
               std::to_string(m_receive.dcmd & DCMD_LENGTH) + " in)";
    return {};
}

void DmaModel::Start() {
    std::string reason;
    if (!(m_transmit.dcsr & DCSR_RUN))
        reason = "receive channel 2 started while transmit channel 10 is stopped: nothing "
                 "clocks the port";
    if (reason.empty())
        reason = ChannelFault();
    if (reason.empty())
        reason = m_wire.PortFault();
    const DWORD length = m_transmit.dcmd & DCMD_LENGTH;
    const std::uint8_t* source = reason.empty() ? m_wire.Memory(m_transmit.dsadr, length) : nullptr;
    if (reason.empty() && source == nullptr)
        reason = "channel 10 source " + Hex(m_transmit.dsadr) + " + " + std::to_string(length) +
                 " is not inside a page buffer";
    if (reason.empty() && m_wire.Memory(m_receive.dtadr, length) == nullptr)
        reason = "channel 2 target " + Hex(m_receive.dtadr) + " + " + std::to_string(length) +
                 " is not inside a page buffer";
    if (!reason.empty()) {
        Stop(m_transmit);
        Stop(m_receive);
        m_wire.Fault(reason);
        return;
    }
    const double bits = double(length) * 8.0;
    const auto wireUs = std::uint64_t(bits * 1e6 / m_wire.BitRate() + 0.999999);
    Transfer transfer;
    transfer.startUs = m_nowUs;
    transfer.endUs = m_nowUs + std::max<std::uint64_t>(wireUs, 1);
    transfer.length = length;
    transfer.received = m_wire.Exchange(std::vector<std::uint8_t>(source, source + length),
                                        transfer.startUs, transfer.endUs);
    transfer.received.resize(length);
    m_transfer = std::move(transfer);
}

void DmaModel::Complete() {
    if (!m_transfer)
        return;
    const Transfer transfer = std::move(*m_transfer);
    m_transfer.reset();
    if (std::uint8_t* target = m_wire.Memory(m_receive.dtadr, transfer.length))
        std::memcpy(target, transfer.received.data(), transfer.length);
    m_transmit.dsadr += transfer.length;
    m_receive.dtadr += transfer.length;
    for (Channel* channel : {&m_transmit, &m_receive}) {
        Stop(*channel);
        channel->dcsr |= DCSR_ENDINTR;
    }
    m_wire.TransferEnded(transfer.endUs);
}
