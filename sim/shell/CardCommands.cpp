#include "sim/shell/CardCommands.h"

#include <string>

#include "platform/kernel/CardSlot.h"
#include "platform/kernel/EventLog.h"
#include "sim/control/ControlServer.h"

nlohmann::json CardCommands::Card(const nlohmann::json& request) {
    const auto action = request.find("action");
    const std::string what =
        action != request.end() && action->is_string() ? action->get<std::string>() : "";
    if (what != "eject" && what != "insert")
        return ControlServer::Error("card: give the \"action\", eject or insert");
    const bool changed = what == "eject" ? CardSlot::Eject() : CardSlot::Insert();
    if (changed)
        EventLog::Instance().Record(what == "eject" ? "card.ejected" : "card.inserted");
    return {{"card", State()}, {"changed", changed}};
}

const char* CardCommands::State() {
    return CardSlot::Inserted() ? "inserted" : "ejected";
}
