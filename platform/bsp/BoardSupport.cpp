#include "platform/bsp/BoardSupport.h"

#include <string>

#include "platform/kernel/ThreadControl.h"

namespace {

constexpr RegisterBlock kGpioRegs{XScaleBlock::Gpio};
constexpr RegisterBlock kNsspRegs{XScaleBlock::Nssp};
constexpr RegisterBlock kClockRegs{XScaleBlock::Clock};
constexpr RegisterBlock kDmaRegs{XScaleBlock::Dma};

} // namespace

const RegisterBlock* const gXScaleGpioRegs = &kGpioRegs;
const RegisterBlock* const gXScaleNsspRegs = &kNsspRegs;
const RegisterBlock* const gXScaleClockRegs = &kClockRegs;
const RegisterBlock* const gXScaleDmaRegs = &kDmaRegs;

BOOL DoesRamVariableExist(LPCTSTR name) {
    PlatformCheckpoint();
    if (name == nullptr)
        return FALSE;
    return BspBackend::WithInstalled(
        FALSE, [&](BspBackend& board) { return board.RamVariableExists(name) ? TRUE : FALSE; });
}

BOOL CreatePageBufferRamVariable(LPCTSTR name, DWORD size) {
    PlatformCheckpoint();
    if (name == nullptr || size == 0)
        return FALSE;
    return BspBackend::WithInstalled(FALSE, [&](BspBackend& board) {
        return board.CreatePageBuffer(name, size) ? TRUE : FALSE;
    });
}

BOOL GetPageBufferRamVariablePtr(LPCTSTR name, LPVOID* cpuPointer, DWORD* physicalAddress) {
    PlatformCheckpoint();
    LPVOID cpu = nullptr;
    DWORD phys = 0;
    const BOOL found = name != nullptr && BspBackend::WithInstalled(FALSE, [&](BspBackend& board) {
                           return board.GetPageBuffer(name, &cpu, &phys) ? TRUE : FALSE;
                       });
    if (cpuPointer)
        *cpuPointer = found ? cpu : nullptr;
    if (physicalAddress)
        *physicalAddress = found ? phys : 0;
    return found;
}
