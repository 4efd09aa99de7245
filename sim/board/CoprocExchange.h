// One exchange as the co-processor model saw it: a frame between a request and a release
// strobe and what it answered, or a request it did not answer and why. The trace prints these.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CoprocExchange {
    std::uint64_t timeUs = 0;            // device time of the release strobe (or the request)
    std::uint16_t command = 0;           // the frame's Command
    std::string commandName;             // "GET_VERSION", or "?" for a code the model does not know
    std::uint16_t length = 0;            // the frame's Length
    std::size_t bytesIn = 0;             // bytes clocked in between the strobes
    std::vector<std::uint8_t> head;      // the first bytes clocked in (up to 8)
    std::optional<bool> checksumOk;      // nothing when the frame was too short to check
    std::optional<std::uint16_t> status; // the reply's Status; nothing when no reply is given
    bool replyCorrupted = false;         // the reply's checksum was spoilt on purpose (a fault)
    std::string error;                   // why no frame was taken, or what was wrong with it
};
