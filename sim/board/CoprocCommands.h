// The commands the co-processor knows, by code and by name: the loader's three and the running
// image's four queries, with the frame length each takes and the reply size each gives.
#pragma once

#include <cstdint>
#include <string>

class CoprocCommands {
public:
    struct Command {
        std::uint16_t code;
        const char* name;
        std::uint16_t frameLength;
        std::uint16_t replySize; // 0: no reply
    };

    // Null for a code or a name the co-processor does not know.
    static const Command* Find(std::uint16_t code);
    static const Command* Find(const std::string& name);
};
