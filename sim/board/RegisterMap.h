// The register map of one peripheral model, declared once as a table: each register's offset,
// its PXA25x name, and what a read and a write do. A reader checks a model against the
// processor manual in one place, and the board lists every register by name.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/kernel/WinTypes.h"

class RegisterMap {
public:
    struct Register {
        DWORD offset;
        const char* name;
        // Null: a write-only register, which reads 0.
        std::function<DWORD()> read;
        // Null: a read-only register; writes are ignored.
        std::function<void(DWORD)> write;
        // False for a register whose read changes state (a FIFO), left out of snapshots.
        bool snapshot = true;
    };

    RegisterMap() = default;
    explicit RegisterMap(std::vector<Register> registers) : m_registers(std::move(registers)) {}

    // Nothing when no register lives at offset.
    std::optional<DWORD> Read(DWORD offset) const;
    // False when no register lives at offset.
    bool Write(DWORD offset, DWORD value) const;
    // Name -> "0x%08X" of every readable register without read side effects.
    nlohmann::json Snapshot() const;

private:
    const Register* Find(DWORD offset) const;

    std::vector<Register> m_registers;
};
