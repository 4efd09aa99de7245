#include "sim/board/NsspModel.h"

namespace {

// SSCR0 fields.
constexpr DWORD kDssMask = 0x0000000F; // data size select, size - 1 (with EDSS: size - 17)
constexpr DWORD kFrfMask = 0x00000030; // frame format
constexpr DWORD kFrfTi = 0x00000010;   // TI synchronous serial
constexpr DWORD kSse = 0x00000080;     // port enable
constexpr int kScrShift = 8;           // serial clock rate, bits 8-19
constexpr DWORD kScrMask = 0x000FFF00;
constexpr DWORD kEdss = 0x00100000; // extended data size
// SSCR1 fields.
constexpr DWORD kLbm = 0x00000004;     // loop-back
constexpr DWORD kRsre = 0x00100000;    // receive DMA service request enable
constexpr DWORD kTsre = 0x00200000;    // transmit DMA service request enable
constexpr DWORD kSfrmdir = 0x01000000; // frame is an input (slave)
constexpr DWORD kSclkdir = 0x02000000; // clock is an input (slave)
// SSSR flags.
constexpr DWORD kTnf = 0x04; // transmit FIFO not full
constexpr DWORD kRne = 0x08; // receive FIFO not empty
constexpr DWORD kBsy = 0x10; // busy

} // namespace

NsspModel::NsspModel() {
    m_map = RegisterMap({
        {0x00, "SSCR0", [this] { return m_sscr0; }, [this](DWORD v) { m_sscr0 = v; }},
        {0x04, "SSCR1", [this] { return m_sscr1; }, [this](DWORD v) { m_sscr1 = v; }},
        // SSSR: flags only; the sticky overrun bit is never set here (DMA keeps up), so a
        // write has nothing to clear.
        {0x08, "SSSR",
         [this] { return kTnf | (m_receive.empty() ? 0 : kRne) | (m_busy ? kBsy : 0); }, nullptr},
        // SSDR: a read takes the oldest received word (0 when empty); a write is counted.
        {0x10, "SSDR",
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
    if (!(m_sscr0 & kSse))
        return "NSSP port is disabled (SSCR0.SSE)";
    if ((m_sscr0 & kFrfMask) != kFrfTi)
        return "NSSP frame format is not TI synchronous serial (SSCR0.FRF)";
    const unsigned bits = (m_sscr0 & kDssMask) + 1 + ((m_sscr0 & kEdss) ? 16 : 0);
    if (bits != 32)
        return "NSSP data size is " + std::to_string(bits) + " bits, not 32 (SSCR0.DSS/EDSS)";
    if (m_sscr1 & (kSclkdir | kSfrmdir))
        return "NSSP is not the clock and frame master (SSCR1.SCLKDIR/SFRMDIR)";
    if (m_sscr1 & kLbm)
        return "NSSP is in loop-back mode (SSCR1.LBM)";
    if ((m_sscr1 & (kRsre | kTsre)) != (kRsre | kTsre))
        return "NSSP DMA service requests are off (SSCR1.RSRE/TSRE)";
    return {};
}

double NsspModel::BitRate() const {
    return kInputClockHz / double(((m_sscr0 & kScrMask) >> kScrShift) + 1);
}

void NsspModel::PreloadReceiveFifo(const std::vector<DWORD>& words) {
    for (DWORD word : words)
        if (m_receive.size() < kFifoWords)
            m_receive.push_back(word);
}

std::vector<std::uint8_t> NsspModel::TakeReceiveFifo() {
    std::vector<std::uint8_t> bytes;
    for (DWORD word : m_receive)
        for (int i = 0; i < 4; ++i)
            bytes.push_back(std::uint8_t(word >> (8 * i)));
    m_receive.clear();
    return bytes;
}
