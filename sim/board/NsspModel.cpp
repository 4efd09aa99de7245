#include "sim/board/NsspModel.h"

#include "platform/bsp/BoardSupport.h"
#include "sim/board/LittleEndian.h"

NsspModel::NsspModel() {
    m_map = RegisterMap({
        {SSCR0, "SSCR0", [this] { return m_sscr0; }, [this](DWORD v) { m_sscr0 = v; }},
        {SSCR1, "SSCR1", [this] { return m_sscr1; }, [this](DWORD v) { m_sscr1 = v; }},
        // SSSR: flags only; the sticky overrun bit is never set here (DMA keeps up), so a
        // write has nothing to clear.
        {SSSR, "SSSR",
         [this] { return SSSR_TNF | (m_receive.empty() ? 0 : SSSR_RNE) | (m_busy ? SSSR_BSY : 0); },
         nullptr},
        // SSDR: a read takes the oldest received word (0 when empty); a write is counted.
        {SSDR, "SSDR",
         [this] {
             if (m_receive.empty())
                 return DWORD(0);
             const DWORD word = m_receive.front();
             m_receive.pop_front();
             return word;
         },
         [this](DWORD) { ++m_cpuWrites; }, false},
    });
}

std::string NsspModel::TransferFault(bool clockEnabled) const {
    if (!clockEnabled)
        return "NSSP unit clock is off (CKEN bit 9)";
    if (!(m_sscr0 & SSCR0_SSE))
        return "NSSP port is disabled (SSCR0.SSE)";
    if ((m_sscr0 & SSCR0_FRF) != SSCR0_FRF_TI)
        return "NSSP frame format is not TI synchronous serial (SSCR0.FRF)";
    const unsigned bits = (m_sscr0 & SSCR0_DSS) + 1 + ((m_sscr0 & SSCR0_EDSS) ? 16 : 0);
    if (bits != 32)
        return "NSSP data size is " + std::to_string(bits) + " bits, not 32 (SSCR0.DSS/EDSS)";
    if (m_sscr1 & (SSCR1_SCLKDIR | SSCR1_SFRMDIR))
        return "NSSP is not the clock and frame master (SSCR1.SCLKDIR/SFRMDIR)";
    if (m_sscr1 & SSCR1_LBM)
        return "NSSP is in loop-back mode (SSCR1.LBM)";
    if ((m_sscr1 & (SSCR1_RSRE | SSCR1_TSRE)) != (SSCR1_RSRE | SSCR1_TSRE))
        return "NSSP DMA service requests are off (SSCR1.RSRE/TSRE)";
    return {};
}

double NsspModel::BitRate() const {
    return kInputClockHz / double(((m_sscr0 & SSCR0_SCR) >> SSCR0_SCR_SHIFT) + 1);
}

void NsspModel::PreloadReceiveFifo(const std::vector<DWORD>& words) {
    for (DWORD word : words)
        if (m_receive.size() < kFifoWords)
            m_receive.push_back(word);
}

std::vector<std::uint8_t> NsspModel::TakeReceiveFifo() {
    std::vector<std::uint8_t> bytes(4 * m_receive.size());
    for (std::size_t i = 0; i < m_receive.size(); ++i)
        LittleEndian::Put32(&bytes[4 * i], m_receive[i]);
    m_receive.clear();
    return bytes;
}
