// The card slot's command of the control socket: the storage card pulled out or put back while
// the device runs, as a user would do it.
#pragma once

#include <nlohmann/json.hpp>

class CardCommands {
public:
    // "action" eject or insert; answers the slot's state ("card": "inserted" or "ejected") and
    // whether it changed (false for an eject of a card that is out or an insert of one that is
    // in). A change is recorded in the event log as card.ejected or card.inserted.
    static nlohmann::json Card(const nlohmann::json& request);
    // "inserted" or "ejected", for the status.
    static const char* State();
};
