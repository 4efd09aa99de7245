#include "sim/board/GpioModel.h"

#include "platform/bsp/BoardSupport.h"

// The register map, register by register. GPSR and GPCR are write-only in the processor
// manual, which gives no value for a read; this board reads them as 0. That is also the only
// value under which a read-modify-write such as `GPSR0 |= bit` drives just the new bit (a read
// of the levels would set or clear every other high pin again).
GpioModel::GpioModel() {
    const auto level = [this](int bank) { return [this, bank] { return LevelRegister(bank); }; };
    const auto direction = [this](int bank) { return [this, bank] { return m_direction[bank]; }; };
    const auto setDirection = [this](int bank) {
        return [this, bank](DWORD v) { WriteDirection(bank, v); };
    };
    const auto set = [this](int bank) { return [this, bank](DWORD v) { SetLatch(bank, v); }; };
    const auto clear = [this](int bank) { return [this, bank](DWORD v) { ClearLatch(bank, v); }; };
    const auto function = [this](int i) { return [this, i] { return m_function[i]; }; };
    const auto setFunction = [this](int i) { return [this, i](DWORD v) { WriteFunction(i, v); }; };
    m_map = RegisterMap({
        // offset, name, read, write; beside each: what a read gives and a write does
        {GPLR0, "GPLR0", level(0), nullptr},               // levels of GPIO 0-31; writes ignored
        {GPLR1, "GPLR1", level(1), nullptr},               // levels of GPIO 32-63
        {GPLR2, "GPLR2", level(2), nullptr},               // levels of GPIO 64-84
        {GPDR0, "GPDR0", direction(0), setDirection(0)},   // 1 makes GPIO 0-31 an output
        {GPDR1, "GPDR1", direction(1), setDirection(1)},   // ... GPIO 32-63
        {GPDR2, "GPDR2", direction(2), setDirection(2)},   // ... GPIO 64-84 (bits 21-31 stay 0)
        {GPSR0, "GPSR0", nullptr, set(0)},                 // a 1 sets GPIO 0-31's latch; reads 0
        {GPSR1, "GPSR1", nullptr, set(1)},                 // ... GPIO 32-63
        {GPSR2, "GPSR2", nullptr, set(2)},                 // ... GPIO 64-84
        {GPCR0, "GPCR0", nullptr, clear(0)},               // a 1 clears GPIO 0-31's latch; reads 0
        {GPCR1, "GPCR1", nullptr, clear(1)},               // ... GPIO 32-63
        {GPCR2, "GPCR2", nullptr, clear(2)},               // ... GPIO 64-84
        {GAFR0_L, "GAFR0_L", function(0), setFunction(0)}, // 2 bits a pin, GPIO 0-15: 0 = GPIO,
                                                           // 1-3 = one of a unit's signals
        {GAFR0_U, "GAFR0_U", function(1), setFunction(1)}, // ... GPIO 16-31
        {GAFR1_L, "GAFR1_L", function(2), setFunction(2)}, // ... GPIO 32-47
        {GAFR1_U, "GAFR1_U", function(3), setFunction(3)}, // ... GPIO 48-63
        {GAFR2_L, "GAFR2_L", function(4), setFunction(4)}, // ... GPIO 64-79
        {GAFR2_U, "GAFR2_U", function(5), setFunction(5)}, // ... GPIO 80-95
    });
}

void GpioModel::WriteDirection(int bank, DWORD value) {
    m_direction[bank] = value & BankMask(bank);
    Changed();
}

void GpioModel::SetLatch(int bank, DWORD value) {
    m_latch[bank] |= value & BankMask(bank);
    Changed();
}

void GpioModel::ClearLatch(int bank, DWORD value) {
    m_latch[bank] &= ~value;
    Changed();
}

void GpioModel::WriteFunction(int index, DWORD value) {
    m_function[index] = value;
    Changed();
}

bool GpioModel::IsOutput(int pin) const {
    return (m_direction[pin / 32] >> (pin % 32)) & 1;
}

unsigned GpioModel::AlternateFunction(int pin) const {
    return (m_function[pin / 16] >> (2 * (pin % 16))) & 3;
}

bool GpioModel::DrivenLevel(int pin) const {
    return IsOutput(pin) && AlternateFunction(pin) == 0 && ((m_latch[pin / 32] >> (pin % 32)) & 1);
}

DWORD GpioModel::LevelRegister(int bank) const {
    DWORD levels = 0;
    for (int bit = 0; bit < 32; ++bit) {
        const int pin = bank * 32 + bit;
        if (pin >= kPinCount)
            break;
        const bool level = (IsOutput(pin) && AlternateFunction(pin) == 0)
                               ? DrivenLevel(pin)
                               : (m_input && m_input(pin, m_nowUs));
        levels |= DWORD(level) << bit;
    }
    return levels;
}

void GpioModel::Changed() {
    for (int pin = 0; pin < kPinCount; ++pin) {
        const bool level = DrivenLevel(pin);
        if (level == m_driven[pin])
            continue;
        m_driven[pin] = level;
        if (m_listener)
            m_listener(pin, level, m_nowUs);
    }
}

std::optional<DWORD> GpioModel::Read(DWORD offset, std::uint64_t nowUs) {
    m_nowUs = nowUs;
    return m_map.Read(offset);
}

bool GpioModel::Write(DWORD offset, DWORD value, std::uint64_t nowUs) {
    m_nowUs = nowUs;
    return m_map.Write(offset, value);
}

nlohmann::json GpioModel::Snapshot(std::uint64_t nowUs) {
    m_nowUs = nowUs;
    return m_map.Snapshot();
}
