#include "link/QNsspPort.h"

#include <cstring>

#include "platform/bsp/BoardSupport.h"
#include "platform/kernel/KernelTime.h"

namespace {

constexpr DWORD kBufferSize = QNsspPort::kPageBufferSize;

} // namespace

QNsspPort::QNsspPort() {
    AllocBuffers();
    InitPort();
    DrainRx();
    InitDma();
}

// The page buffers outlive the link: they are made once per device and found by name later.
void QNsspPort::AllocBuffers() {
    if (!DoesRamVariableExist(L"DMA_TX"))
        CreatePageBufferRamVariable(L"DMA_TX", kBufferSize);
    if (!DoesRamVariableExist(L"DMA_RX"))
        CreatePageBufferRamVariable(L"DMA_RX", kBufferSize);
    GetPageBufferRamVariablePtr(L"DMA_RX", &m_pRx, &m_rxPhys);
    GetPageBufferRamVariablePtr(L"DMA_TX", &m_pTx, &m_txPhys);
}

// The port is the clock master with 32-bit TI frames; its unit clock stays off here.
void QNsspPort::InitPort() {
    Reg(gXScaleGpioRegs, GPDR2) = 0x000FFFFF;    // GPIO 64-83 outputs, 84 input
    Reg(gXScaleGpioRegs, GAFR2_U) &= 0x00000003; // GPIO 80 keeps its function
    Reg(gXScaleGpioRegs, GAFR2_U) |= 0x00000254; // 81-83 function 1, 84 function 2
    Reg(gXScaleNsspRegs, SSCR0) &= ~DWORD(0x80); // SSE off
    Reg(gXScaleNsspRegs, SSCR0) &= 0xFFF000FF;   // SCR = 0
    Reg(gXScaleNsspRegs, SSCR0) &= ~DWORD(0x30);
    Reg(gXScaleNsspRegs, SSCR0) |= 0x10;               // FRF = TI synchronous serial
    Reg(gXScaleNsspRegs, SSCR0) |= 0x0010000F;         // DSS = 15 with EDSS: 32-bit words
    Reg(gXScaleNsspRegs, SSCR1) &= ~DWORD(0x02000000); // SCLKDIR = 0: the port drives the clock
    Reg(gXScaleNsspRegs, SSCR0) = Reg(gXScaleNsspRegs, SSCR0);
    Reg(gXScaleNsspRegs, SSCR1) = 0x00300000;  // RSRE and TSRE: DMA service requests
    Reg(gXScaleNsspRegs, SSCR1) |= 0x00000C00; // RFT = 3
    Reg(gXScaleNsspRegs, SSCR0) |= 0x80;       // SSE on
}

// Words left in the receive FIFO would come first in the next transfer's reply.
void QNsspPort::DrainRx() {
    Reg(gXScaleClockRegs, CKEN) |= CKEN_NSSP;
    while (Reg(gXScaleNsspRegs, SSSR) & SSSR_RNE) {
        Reg(gXScaleNsspRegs, SSDR) = 0;
        (void)DWORD(Reg(gXScaleNsspRegs, SSDR));
    }
    Reg(gXScaleClockRegs, CKEN) &= ~CKEN_NSSP;
}

// Channel 10 serves the NSSP transmit request, channel 2 the receive request; both run
// without descriptors, 16-byte bursts of 4-byte words.
void QNsspPort::InitDma() {
    Reg(gXScaleDmaRegs, DRCMR16) = 0x8A;
    Reg(gXScaleDmaRegs, DRCMR15) = 0x82;
    Reg(gXScaleDmaRegs, DCSR10) |= DCSR_NODESCFETCH;
    Reg(gXScaleDmaRegs, DTADR10) = SSDR_PHYS;
    Reg(gXScaleDmaRegs, DCMD10) = 0x8002C000;  // INCSRCADDR, 16-byte bursts, 4-byte width
    Reg(gXScaleDmaRegs, DCMD10) |= 0x20000000; // FLOWSRC
    Reg(gXScaleDmaRegs, DCSR2) |= DCSR_NODESCFETCH;
    Reg(gXScaleDmaRegs, DSADR2) = SSDR_PHYS;
    Reg(gXScaleDmaRegs, DCMD2) = 0x4002C000;  // INCTRGADDR, 16-byte bursts, 4-byte width
    Reg(gXScaleDmaRegs, DCMD2) |= 0x10000000; // FLOWTRG
}

void QNsspPort::Send(const void* data, unsigned n) {
    if (n > kBufferSize)
        return;
    if (m_pTx != nullptr)
        std::memcpy(m_pTx, data, n);
    Transfer(n);
}

void QNsspPort::Receive(void* dest, unsigned n) {
    if (n > kBufferSize) {
        std::memset(dest, 0, n);
        return;
    }
    Transfer(n);
    if (m_pRx != nullptr)
        std::memcpy(dest, m_pRx, n);
    else
        std::memset(dest, 0, n);
}

// The length is ORed into DCMD's LENGTH field, which the controller has counted down to 0 by
// the end of the previous transfer. The wait has no time-out: as clock master the port shifts
// every word, so the receive channel always finishes.
void QNsspPort::Transfer(unsigned n) {
    Reg(gXScaleClockRegs, CKEN) |= CKEN_NSSP;
    DWORD length = (DWORD(n) + 15) & ~DWORD(15);
    Reg(gXScaleDmaRegs, DCSR10) &= ~DCSR_RUN;
    Reg(gXScaleDmaRegs, DSADR10) = m_txPhys;
    length &= 0x1FFC;
    Reg(gXScaleDmaRegs, DCMD10) |= length;
    Reg(gXScaleDmaRegs, DCSR2) &= ~DCSR_RUN;
    Reg(gXScaleDmaRegs, DTADR2) = m_rxPhys;
    Reg(gXScaleDmaRegs, DCMD2) |= length;
    Reg(gXScaleDmaRegs, DCSR10) |= DCSR_RUN;
    Reg(gXScaleDmaRegs, DCSR2) |= DCSR_RUN;
    while (Reg(gXScaleDmaRegs, DCSR2) & DCSR_RUN)
        Sleep(0);
    Reg(gXScaleClockRegs, CKEN) &= ~CKEN_NSSP;
}
