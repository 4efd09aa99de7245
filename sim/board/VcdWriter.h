// Writes the co-processor link's lines as a VCD waveform (GPIO 23 reset, 24 request strobe,
// 25 release strobe, 26, 27 ready) with a marker and the byte count of every transfer, for
// GTKWave and the like. The simulator's --vcd FILE.
#pragma once

#include <cstdint>
#include <ostream>

#include "sim/board/BoardObserver.h"

class VcdWriter : public BoardObserver {
public:
    // Writes the header at once.
    explicit VcdWriter(std::ostream& out);

    void OnLine(int gpio, bool level, std::uint64_t us) override;
    void OnTransferStart(std::uint64_t us, DWORD bytes) override;
    void OnTransferEnd(std::uint64_t us) override;

private:
    void Stamp(std::uint64_t us);

    std::ostream& m_out;
    std::uint64_t m_lastNs = 0;
    bool m_stamped = false;
};
