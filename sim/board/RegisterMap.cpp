#include "sim/board/RegisterMap.h"

#include <cstdio>

const RegisterMap::Register* RegisterMap::Find(DWORD offset) const {
    for (const Register& reg : m_registers)
        if (reg.offset == offset)
            return &reg;
    return nullptr;
}

std::optional<DWORD> RegisterMap::Read(DWORD offset) const {
    const Register* reg = Find(offset);
    if (reg == nullptr)
        return std::nullopt;
    return reg->read ? reg->read() : 0;
}

bool RegisterMap::Write(DWORD offset, DWORD value) const {
    const Register* reg = Find(offset);
    if (reg == nullptr)
        return false;
    if (reg->write)
        reg->write(value);
    return true;
}

nlohmann::json RegisterMap::Snapshot() const {
    nlohmann::json out = nlohmann::json::object();
    for (const Register& reg : m_registers) {
        if (!reg.read || !reg.snapshot)
            continue;
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", unsigned(reg.read()));
        out[reg.name] = text;
    }
    return out;
}
