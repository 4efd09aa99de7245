#include "sim/board/GpioModel.h"

// The register map, in PXA25x offsets. GPSR and GPCR are write-only in the processor manual,
// which gives no value for a read; this board reads them as 0. That is also the only value
// under which a read-modify-write such as `GPSR0 |= bit` drives just the new bit (a read of the
// levels would set or clear every other high pin again).
GpioModel::GpioModel() {
    std::vector<RegisterMap::Register> regs;
    static const char* const kLevel[] = {"GPLR0", "GPLR1", "GPLR2"};
    static const char* const kDir[] = {"GPDR0", "GPDR1", "GPDR2"};
    static const char* const kSet[] = {"GPSR0", "GPSR1", "GPSR2"};
    static const char* const kClear[] = {"GPCR0", "GPCR1", "GPCR2"};
    static const char* const kFunction[] = {"GAFR0_L", "GAFR0_U", "GAFR1_L",
                                            "GAFR1_U", "GAFR2_L", "GAFR2_U"};
    for (int bank = 0; bank < kBanks; ++bank) {
        const DWORD step = DWORD(4 * bank);
        // GPLR: the level of every pin; writes are ignored.
        regs.push_back(
            {0x00 + step, kLevel[bank], [this, bank] { return LevelRegister(bank); }, nullptr});
        // GPDR: 1 makes a pin an output.
        regs.push_back({0x0C + step, kDir[bank], [this, bank] { return m_direction[bank]; },
                        [this, bank](DWORD v) {
                            m_direction[bank] = v & BankMask(bank);
                            Changed();
                        }});
        // GPSR: a 1 sets the pin's output latch; 0 bits leave it.
        regs.push_back({0x18 + step, kSet[bank], nullptr, [this, bank](DWORD v) {
                            m_latch[bank] |= v & BankMask(bank);
                            Changed();
                        }});
        // GPCR: a 1 clears the pin's output latch; 0 bits leave it.
        regs.push_back({0x24 + step, kClear[bank], nullptr, [this, bank](DWORD v) {
                            m_latch[bank] &= ~v;
                            Changed();
                        }});
    }
    // GAFR: two bits per pin select its function (0 = GPIO, 1-3 = a unit's signal).
    for (int i = 0; i < 2 * kBanks; ++i)
        regs.push_back({DWORD(0x54 + 4 * i), kFunction[i], [this, i] { return m_function[i]; },
                        [this, i](DWORD v) {
                            m_function[i] = v;
                            Changed();
                        }});
    m_map = RegisterMap(std::move(regs));
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
