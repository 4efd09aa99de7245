// The NSSP serial port with its two DMA channels and page buffers, as the co-processor link
// uses them: every exchange is one full-duplex DMA transfer of a multiple of 16 bytes between
// the "DMA_TX" and "DMA_RX" page buffers and the port, with the port as clock master.
#pragma once

#include "platform/kernel/WinTypes.h"

class QNsspPort {
public:
    static constexpr unsigned kPageBufferSize = 4096;

    // Sets up the buffers, the port, its receive FIFO and the DMA channels, in that order.
    QNsspPort();
    QNsspPort(const QNsspPort&) = delete;
    QNsspPort& operator=(const QNsspPort&) = delete;

    // Copies n bytes into the transmit buffer and transfers n bytes. A request larger than the
    // page buffer is refused: nothing is copied or sent.
    void Send(const void* data, unsigned n);
    // Transfers n bytes and copies n received bytes to dest. A request larger than the page
    // buffer is refused and dest is zeroed.
    void Receive(void* dest, unsigned n);
    // One full-duplex transfer of n bytes raised to a multiple of 16; returns when the receive
    // channel has finished.
    void Transfer(unsigned n);

private:
    void AllocBuffers();
    void InitPort();
    void DrainRx();
    void InitDma();

    DWORD m_txPhys = 0;
    DWORD m_rxPhys = 0;
    LPVOID m_pTx = nullptr;
    LPVOID m_pRx = nullptr;
};
