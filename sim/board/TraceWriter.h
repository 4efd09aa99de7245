// Writes the co-processor link's trace as text, one line per exchange (device time, command
// name and code, frame length, first bytes in hex, checksum verdict, reply status or why there
// was none) and one per board fault. The simulator's --trace FILE.
#pragma once

#include <ostream>

#include "sim/board/BoardObserver.h"

class TraceWriter : public BoardObserver {
public:
    explicit TraceWriter(std::ostream& out) : m_out(out) {}

    void OnExchange(const CoprocExchange& exchange) override;
    void OnFault(std::uint64_t us, const std::string& reason) override;

private:
    std::ostream& m_out;
};
