// The board-support library of the device (KorrinBspCore): the mapped XScale register blocks,
// the register offsets within them that the launcher uses (PXA25x names and offsets), and the
// page-buffer RAM variables that give the DMA controller physically contiguous memory.
#pragma once

#include "platform/bsp/RegisterBlock.h"
#include "platform/kernel/WinTypes.h"

extern const RegisterBlock* const gXScaleGpioRegs;
extern const RegisterBlock* const gXScaleNsspRegs;
extern const RegisterBlock* const gXScaleClockRegs;
extern const RegisterBlock* const gXScaleDmaRegs;

// GPIO block.
inline constexpr DWORD GPLR0 = 0x00;   // pin levels, GPIO 0-31
inline constexpr DWORD GPDR0 = 0x0C;   // pin directions, GPIO 0-31 (1 = output)
inline constexpr DWORD GPDR2 = 0x14;   // pin directions, GPIO 64-84
inline constexpr DWORD GPSR0 = 0x18;   // pin output set, GPIO 0-31
inline constexpr DWORD GPCR0 = 0x24;   // pin output clear, GPIO 0-31
inline constexpr DWORD GAFR0_U = 0x58; // alternate functions, GPIO 16-31
inline constexpr DWORD GAFR2_U = 0x68; // alternate functions, GPIO 80-95

// NSSP block.
inline constexpr DWORD SSCR0 = 0x00;
inline constexpr DWORD SSCR1 = 0x04;
inline constexpr DWORD SSSR = 0x08;
inline constexpr DWORD SSDR = 0x10;

// Clock block.
inline constexpr DWORD CKEN = 0x04;

// DMA block.
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

// Non-zero when a RAM variable of that name exists.
BOOL DoesRamVariableExist(LPCTSTR name);
// Creates a physically contiguous page buffer of size bytes under name. FALSE when it cannot
// (a name already taken, no memory, no board).
BOOL CreatePageBufferRamVariable(LPCTSTR name, DWORD size);
// Fills the CPU pointer and the physical address of a page buffer. FALSE (and both zeroed)
// when there is no such buffer.
BOOL GetPageBufferRamVariablePtr(LPCTSTR name, LPVOID* cpuPointer, DWORD* physicalAddress);
