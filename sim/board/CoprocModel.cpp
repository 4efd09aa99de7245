#include "sim/board/CoprocModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/kernel/EventLog.h"
#include "sim/board/Sha256.h"

namespace {

struct CommandInfo {
    std::uint16_t code;
    const char* name;
    std::uint16_t frameLength;
    std::uint16_t replySize; // 0: no reply
};

// The commands the co-processor knows: the loader's three and the running image's queries.
constexpr CommandInfo kCommands[] = {
    {0x40, "LOAD_HEADER", 12, 10}, {0x60, "LOAD_BLOCK", 4016, 10}, {0x61, "GET_VERSION", 8, 18},
    {0x62, "GET_BATTERY", 8, 16},  {0x63, "GET_CLOCK", 8, 48},     {0x64, "GET_IDENTITY", 8, 14},
    {0x71, "START", 12, 0},
};
constexpr std::uint16_t kLoadHeader = 0x40;
constexpr std::uint16_t kLoadBlock = 0x60;
constexpr std::uint16_t kStart = 0x71;
constexpr std::uint32_t kHeaderWord = 0x00801000;
constexpr std::uint32_t kStartWord = 0x80000000;
constexpr std::size_t kBlockData = 4000;
// A refused or unknown frame is answered with the shortest reply.
constexpr std::uint16_t kShortReply = 10;
// The bytes the co-processor clocks out before its reply.
constexpr std::uint8_t kPreamble = 0xA5;
constexpr std::size_t kPreambleBytes = 4;
// Bytes kept of one frame; more than the largest frame plus its padding.
constexpr std::size_t kMaxFrameBytes = 8192;

const CommandInfo* FindCommand(std::uint16_t code) {
    for (const CommandInfo& info : kCommands)
        if (info.code == code)
            return &info;
    return nullptr;
}

const CommandInfo* FindCommand(const std::string& name) {
    for (const CommandInfo& info : kCommands)
        if (name == info.name)
            return &info;
    return nullptr;
}

std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t Le16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}
void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}
std::uint8_t Sum(const std::uint8_t* p, std::size_t n) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum = std::uint8_t(sum + p[i]);
    return sum;
}

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

CoprocModel::CoprocModel() = default;

void CoprocModel::Schedule(std::uint64_t us, bool level) {
    m_schedule.emplace(us, level);
}

void CoprocModel::SetReady(bool level, std::uint64_t us) {
    if (level == m_ready)
        return;
    m_ready = level;
    if (m_readyListener)
        m_readyListener(level, us);
}

std::optional<std::uint64_t> CoprocModel::NextReadyChange() const {
    if (m_schedule.empty())
        return std::nullopt;
    return m_schedule.begin()->first;
}

void CoprocModel::SettleTo(std::uint64_t nowUs) {
    while (!m_schedule.empty() && m_schedule.begin()->first <= nowUs) {
        const auto [us, level] = *m_schedule.begin();
        m_schedule.erase(m_schedule.begin());
        SetReady(level, us);
    }
}

bool CoprocModel::ReadyLevel(std::uint64_t nowUs) {
    SettleTo(nowUs);
    return m_ready;
}

void CoprocModel::LineChanged(int line, bool level, std::uint64_t nowUs) {
    SettleTo(nowUs);
    if (m_faults.unplugged)
        return;
    if (line == kResetLine && level != m_resetHigh) {
        m_resetHigh = level;
        if (level)
            Boot(nowUs);
        else
            EnterReset(nowUs);
    } else if (line == kRequestLine && level) {
        Request(nowUs);
    } else if (line == kReleaseLine && level) {
        Release(nowUs);
    }
}

// Reset clears everything the co-processor held: it has no program until the next download.
void CoprocModel::EnterReset(std::uint64_t nowUs) {
    m_phase = Phase::Reset;
    m_schedule.clear();
    SetReady(false, nowUs);
    m_image.clear();
    m_loading = false;
    m_started = false;
    m_frame.clear();
    m_replyStream.clear();
}

void CoprocModel::Boot(std::uint64_t nowUs) {
    m_phase = Phase::Booting;
    const std::uint64_t late = std::uint64_t(m_faults.bootLateMs) * 1000;
    m_bootDoneUs = nowUs + std::uint64_t(m_settings.bootFallMs) * 1000 + late;
    if (m_faults.bootMissing || m_faults.neverReady)
        return;
    Schedule(nowUs + std::uint64_t(m_settings.bootRiseMs) * 1000 + late, true);
    Schedule(m_bootDoneUs, false);
}

void CoprocModel::Refuse(std::uint64_t nowUs, const std::string& why) {
    CoprocExchange exchange;
    exchange.timeUs = nowUs;
    exchange.error = "request not answered: " + why;
    if (m_exchangeListener)
        m_exchangeListener(exchange);
}

void CoprocModel::Request(std::uint64_t nowUs) {
    if (m_phase == Phase::Reset)
        return Refuse(nowUs, "held in reset");
    if (m_phase == Phase::Booting && nowUs < m_bootDoneUs)
        return Refuse(nowUs, "still booting");
    if (m_faults.neverReady) {
        m_phase = Phase::Idle;
        return Refuse(nowUs, "never ready (fault)");
    }
    m_phase = Phase::Receiving;
    m_frame.clear();
    Schedule(nowUs + m_settings.readyDelayUs, true);
}

std::vector<std::uint8_t> CoprocModel::Shift(const std::vector<std::uint8_t>& in,
                                             std::uint64_t startUs) {
    SettleTo(startUs);
    std::vector<std::uint8_t> out(in.size(), 0);
    if (m_faults.unplugged)
        return out;
    if (m_phase == Phase::Receiving) {
        const std::size_t keep = std::min(in.size(), kMaxFrameBytes - m_frame.size());
        m_frame.insert(m_frame.end(), in.begin(), in.begin() + std::ptrdiff_t(keep));
    } else if (m_phase == Phase::Replying) {
        for (std::uint8_t& byte : out) {
            if (m_replyCursor < m_replyStream.size())
                byte = m_replyStream[m_replyCursor];
            ++m_replyCursor;
        }
    }
    return out;
}

void CoprocModel::Release(std::uint64_t nowUs) {
    if (m_phase != Phase::Receiving)
        return;
    CoprocExchange exchange;
    exchange.timeUs = nowUs;
    exchange.bytesIn = m_frame.size();
    exchange.head.assign(m_frame.begin(), m_frame.begin() + std::ptrdiff_t(std::min<std::size_t>(
                                                                8, m_frame.size())));
    exchange.commandName = "?";

    std::uint16_t command = 0;
    std::uint16_t status = kStatusBadFrame;
    std::vector<std::uint8_t> reply(kShortReply, 0);
    const CommandInfo* info = nullptr;
    if (m_frame.size() < 8) {
        exchange.error = "short frame";
    } else {
        command = Le16(&m_frame[0]);
        const std::uint16_t length = Le16(&m_frame[2]);
        info = FindCommand(command);
        exchange.command = command;
        exchange.length = length;
        if (info)
            exchange.commandName = info->name;
        if (length < 8 || length > m_frame.size()) {
            exchange.error = "frame length " + std::to_string(length) + " does not fit the " +
                             std::to_string(m_frame.size()) + " bytes clocked in";
        } else {
            exchange.checksumOk = Sum(m_frame.data(), length - 4) == m_frame[length - 4];
            if (!*exchange.checksumOk) {
                status = kStatusBadChecksum;
            } else {
                reply.assign(info && info->replySize ? info->replySize : kShortReply, 0);
                status = Execute(command, length, reply);
            }
        }
    }
    exchange.status = status;

    // The reply: Command, Length R (the size the command's reply has), Status, data, checksum.
    const std::size_t r = reply.size();
    Put16(&reply[0], command);
    Put16(&reply[2], std::uint32_t(r));
    Put16(&reply[4], status);
    reply[r - 4] = Sum(reply.data(), r - 4);
    const bool replies = !(info && info->replySize == 0);
    if (replies && m_faults.badChecksums > 0) {
        reply[r - 4] = std::uint8_t(~reply[r - 4]);
        --m_faults.badChecksums;
        exchange.replyCorrupted = true;
    }
    m_replyStream.assign(kPreambleBytes, kPreamble);
    if (replies)
        m_replyStream.insert(m_replyStream.end(), reply.begin(), reply.end());
    m_replyCursor = 0;
    m_phase = Phase::Replying;
    if (m_faults.neverReleased)
        exchange.error +=
            exchange.error.empty() ? "never released (fault)" : "; never released (fault)";
    else
        Schedule(nowUs + m_settings.releaseDelayUs, false);

    ++m_exchanges;
    m_lastCommand = {{"name", exchange.commandName},
                     {"code", command},
                     {"status", status},
                     {"time_ms", nowUs / 1000}};
    if (m_exchangeListener)
        m_exchangeListener(exchange);
}

std::uint16_t CoprocModel::Execute(std::uint16_t command, std::uint16_t length,
                                   std::vector<std::uint8_t>& reply) {
    const CommandInfo* info = FindCommand(command);
    if (info == nullptr)
        return kStatusUnknownCommand;
    if (auto fault = m_faults.statusFor.find(command); fault != m_faults.statusFor.end())
        return fault->second;
    if (length != info->frameLength)
        return kStatusBadFrame;
    const std::uint8_t* payload = m_frame.data() + 4;
    const bool loaderCommand = command == kLoadHeader || command == kLoadBlock || command == kStart;
    // The loader answers only loading; the started image answers only the queries.
    if (loaderCommand == m_started)
        return kStatusUnknownCommand;

    switch (command) {
    case kLoadHeader:
        if (Le32(payload) != kHeaderWord)
            return kStatusBadArgument;
        m_image.clear();
        m_loading = true;
        return 0;
    case kLoadBlock: {
        if (!m_loading)
            return kStatusOutOfSequence;
        const std::uint32_t offset = Le32(payload);
        const std::uint16_t count = Le16(payload + 4);
        if (count == 0 || count > kBlockData || std::uint64_t(offset) + count > kMaxImageBytes)
            return kStatusBadArgument;
        if (m_image.size() < offset + count)
            m_image.resize(offset + count);
        std::memcpy(m_image.data() + offset, payload + 6, count);
        return 0;
    }
    case kStart:
        if (Le32(payload) != kStartWord)
            return kStatusBadArgument;
        if (!m_loading)
            return kStatusOutOfSequence;
        m_started = true;
        m_loading = false;
        EventLog::Instance().Record(
            "coproc.started",
            {{"size", m_image.size()}, {"sha256", Sha256::Hex(m_image.data(), m_image.size())}});
        return 0;
    case 0x61: // GET_VERSION
        for (int i = 0; i < 4; ++i)
            reply[6 + i] = std::uint8_t(m_settings.firmware[i]);
        return 0;
    case 0x62: { // GET_BATTERY
        reply[6] = m_settings.batteryWarning ? 1 : 0;
        reply[7] = m_settings.batteryCharging ? 1 : 0;
        std::uint32_t bits = 0;
        std::memcpy(&bits, &m_settings.batteryLevel, 4);
        Put32(&reply[8], bits);
        return 0;
    }
    case 0x63: // GET_CLOCK: second, minute, hour, day, month, year
        for (int i = 0; i < 6; ++i)
            Put32(&reply[8 + 4 * i], m_settings.clock[5 - i]);
        return 0;
    case 0x64: // GET_IDENTITY
        reply[6] = std::uint8_t(m_settings.productCode);
        return 0;
    default:
        return kStatusUnknownCommand;
    }
}

std::string CoprocModel::Set(const std::string& name, const std::string& value,
                             std::uint64_t nowUs) {
    SettleTo(nowUs);
    // Short names for the battery, as a user types them: battery=0.35,charging=1,warning=0.
    const std::string key = name == "battery"    ? "battery_level"
                            : name == "charging" ? "battery_charging"
                            : name == "warning"  ? "battery_warning"
                                                 : name;
    Settings& s = m_settings;
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
    return SetFault(key, value, nowUs);
}

std::string CoprocModel::SetFault(const std::string& key, const std::string& value,
                                  std::uint64_t nowUs) {
    Faults& f = m_faults;
    if (key == "never_ready" || key == "never_released" || key == "unplugged" ||
        key == "boot_missing") {
        const auto flag = ParseFlag(value);
        if (!flag)
            return BadValue(key, value, "0 or 1");
        if (key == "unplugged" && *flag != f.unplugged) {
            // Unplugged, the line floats low and nothing is answered; plugged in again, the
            // co-processor starts from power-on and waits for a reset.
            m_schedule.clear();
            SetReady(false, nowUs);
            m_resetHigh = false;
            m_phase = Phase::Reset;
            m_image.clear();
            m_loading = false;
            m_started = false;
        }
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
        const CommandInfo* info = FindCommand(name);
        if (info == nullptr)
            if (const auto code = ParseUnsigned(name, 0xFFFF))
                info = FindCommand(std::uint16_t(*code));
        if (info == nullptr)
            return "unknown command '" + name + "' in " + key;
        const auto code = ParseUnsigned(value, 0xFFFF);
        if (!code)
            return BadValue(key, value, "a status code 0-65535");
        if (*code == 0)
            f.statusFor.erase(info->code);
        else
            f.statusFor[info->code] = std::uint16_t(*code);
        return {};
    }
    return "unknown setting '" + key + "'";
}

nlohmann::json CoprocModel::State() const {
    static const char* const kPhases[] = {"reset", "booting", "idle", "receiving", "replying"};
    char clock[48];
    const auto& c = m_settings.clock;
    std::snprintf(clock, sizeof clock, "%04u-%02u-%02u %02u:%02u:%02u", c[0], c[1], c[2], c[3],
                  c[4], c[5]);
    char firmware[32];
    const auto& v = m_settings.firmware;
    std::snprintf(firmware, sizeof firmware, "%u.%u.%u.%u", v[0], v[1], v[2], v[3]);
    nlohmann::json status = nlohmann::json::object();
    for (const auto& [code, value] : m_faults.statusFor)
        status[FindCommand(code)->name] = value;
    return {
        {"reset_line", m_resetHigh ? "high" : "low"},
        {"phase", kPhases[int(m_phase)]},
        {"ready", m_ready},
        {"image",
         {{"size", m_image.size()},
          {"sha256", Sha256::Hex(m_image.data(), m_image.size())},
          {"started", m_started}}},
        {"last_command", m_lastCommand},
        {"exchanges", m_exchanges},
        {"settings",
         {{"battery_level", std::isfinite(m_settings.batteryLevel)
                                ? nlohmann::json(m_settings.batteryLevel)
                                : nlohmann::json(std::to_string(m_settings.batteryLevel))},
          {"battery_charging", m_settings.batteryCharging},
          {"battery_warning", m_settings.batteryWarning},
          {"clock", clock},
          {"product_code", m_settings.productCode},
          {"firmware_version", firmware},
          {"ready_delay_us", m_settings.readyDelayUs},
          {"release_delay_us", m_settings.releaseDelayUs},
          {"boot_rise_ms", m_settings.bootRiseMs},
          {"boot_fall_ms", m_settings.bootFallMs}}},
        {"faults",
         {{"never_ready", m_faults.neverReady},
          {"never_released", m_faults.neverReleased},
          {"unplugged", m_faults.unplugged},
          {"boot_missing", m_faults.bootMissing},
          {"bad_checksums", m_faults.badChecksums},
          {"boot_late_ms", m_faults.bootLateMs},
          {"status", status}}},
    };
}
