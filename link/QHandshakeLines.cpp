#include "link/QHandshakeLines.h"

#include "platform/bsp/BoardSupport.h"
#include "platform/kernel/KernelTime.h"

namespace {

constexpr DWORD kReset = 0x00800000;   // GPIO 23
constexpr DWORD kRequest = 0x01000000; // GPIO 24
constexpr DWORD kRelease = 0x02000000; // GPIO 25
constexpr DWORD kReady = 0x08000000;   // GPIO 27

bool Poll(const QHandshakeLines& lines, int count, bool wanted) {
    for (int poll = 0; poll < count; ++poll) {
        if (lines.IsReady() == wanted)
            return true;
        Sleep(1);
    }
    return false;
}

} // namespace

// The level of GPIO 23 is left alone: the first HoldReset sets it.
QHandshakeLines::QHandshakeLines() {
    Reg(gXScaleGpioRegs, GAFR0_U) &= ~DWORD(0x0000C000); // GPIO 23 function 0
    Reg(gXScaleGpioRegs, GAFR0_U) &= ~DWORD(0x00300000); // GPIO 26
    Reg(gXScaleGpioRegs, GAFR0_U) &= ~DWORD(0x000F0000); // GPIO 24 and 25
    Reg(gXScaleGpioRegs, GPDR0) |= 0x07800000;           // GPIO 23-26 outputs
    Reg(gXScaleGpioRegs, GAFR0_U) &= ~DWORD(0x00C00000); // GPIO 27
    Reg(gXScaleGpioRegs, GPDR0) &= ~kReady;              // GPIO 27 input
    Reg(gXScaleGpioRegs, GPCR0) |= kRequest;
    Reg(gXScaleGpioRegs, GPCR0) |= kRelease;
}

void QHandshakeLines::HoldReset() {
    Reg(gXScaleGpioRegs, GPCR0) = kReset;
}

void QHandshakeLines::ReleaseReset() {
    Reg(gXScaleGpioRegs, GPSR0) = kReset;
}

void QHandshakeLines::PulseRequest() {
    Reg(gXScaleGpioRegs, GPSR0) |= kRequest;
    Reg(gXScaleGpioRegs, GPCR0) |= kRequest;
}

void QHandshakeLines::PulseRelease() {
    Reg(gXScaleGpioRegs, GPSR0) |= kRelease;
    Reg(gXScaleGpioRegs, GPCR0) |= kRelease;
}

bool QHandshakeLines::IsReady() const {
    return Reg(gXScaleGpioRegs, GPLR0) & kReady;
}

bool QHandshakeLines::WaitReady(int count) const {
    return Poll(*this, count, true);
}

bool QHandshakeLines::WaitReleased(int count) const {
    return Poll(*this, count, false);
}
