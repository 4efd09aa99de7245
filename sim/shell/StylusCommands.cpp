#include "sim/shell/StylusCommands.h"

#include <optional>
#include <string>

#include "sim/control/ControlServer.h"
#include "sim/shell/Simulator.h"

namespace {

// One coordinate of the request; nothing, with the error text, when it is not on the screen.
std::optional<int> Coordinate(const nlohmann::json& request, const char* name, int size,
                              std::string& error) {
    const auto value = request.find(name);
    if (value == request.end() || !value->is_number_integer() || *value < 0 || *value >= size) {
        error = std::string("\"") + name + "\" must be a whole number from 0 to " +
                std::to_string(size - 1) + " (the screen is " + std::to_string(Stylus::kWidth) +
                "x" + std::to_string(Stylus::kHeight) + ")";
        return std::nullopt;
    }
    return value->get<int>();
}

} // namespace

nlohmann::json StylusCommands::Tap(const nlohmann::json& request) {
    std::string error;
    const auto x = Coordinate(request, "x", Stylus::kWidth, error);
    const auto y = x ? Coordinate(request, "y", Stylus::kHeight, error) : std::nullopt;
    if (!y)
        return ControlServer::Error("tap: " + error);
    const auto twice = request.find("double");
    if (twice != request.end() && !twice->is_boolean())
        return ControlServer::Error("tap: \"double\" must be true or false");
    const bool isDouble = twice != request.end() && twice->get<bool>();
    if (m_simulator.IsStylusDown())
        return ControlServer::Error("tap: the stylus is down already (lift it with stylus up)");
    m_simulator.Tap(*x, *y, isDouble);
    return {{"x", *x}, {"y", *y}, {"double", isDouble}};
}

nlohmann::json StylusCommands::Change(const nlohmann::json& request) {
    const auto action = request.find("action");
    const std::string name = action != request.end() && action->is_string() ? *action : "";
    if (name != "down" && name != "move" && name != "up")
        return ControlServer::Error("stylus: \"action\" must be down, move or up");
    const std::string command = "stylus " + name + ": ";
    std::string error;
    const auto x = Coordinate(request, "x", Stylus::kWidth, error);
    const auto y = x ? Coordinate(request, "y", Stylus::kHeight, error) : std::nullopt;
    if (!y)
        return ControlServer::Error(command + error);
    const Stylus::Change change = name == "down"   ? Stylus::Change::Down
                                  : name == "move" ? Stylus::Change::Move
                                                   : Stylus::Change::Up;
    if (!m_simulator.SetStylus(change, *x, *y))
        return ControlServer::Error(command + (change == Stylus::Change::Down
                                                   ? "the stylus is down already"
                                                   : "the stylus is not down (put it down first)"));
    return {{"x", *x}, {"y", *y}};
}
