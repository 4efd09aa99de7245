// Model of the measurement co-processor on the far side of the link. It holds no program after
// reset; when its reset line is released it gives a boot pulse on the ready line; it answers
// each request strobe by raising the ready line, takes the frame clocked in, and on the release
// strobe checks it, acts on it, prepares its reply and lowers the line. Its lines are a
// function of device time (changes are scheduled, nothing runs on a thread of its own).
// Settings and faults can be changed at any time through Set.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/board/CoprocExchange.h"
#include "sim/board/CoprocSettings.h"

class CoprocModel {
public:
    // GPIO lines of the link, as the board wires them.
    static constexpr int kResetLine = 23;   // low holds the co-processor in reset
    static constexpr int kRequestLine = 24; // rising edge: a frame follows
    static constexpr int kReleaseLine = 25; // rising edge: the frame is complete
    static constexpr int kReadyLine = 27;   // driven by the co-processor

    // The co-processor's own status codes for frames it refuses.
    static constexpr std::uint16_t kStatusUnknownCommand = 0x10; // not known by what runs now
    static constexpr std::uint16_t kStatusBadFrame = 0x11;       // length does not fit
    static constexpr std::uint16_t kStatusBadChecksum = 0x12;    // frame checksum wrong
    static constexpr std::uint16_t kStatusBadArgument = 0x13;    // a field out of range
    static constexpr std::uint16_t kStatusOutOfSequence = 0x14;  // block or start before header

    // The largest image the loader keeps.
    static constexpr std::size_t kMaxImageBytes = 16u << 20;

    using ReadyListener = std::function<void(bool level, std::uint64_t us)>;
    using ExchangeListener = std::function<void(const CoprocExchange&)>;

    CoprocModel();

    void SetReadyListener(ReadyListener listener) { m_readyListener = std::move(listener); }
    void SetExchangeListener(ExchangeListener listener) {
        m_exchangeListener = std::move(listener);
    }

    // A processor-driven line of the link changed at nowUs.
    void LineChanged(int line, bool level, std::uint64_t nowUs);
    // The ready line at nowUs.
    bool ReadyLevel(std::uint64_t nowUs);
    // The time of the next scheduled ready-line change, if any.
    std::optional<std::uint64_t> NextReadyChange() const;
    // Applies the scheduled ready-line changes up to nowUs, in order.
    void SettleTo(std::uint64_t nowUs);
    // One transfer on the wire starting at startUs: takes the bytes clocked in and returns as
    // many bytes clocked out.
    std::vector<std::uint8_t> Shift(const std::vector<std::uint8_t>& in, std::uint64_t startUs);

    // Changes a setting or fault (CoprocSettings::Set lists the keys); returns an error text,
    // or empty when done.
    std::string Set(const std::string& key, const std::string& value, std::uint64_t nowUs);
    nlohmann::json State() const;

    const std::vector<std::uint8_t>& Image() const { return m_image; }
    bool Started() const { return m_started; }

private:
    enum class Phase { Reset, Booting, Idle, Receiving, Replying };

    void EnterReset(std::uint64_t nowUs);
    void Boot(std::uint64_t nowUs);
    void Request(std::uint64_t nowUs);
    void Release(std::uint64_t nowUs);
    void Schedule(std::uint64_t us, bool level);
    void SetReady(bool level, std::uint64_t us);
    void Refuse(std::uint64_t nowUs, const std::string& why);
    // Acts on a frame whose checksum is right; returns the reply's status and fills its data.
    std::uint16_t Execute(std::uint16_t command, std::uint16_t length,
                          std::vector<std::uint8_t>& reply);
    void PowerCycle(std::uint64_t nowUs);

    CoprocSettings m_settings;
    Phase m_phase = Phase::Reset;
    bool m_resetHigh = false;
    bool m_ready = false;
    std::uint64_t m_bootDoneUs = 0;
    std::multimap<std::uint64_t, bool> m_schedule;
    std::vector<std::uint8_t> m_frame;
    std::vector<std::uint8_t> m_replyStream;
    std::size_t m_replyCursor = 0;
    std::vector<std::uint8_t> m_image;
    bool m_loading = false;
    bool m_started = false;
    std::uint64_t m_exchanges = 0;
    nlohmann::json m_lastCommand;
    ReadyListener m_readyListener;
    ExchangeListener m_exchangeListener;
};
