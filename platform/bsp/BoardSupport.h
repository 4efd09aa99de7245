// The board-support library of the device (KorrinBspCore): the mapped XScale register blocks,
// the registers within them and their fields (PXA25x names and offsets), and the
// page-buffer RAM variables that give the DMA controller physically contiguous memory.
#pragma once

#include "platform/bsp/RegisterBlock.h"
#include "platform/kernel/WinTypes.h"

extern const RegisterBlock* const gXScaleGpioRegs;
extern const RegisterBlock* const gXScaleNsspRegs;
extern const RegisterBlock* const gXScaleClockRegs;
extern const RegisterBlock* const gXScaleDmaRegs;

// GPIO block: three banks of 32 pins (bank 2 holds GPIO 64-84), one bit per pin; GAFR holds
// two bits per pin, 16 pins a register.
inline constexpr DWORD GPLR0 = 0x00;   // pin levels, GPIO 0-31
inline constexpr DWORD GPLR1 = 0x04;   // pin levels, GPIO 32-63
inline constexpr DWORD GPLR2 = 0x08;   // pin levels, GPIO 64-84
inline constexpr DWORD GPDR0 = 0x0C;   // pin directions, GPIO 0-31 (1 = output)
inline constexpr DWORD GPDR1 = 0x10;   // pin directions, GPIO 32-63
inline constexpr DWORD GPDR2 = 0x14;   // pin directions, GPIO 64-84
inline constexpr DWORD GPSR0 = 0x18;   // pin output set, GPIO 0-31
inline constexpr DWORD GPSR1 = 0x1C;   // pin output set, GPIO 32-63
inline constexpr DWORD GPSR2 = 0x20;   // pin output set, GPIO 64-84
inline constexpr DWORD GPCR0 = 0x24;   // pin output clear, GPIO 0-31
inline constexpr DWORD GPCR1 = 0x28;   // pin output clear, GPIO 32-63
inline constexpr DWORD GPCR2 = 0x2C;   // pin output clear, GPIO 64-84
inline constexpr DWORD GAFR0_L = 0x54; // alternate functions, GPIO 0-15
inline constexpr DWORD GAFR0_U = 0x58; // alternate functions, GPIO 16-31
inline constexpr DWORD GAFR1_L = 0x5C; // alternate functions, GPIO 32-47
inline constexpr DWORD GAFR1_U = 0x60; // alternate functions, GPIO 48-63
inline constexpr DWORD GAFR2_L = 0x64; // alternate functions, GPIO 64-79
inline constexpr DWORD GAFR2_U = 0x68; // alternate functions, GPIO 80-95

// NSSP block.
inline constexpr DWORD SSCR0 = 0x00;
inline constexpr DWORD SSCR1 = 0x04;
inline constexpr DWORD SSSR = 0x08;
inline constexpr DWORD SSDR = 0x10;
// SSDR as the DMA controller addresses it: its physical address.
inline constexpr DWORD SSDR_PHYS = 0x41400010;
// SSCR0 fields.
inline constexpr DWORD SSCR0_DSS = 0x0000000F;    // data size select: size - 1 (with EDSS: - 17)
inline constexpr DWORD SSCR0_FRF = 0x00000030;    // frame format
inline constexpr DWORD SSCR0_FRF_TI = 0x00000010; // TI synchronous serial
inline constexpr DWORD SSCR0_SSE = 0x00000080;    // port enable
inline constexpr DWORD SSCR0_SCR = 0x000FFF00;    // serial clock rate: divisor - 1
inline constexpr int SSCR0_SCR_SHIFT = 8;
inline constexpr DWORD SSCR0_EDSS = 0x00100000; // extended data size: 16 more bits
// SSCR1 fields.
inline constexpr DWORD SSCR1_LBM = 0x00000004;     // loop-back
inline constexpr DWORD SSCR1_RSRE = 0x00100000;    // receive DMA service request enable
inline constexpr DWORD SSCR1_TSRE = 0x00200000;    // transmit DMA service request enable
inline constexpr DWORD SSCR1_SFRMDIR = 0x01000000; // frame is an input (slave)
inline constexpr DWORD SSCR1_SCLKDIR = 0x02000000; // clock is an input (slave)
// SSSR flags.
inline constexpr DWORD SSSR_TNF = 0x04; // transmit FIFO not full
inline constexpr DWORD SSSR_RNE = 0x08; // receive FIFO not empty
inline constexpr DWORD SSSR_BSY = 0x10; // busy

// Clock block.
inline constexpr DWORD CKEN = 0x04;
inline constexpr DWORD CKEN_NSSP = 0x00000200; // CKEN bit 9: the NSSP's unit clock

// DMA block: channel 2 and 10 registers and the request maps of the NSSP (15 receive,
// 16 transmit).
inline constexpr DWORD DCSR2 = 0x08;
inline constexpr DWORD DCSR10 = 0x28;
inline constexpr DWORD DRCMR15 = 0x13C;
inline constexpr DWORD DRCMR16 = 0x140;
inline constexpr DWORD DSADR2 = 0x224;
inline constexpr DWORD DTADR2 = 0x228;
inline constexpr DWORD DCMD2 = 0x22C;
inline constexpr DWORD DSADR10 = 0x2A4;
inline constexpr DWORD DTADR10 = 0x2A8;
inline constexpr DWORD DCMD10 = 0x2AC;
// DCSR fields.
inline constexpr DWORD DCSR_RUN = 0x80000000;
inline constexpr DWORD DCSR_NODESCFETCH = 0x40000000;
inline constexpr DWORD DCSR_STOPIRQEN = 0x20000000;
inline constexpr DWORD DCSR_STOPSTATE = 0x00000008; // read-only: the channel is stopped
// Interrupt flags: a 1 written clears one.
inline constexpr DWORD DCSR_ENDINTR = 0x00000004;
inline constexpr DWORD DCSR_STARTINTR = 0x00000002;
inline constexpr DWORD DCSR_BUSERRINTR = 0x00000001;
// DCMD fields.
inline constexpr DWORD DCMD_INCSRCADDR = 0x80000000;
inline constexpr DWORD DCMD_INCTRGADDR = 0x40000000;
inline constexpr DWORD DCMD_FLOWSRC = 0x20000000;
inline constexpr DWORD DCMD_FLOWTRG = 0x10000000;
inline constexpr DWORD DCMD_SIZE = 0x00030000;   // burst size (0 reserved)
inline constexpr DWORD DCMD_WIDTH = 0x0000C000;  // transfer width
inline constexpr DWORD DCMD_WIDTH4 = 0x0000C000; // 4-byte words
inline constexpr DWORD DCMD_LENGTH = 0x00001FFF;
// DRCMR fields.
inline constexpr DWORD DRCMR_MAPVLD = 0x80;
inline constexpr DWORD DRCMR_CHLNUM = 0x0F;

// Non-zero when a RAM variable of that name exists.
BOOL DoesRamVariableExist(LPCTSTR name);
// Creates a physically contiguous page buffer of size bytes under name. FALSE when it cannot
// (a name already taken, no memory, no board).
BOOL CreatePageBufferRamVariable(LPCTSTR name, DWORD size);
// Fills the CPU pointer and the physical address of a page buffer. FALSE (and both zeroed)
// when there is no such buffer.
BOOL GetPageBufferRamVariablePtr(LPCTSTR name, LPVOID* cpuPointer, DWORD* physicalAddress);
