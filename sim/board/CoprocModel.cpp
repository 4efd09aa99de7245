#include "sim/board/CoprocModel.h"

#include <algorithm>
#include <cstring>

#include "link/CoprocProtocol.h"
#include "platform/kernel/EventLog.h"
#include "sim/board/CoprocCommands.h"
#include "sim/board/LittleEndian.h"
#include "sim/board/Sha256.h"

namespace {

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

// The frame checksum: the 8-bit sum of the bytes before it.
std::uint8_t Sum(const std::uint8_t* p, std::size_t n) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum = std::uint8_t(sum + p[i]);
    return sum;
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
    if (m_settings.faults.unplugged)
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
    const std::uint64_t late = std::uint64_t(m_settings.faults.bootLateMs) * 1000;
    m_bootDoneUs = nowUs + std::uint64_t(m_settings.values.bootFallMs) * 1000 + late;
    if (m_settings.faults.bootMissing || m_settings.faults.neverReady)
        return;
    Schedule(nowUs + std::uint64_t(m_settings.values.bootRiseMs) * 1000 + late, true);
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
    if (m_settings.faults.neverReady) {
        m_phase = Phase::Idle;
        return Refuse(nowUs, "never ready (fault)");
    }
    m_phase = Phase::Receiving;
    m_frame.clear();
    Schedule(nowUs + m_settings.values.readyDelayUs, true);
}

std::vector<std::uint8_t> CoprocModel::Shift(const std::vector<std::uint8_t>& in,
                                             std::uint64_t startUs) {
    SettleTo(startUs);
    std::vector<std::uint8_t> out(in.size(), 0);
    if (m_settings.faults.unplugged)
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
    const CoprocCommands::Command* info = nullptr;
    if (m_frame.size() < 8) {
        exchange.error = "short frame";
    } else {
        command = LittleEndian::Get16(&m_frame[0]);
        const std::uint16_t length = LittleEndian::Get16(&m_frame[2]);
        info = CoprocCommands::Find(command);
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
    LittleEndian::Put16(&reply[0], command);
    LittleEndian::Put16(&reply[2], std::uint32_t(r));
    LittleEndian::Put16(&reply[4], status);
    reply[r - 4] = Sum(reply.data(), r - 4);
    const bool replies = !(info && info->replySize == 0);
    if (replies && m_settings.faults.badChecksums > 0) {
        reply[r - 4] = std::uint8_t(~reply[r - 4]);
        --m_settings.faults.badChecksums;
        exchange.replyCorrupted = true;
    }
    m_replyStream.assign(kPreambleBytes, kPreamble);
    if (replies)
        m_replyStream.insert(m_replyStream.end(), reply.begin(), reply.end());
    m_replyCursor = 0;
    m_phase = Phase::Replying;
    if (m_settings.faults.neverReleased)
        exchange.error +=
            exchange.error.empty() ? "never released (fault)" : "; never released (fault)";
    else
        Schedule(nowUs + m_settings.values.releaseDelayUs, false);

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
    const CoprocCommands::Command* info = CoprocCommands::Find(command);
    if (info == nullptr)
        return kStatusUnknownCommand;
    if (auto fault = m_settings.faults.statusFor.find(command);
        fault != m_settings.faults.statusFor.end())
        return fault->second;
    if (length != info->frameLength)
        return kStatusBadFrame;
    const std::uint8_t* payload = m_frame.data() + 4;
    const bool loaderCommand =
        command == CMD_LOAD_HEADER || command == CMD_LOAD_BLOCK || command == CMD_START;
    // The loader answers only loading; the started image answers only the queries.
    if (loaderCommand == m_started)
        return kStatusUnknownCommand;

    switch (command) {
    case CMD_LOAD_HEADER:
        if (LittleEndian::Get32(payload) != kHeaderWord)
            return kStatusBadArgument;
        m_image.clear();
        m_loading = true;
        return 0;
    case CMD_LOAD_BLOCK: {
        if (!m_loading)
            return kStatusOutOfSequence;
        const std::uint32_t offset = LittleEndian::Get32(payload);
        const std::uint16_t count = LittleEndian::Get16(payload + 4);
        if (count == 0 || count > kBlockData || std::uint64_t(offset) + count > kMaxImageBytes)
            return kStatusBadArgument;
        if (m_image.size() < offset + count)
            m_image.resize(offset + count);
        std::memcpy(m_image.data() + offset, payload + 6, count);
        return 0;
    }
    case CMD_START:
        if (LittleEndian::Get32(payload) != kStartWord)
            return kStatusBadArgument;
        if (!m_loading)
            return kStatusOutOfSequence;
        m_started = true;
        m_loading = false;
        EventLog::Instance().Record(
            "coproc.started",
            {{"size", m_image.size()}, {"sha256", Sha256::Hex(m_image.data(), m_image.size())}});
        return 0;
    case CMD_GET_VERSION:
        for (int i = 0; i < 4; ++i)
            reply[6 + i] = std::uint8_t(m_settings.values.firmware[i]);
        return 0;
    case CMD_GET_BATTERY: {
        reply[6] = m_settings.values.batteryWarning ? 1 : 0;
        reply[7] = m_settings.values.batteryCharging ? 1 : 0;
        std::uint32_t bits = 0;
        std::memcpy(&bits, &m_settings.values.batteryLevel, 4);
        LittleEndian::Put32(&reply[8], bits);
        return 0;
    }
    case CMD_GET_CLOCK: // second, minute, hour, day, month, year
        for (int i = 0; i < 6; ++i)
            LittleEndian::Put32(&reply[8 + 4 * i], m_settings.values.clock[5 - i]);
        return 0;
    case CMD_GET_IDENTITY:
        reply[6] = std::uint8_t(m_settings.values.productCode);
        return 0;
    default:
        return kStatusUnknownCommand;
    }
}

std::string CoprocModel::Set(const std::string& key, const std::string& value,
                             std::uint64_t nowUs) {
    SettleTo(nowUs);
    const bool wasUnplugged = m_settings.faults.unplugged;
    std::string error = m_settings.Set(key, value);
    if (m_settings.faults.unplugged != wasUnplugged)
        PowerCycle(nowUs);
    return error;
}

// Unplugged, the line floats low and nothing is answered; plugged in again, the co-processor
// starts from power-on and waits for a reset.
void CoprocModel::PowerCycle(std::uint64_t nowUs) {
    m_schedule.clear();
    SetReady(false, nowUs);
    m_resetHigh = false;
    m_phase = Phase::Reset;
    m_image.clear();
    m_loading = false;
    m_started = false;
}

nlohmann::json CoprocModel::State() const {
    static const char* const kPhases[] = {"reset", "booting", "idle", "receiving", "replying"};
    nlohmann::json state = {
        {"reset_line", m_resetHigh ? "high" : "low"},
        {"phase", kPhases[int(m_phase)]},
        {"ready", m_ready},
        {"image",
         {{"size", m_image.size()},
          {"sha256", Sha256::Hex(m_image.data(), m_image.size())},
          {"started", m_started}}},
        {"last_command", m_lastCommand},
        {"exchanges", m_exchanges},
    };
    state.update(m_settings.State());
    return state;
}
