// The co-processor model's settings (what its queries answer, how soon it answers, its boot
// pulse) and faults, changed one "key", "value" text pair at a time as a user types them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

class CoprocSettings {
public:
    struct Values {
        float batteryLevel = 0.8f;
        bool batteryCharging = false;
        bool batteryWarning = false;
        std::array<std::uint32_t, 6> clock{2024, 6, 1, 12, 0, 0}; // y m d h m s
        std::uint32_t productCode = 5;
        std::array<std::uint32_t, 4> firmware{1, 4, 0, 12};
        std::uint32_t readyDelayUs = 30;
        std::uint32_t releaseDelayUs = 30;
        std::uint32_t bootRiseMs = 100;
        std::uint32_t bootFallMs = 300;
    };
    struct Faults {
        bool neverReady = false;
        bool neverReleased = false;
        bool unplugged = false;
        bool bootMissing = false;
        std::uint32_t badChecksums = 0;
        std::uint32_t bootLateMs = 0;
        std::map<std::uint16_t, std::uint16_t> statusFor; // command code -> status
    };

    // Changes a setting or fault; returns an error text (and changes nothing), or empty when
    // done. Keys:
    //   battery_level (number, 0 to 1), battery_charging, battery_warning (0/1) -- also
    //   battery, charging and warning for short,
    //   clock "YYYY-MM-DD hh:mm:ss" (sent as given, impossible dates too),
    //   product_code (0-255), firmware_version "a.b.c.d",
    //   ready_delay_us, release_delay_us (answer delays after the strobes),
    //   boot_rise_ms, boot_fall_ms (boot pulse after the reset release);
    // faults: never_ready, never_released, unplugged, boot_missing (0/1),
    //   bad_checksums N (the next N replies carry a wrong checksum),
    //   boot_late_ms N, status.COMMAND code (e.g. status.LOAD_HEADER=7; 0 clears).
    std::string Set(const std::string& key, const std::string& value);
    // {"settings": {...}, "faults": {...}} under the keys Set takes.
    nlohmann::json State() const;

    Values values;
    Faults faults;

private:
    std::string SetFault(const std::string& key, const std::string& value);
};
