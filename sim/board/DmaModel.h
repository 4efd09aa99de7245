// Model of the PXA25x DMA controller's two channels that serve the NSSP port: channel 10 feeds
// the transmit FIFO from memory, channel 2 empties the receive FIFO into memory, both in
// no-descriptor mode. A transfer starts when the receive channel is started while the transmit
// channel runs; it moves LENGTH bytes each way, full duplex, and takes the wire time of
// LENGTH * 8 bits at the port's bit rate in device time. A transfer the hardware could not run
// as set up moves nothing, ends at once and is reported, so a wrong register value shows as a
// failing exchange, never as a hang.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel/WinTypes.h"
#include "sim/board/RegisterMap.h"

class DmaModel {
public:
    // The board around the channels: memory, the NSSP port and what is on its wire.
    class Wire {
    public:
        virtual ~Wire() = default;
        // Why the port cannot move data now, or empty.
        virtual std::string PortFault() = 0;
        virtual double BitRate() = 0;
        // Host memory behind [phys, phys + length), or null when that range is not inside one
        // page buffer.
        virtual std::uint8_t* Memory(DWORD phys, DWORD length) = 0;
        // The transmit bytes go out on the wire from startUs to endUs; returns as many bytes
        // received meanwhile.
        virtual std::vector<std::uint8_t> Exchange(const std::vector<std::uint8_t>& transmit,
                                                   std::uint64_t startUs, std::uint64_t endUs) = 0;
        virtual void TransferEnded(std::uint64_t endUs) = 0;
        virtual void Fault(const std::string& reason) = 0;
    };

    explicit DmaModel(Wire& wire);

    std::optional<DWORD> Read(DWORD offset, std::uint64_t nowUs);
    bool Write(DWORD offset, DWORD value, std::uint64_t nowUs);
    nlohmann::json Snapshot(std::uint64_t nowUs);

    // The device time at which the running transfer ends, if one runs.
    std::optional<std::uint64_t> CompletionDue() const;
    // Ends the running transfer at its end time: the received bytes land in memory, LENGTH has
    // counted down to 0, the addresses have advanced and RUN clears.
    void Complete();

private:
    struct Channel {
        DWORD dcsr = 0; // stored bits: RUN, NODESCFETCH, STOPIRQEN, ENDINTR, STARTINTR, BUSERRINTR
        DWORD dsadr = 0;
        DWORD dtadr = 0;
        DWORD dcmd = 0;
    };
    struct Transfer {
        std::uint64_t startUs = 0;
        std::uint64_t endUs = 0;
        DWORD length = 0;
        std::vector<std::uint8_t> received;
    };

    DWORD ReadStatus(const Channel& channel) const;
    void WriteStatus(Channel& channel, DWORD value);
    DWORD BytesDone() const;
    std::string ChannelFault() const;
    void Start();
    void Stop(Channel& channel);

    Wire& m_wire;
    Channel m_transmit; // channel 10
    Channel m_receive;  // channel 2
    DWORD m_drcmr15 = 0;
    DWORD m_drcmr16 = 0;
    std::optional<Transfer> m_transfer;
    std::uint64_t m_nowUs = 0;
    RegisterMap m_map;
};
