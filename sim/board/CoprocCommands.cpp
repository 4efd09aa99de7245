#include "sim/board/CoprocCommands.h"

#include "link/CoprocProtocol.h"

namespace {

constexpr CoprocCommands::Command kCommands[] = {
    {CMD_LOAD_HEADER, "LOAD_HEADER", 12, 10},
    {CMD_LOAD_BLOCK, "LOAD_BLOCK", 4016, 10},
    {CMD_GET_VERSION, "GET_VERSION", 8, COPROC_REPLY_VERSION},
    {CMD_GET_BATTERY, "GET_BATTERY", 8, COPROC_REPLY_BATTERY},
    {CMD_GET_CLOCK, "GET_CLOCK", 8, COPROC_REPLY_CLOCK},
    {CMD_GET_IDENTITY, "GET_IDENTITY", 8, COPROC_REPLY_IDENTITY},
    {CMD_START, "START", 12, 0},
};

} // namespace

const CoprocCommands::Command* CoprocCommands::Find(std::uint16_t code) {
    for (const Command& command : kCommands)
        if (command.code == code)
            return &command;
    return nullptr;
}

const CoprocCommands::Command* CoprocCommands::Find(const std::string& name) {
    for (const Command& command : kCommands)
        if (name == command.name)
            return &command;
    return nullptr;
}
