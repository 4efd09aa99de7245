// Model of the PXA25x network SSP port (NSSP) as the co-processor link drives it: control
// registers 0 and 1, the status register and the data register with its receive FIFO. Data
// moves only by DMA (the board's DmaModel); this model says whether the port is set up to
// move it, and at which bit rate.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel/WinTypes.h"
#include "sim/board/RegisterMap.h"

class NsspModel {
public:
    // The port's input clock; the serial clock is this divided by SCR + 1.
    static constexpr double kInputClockHz = 13e6;
    static constexpr std::size_t kFifoWords = 16;

    NsspModel();

    std::optional<DWORD> Read(DWORD offset) { return m_map.Read(offset); }
    bool Write(DWORD offset, DWORD value) { return m_map.Write(offset, value); }
    nlohmann::json Snapshot() const { return m_map.Snapshot(); }

    // Why the port cannot run a 32-bit DMA transfer as clock master now, or empty when it can.
    // clockEnabled: the unit clock from CKEN.
    std::string TransferFault(bool clockEnabled) const;
    double BitRate() const;

    // Words left in the receive FIFO (by a boot loader, say): a DMA transfer that starts with
    // them reads them first.
    void PreloadReceiveFifo(const std::vector<DWORD>& words);
    // Takes the words a transfer's receive side reads before the wire's (as bytes, in memory
    // order).
    std::vector<std::uint8_t> TakeReceiveFifo();
    void SetBusy(bool busy) { m_busy = busy; }
    // Words the CPU wrote to SSDR itself (the model shifts no CPU-written word: outside a DMA
    // exchange the co-processor clocks nothing back that anyone keeps).
    unsigned CpuWrites() const { return m_cpuWrites; }

private:
    DWORD m_sscr0 = 0;
    DWORD m_sscr1 = 0;
    std::deque<DWORD> m_receive;
    bool m_busy = false;
    unsigned m_cpuWrites = 0;
    RegisterMap m_map;
};
