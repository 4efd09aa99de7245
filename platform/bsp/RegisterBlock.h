// One mapped XScale register block as the launcher reaches it. Every 32-bit access is exactly
// one read or one write passed to the installed board, so a peripheral model sees each access
// the code makes, in order, as the hardware would.
#pragma once

#include "platform/bsp/BspBackend.h"
#include "platform/kernel/WinTypes.h"

class RegisterBlock {
public:
    constexpr explicit RegisterBlock(XScaleBlock block) : m_block(block) {}
    RegisterBlock(const RegisterBlock&) = delete;
    RegisterBlock& operator=(const RegisterBlock&) = delete;

    // 0 when no board is installed.
    DWORD Read(DWORD offset) const;
    // Goes nowhere when no board is installed.
    void Write(DWORD offset, DWORD value) const;

    // A register used like a volatile field of the mapped block: reading it is one read,
    // assigning is one write, and |= and &= are one read followed by one write.
    class Ref {
    public:
        Ref(const RegisterBlock& block, DWORD offset) : m_block(block), m_offset(offset) {}
        Ref(const Ref&) = default;

        operator DWORD() const { return m_block.Read(m_offset); }
        Ref& operator=(DWORD value) {
            m_block.Write(m_offset, value);
            return *this;
        }
        // Copies one register into another (or into itself: a write of the value read).
        Ref& operator=(const Ref& other) { return *this = DWORD(other); }
        Ref& operator|=(DWORD bits) { return *this = DWORD(*this) | bits; }
        Ref& operator&=(DWORD mask) { return *this = DWORD(*this) & mask; }

    private:
        const RegisterBlock& m_block;
        DWORD m_offset;
    };

private:
    XScaleBlock m_block;
};

// The register at a byte offset of a mapped block: Reg(gXScaleGpioRegs, GPSR0) |= 0x01000000.
inline RegisterBlock::Ref Reg(const RegisterBlock* block, DWORD offset) {
    return RegisterBlock::Ref(*block, offset);
}
