// What a board reports as it runs, for trace and waveform writers: line changes of the
// co-processor link, transfers, exchanges and faults, each at its device time (microseconds),
// in time order.
#pragma once

#include <cstdint>
#include <string>

#include "platform/kernel/WinTypes.h"
#include "sim/board/CoprocExchange.h"

class BoardObserver {
public:
    virtual ~BoardObserver() = default;

    // A link line (GPIO 23-27) as the board sees it: driven by the processor for 23-26, by the
    // co-processor for 27.
    virtual void OnLine(int /*gpio*/, bool /*level*/, std::uint64_t /*us*/) {}
    virtual void OnTransferStart(std::uint64_t /*us*/, DWORD /*bytes*/) {}
    virtual void OnTransferEnd(std::uint64_t /*us*/) {}
    virtual void OnExchange(const CoprocExchange& /*exchange*/) {}
    virtual void OnFault(std::uint64_t /*us*/, const std::string& /*reason*/) {}
};
