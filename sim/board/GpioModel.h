// Model of the PXA25x GPIO unit (GPIO 0-84): pin levels, directions, the output latch driven by
// the set and clear registers, and the alternate-function selects. Pins that the board wires to
// the co-processor report their changes; pins it drives in are read through a callback.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/kernel/WinTypes.h"
#include "sim/board/RegisterMap.h"

class GpioModel {
public:
    static constexpr int kPinCount = 85;

    // The level the board drives on an input pin at a device time (microseconds).
    using InputSource = std::function<bool(int pin, std::uint64_t nowUs)>;
    // A pin's level as the board sees it changed at nowUs.
    using Listener = std::function<void(int pin, bool level, std::uint64_t nowUs)>;

    GpioModel();

    void SetInputSource(InputSource source) { m_input = std::move(source); }
    void SetListener(Listener listener) { m_listener = std::move(listener); }

    std::optional<DWORD> Read(DWORD offset, std::uint64_t nowUs);
    bool Write(DWORD offset, DWORD value, std::uint64_t nowUs);
    nlohmann::json Snapshot(std::uint64_t nowUs);

    // The level the processor drives on a pin onto the board: the latch of an output pin
    // selected as GPIO (function 0); every other pin is not driven by the GPIO unit and the
    // board's pull-downs hold the line low.
    bool DrivenLevel(int pin) const;
    bool IsOutput(int pin) const;
    unsigned AlternateFunction(int pin) const;

private:
    static constexpr int kBanks = 3;

    DWORD LevelRegister(int bank) const;
    void WriteDirection(int bank, DWORD value);
    void SetLatch(int bank, DWORD value);
    void ClearLatch(int bank, DWORD value);
    void WriteFunction(int index, DWORD value);
    void Changed();
    static DWORD BankMask(int bank) { return bank == 2 ? 0x001FFFFF : 0xFFFFFFFF; }

    std::array<DWORD, kBanks> m_latch{};
    std::array<DWORD, kBanks> m_direction{};
    std::array<DWORD, 2 * kBanks> m_function{};
    std::array<bool, kPinCount> m_driven{};
    InputSource m_input;
    Listener m_listener;
    std::uint64_t m_nowUs = 0;
    RegisterMap m_map;
};
