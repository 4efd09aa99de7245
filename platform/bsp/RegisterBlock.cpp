#include "platform/bsp/RegisterBlock.h"

#include "platform/kernel/ThreadControl.h"

DWORD RegisterBlock::Read(DWORD offset) const {
    PlatformCheckpoint();
    return BspBackend::WithInstalled(
        DWORD(0), [&](BspBackend& board) { return board.ReadRegister(m_block, offset); });
}

void RegisterBlock::Write(DWORD offset, DWORD value) const {
    PlatformCheckpoint();
    BspBackend::WithInstalled(0, [&](BspBackend& board) {
        board.WriteRegister(m_block, offset, value);
        return 0;
    });
}
