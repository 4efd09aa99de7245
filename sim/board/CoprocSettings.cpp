#include "sim/board/CoprocSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "sim/board/CoprocCommands.h"

namespace {

std::optional<std::uint64_t> ParseUnsigned(const std::string& text, std::uint64_t max) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (first == last || error != std::errc() || end != last || value > max)
        return std::nullopt;
    return value;
}

std::optional<bool> ParseFlag(const std::string& text) {
    if (text == "1" || text == "true" || text == "on" || text == "yes")
        return true;
    if (text == "0" || text == "false" || text == "off" || text == "no")
        return false;
    return std::nullopt;
}

std::string BadValue(const std::string& key, const std::string& value, const char* expected) {
    return "bad value '" + value + "' for " + key + ": " + expected + " expected";
}

} // namespace

std::string CoprocSettings::Set(const std::string& name, const std::string& value) {
    // Short names for the battery, as a user types them: battery=0.35,charging=1,warning=0.
    const std::string key = name == "battery"    ? "battery_level"
                            : name == "charging" ? "battery_charging"
                            : name == "warning"  ? "battery_warning"
                                                 : name;
    Values& s = values;
    if (key == "battery_level") {
        char* end = nullptr;
        const float level = std::strtof(value.c_str(), &end);
        if (value.empty() || end != value.c_str() + value.size())
            return BadValue(key, value, "a number");
        s.batteryLevel = level;
        return {};
    }
    if (key == "battery_charging" || key == "battery_warning") {
        const auto flag = ParseFlag(value);
        if (!flag)
            return BadValue(key, value, "0 or 1");
        (key == "battery_charging" ? s.batteryCharging : s.batteryWarning) = *flag;
        return {};
    }
    if (key == "clock") {
        unsigned f[6] = {};
        int used = 0;
        if (std::sscanf(value.c_str(), "%u-%u-%u %u:%u:%u%n", &f[0], &f[1], &f[2], &f[3], &f[4],
                        &f[5], &used) != 6 ||
            std::size_t(used) != value.size() ||
            std::any_of(std::begin(f), std::end(f), [](unsigned v) { return v > 0xFFFF; }))
            return BadValue(key, value, "YYYY-MM-DD hh:mm:ss");
        std::copy(std::begin(f), std::end(f), s.clock.begin());
        return {};
    }
    if (key == "firmware_version") {
        unsigned f[4] = {};
        int used = 0;
        if (std::sscanf(value.c_str(), "%u.%u.%u.%u%n", &f[0], &f[1], &f[2], &f[3], &used) != 4 ||
            std::size_t(used) != value.size() ||
            std::any_of(std::begin(f), std::end(f), [](unsigned v) { return v > 255; }))
            return BadValue(key, value, "four numbers 0-255 as a.b.c.d");
        std::copy(std::begin(f), std::end(f), s.firmware.begin());
        return {};
    }
    struct Number {
        const char* key;
        std::uint32_t* field;
        std::uint64_t max;
    };
    const Number numbers[] = {
        {"product_code", &s.productCode, 255},
        {"ready_delay_us", &s.readyDelayUs, 1000000},
        {"release_delay_us", &s.releaseDelayUs, 1000000},
        {"boot_rise_ms", &s.bootRiseMs, 600000},
        {"boot_fall_ms", &s.bootFallMs, 600000},
    };
    for (const Number& number : numbers) {
        if (key != number.key)
            continue;
        const auto parsed = ParseUnsigned(value, number.max);
        if (!parsed)
            return BadValue(key, value, ("a whole number 0-" + std::to_string(number.max)).c_str());
        const std::uint32_t old = *number.field;
        *number.field = std::uint32_t(*parsed);
        if (s.bootRiseMs > s.bootFallMs) {
            *number.field = old;
            return "boot_rise_ms must not be after boot_fall_ms";
        }
        return {};
    }
    return SetFault(key, value);
}

std::string CoprocSettings::SetFault(const std::string& key, const std::string& value) {
    Faults& f = faults;
    if (key == "never_ready" || key == "never_released" || key == "unplugged" ||
        key == "boot_missing") {
        const auto flag = ParseFlag(value);
        if (!flag)
            return BadValue(key, value, "0 or 1");
        (key == "never_ready"      ? f.neverReady
         : key == "never_released" ? f.neverReleased
         : key == "unplugged"      ? f.unplugged
                                   : f.bootMissing) = *flag;
        return {};
    }
    if (key == "bad_checksums" || key == "boot_late_ms") {
        const auto parsed = ParseUnsigned(value, 600000);
        if (!parsed)
            return BadValue(key, value, "a whole number");
        (key == "bad_checksums" ? f.badChecksums : f.bootLateMs) = std::uint32_t(*parsed);
        return {};
    }
    if (key.rfind("status.", 0) == 0) {
        const std::string name = key.substr(7);
        const CoprocCommands::Command* command = CoprocCommands::Find(name);
        if (command == nullptr)
            if (const auto code = ParseUnsigned(name, 0xFFFF))
                command = CoprocCommands::Find(std::uint16_t(*code));
        if (command == nullptr)
            return "unknown command '" + name + "' in " + key;
        const auto code = ParseUnsigned(value, 0xFFFF);
        if (!code)
            return BadValue(key, value, "a status code 0-65535");
        if (*code == 0)
            f.statusFor.erase(command->code);
        else
            f.statusFor[command->code] = std::uint16_t(*code);
        return {};
    }
    return "unknown setting '" + key + "'";
}

nlohmann::json CoprocSettings::State() const {
    char clock[48];
    const auto& c = values.clock;
    std::snprintf(clock, sizeof clock, "%04u-%02u-%02u %02u:%02u:%02u", c[0], c[1], c[2], c[3],
                  c[4], c[5]);
    char firmware[32];
    const auto& v = values.firmware;
    std::snprintf(firmware, sizeof firmware, "%u.%u.%u.%u", v[0], v[1], v[2], v[3]);
    nlohmann::json status = nlohmann::json::object();
    for (const auto& [code, value] : faults.statusFor)
        status[CoprocCommands::Find(code)->name] = value;
    return {
        {"settings",
         {{"battery_level", std::isfinite(values.batteryLevel)
                                ? nlohmann::json(values.batteryLevel)
                                : nlohmann::json(std::to_string(values.batteryLevel))},
          {"battery_charging", values.batteryCharging},
          {"battery_warning", values.batteryWarning},
          {"clock", clock},
          {"product_code", values.productCode},
          {"firmware_version", firmware},
          {"ready_delay_us", values.readyDelayUs},
          {"release_delay_us", values.releaseDelayUs},
          {"boot_rise_ms", values.bootRiseMs},
          {"boot_fall_ms", values.bootFallMs}}},
        {"faults",
         {{"never_ready", faults.neverReady},
          {"never_released", faults.neverReleased},
          {"unplugged", faults.unplugged},
          {"boot_missing", faults.bootMissing},
          {"bad_checksums", faults.badChecksums},
          {"boot_late_ms", faults.bootLateMs},
          {"status", status}}},
    };
}
