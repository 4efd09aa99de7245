#include "sim/shell/KeyCommands.h"

#include <cstdint>
#include <optional>
#include <string>

#include "sim/control/ControlServer.h"
#include "sim/control/KeyNames.h"
#include "sim/shell/Simulator.h"

namespace {

// The key code a request names in "name"; nothing, with the error text, when it names none.
std::optional<int> RequestedKey(const nlohmann::json& request, std::string& error) {
    const auto name = request.find("name");
    if (name == request.end() || !name->is_string()) {
        error = "give the key's \"name\"";
        return std::nullopt;
    }
    const auto code = KeyNames::CodeOf(name->get<std::string>());
    if (!code)
        error = "no key is called \"" + name->get<std::string>() + "\"";
    return code;
}

} // namespace

nlohmann::json KeyCommands::Key(const nlohmann::json& request) {
    std::string error;
    const auto code = RequestedKey(request, error);
    if (!code)
        return ControlServer::Error("key: " + error);
    int holdMs = kTapMs;
    if (const auto hold = request.find("hold_ms"); hold != request.end()) {
        if (!hold->is_number_integer() || *hold < 0 || *hold > kMaxHoldMs)
            return ControlServer::Error("key: \"hold_ms\" must be a whole number from 0 to " +
                                        std::to_string(kMaxHoldMs));
        holdMs = hold->get<int>();
    }
    if (m_simulator.IsKeyDown(*code))
        return ControlServer::Error("key: " + KeyNames::NameOf(*code) + " is held down already");
    m_simulator.PressKey(*code, holdMs);
    return {{"code", *code}, {"hold_ms", holdMs}};
}

nlohmann::json KeyCommands::KeyChange(const nlohmann::json& request, bool down) {
    const std::string command = down ? "key-down: " : "key-up: ";
    std::string error;
    const auto code = RequestedKey(request, error);
    if (!code)
        return ControlServer::Error(command + error);
    if (!m_simulator.SetKey(*code, down))
        return ControlServer::Error(command + KeyNames::NameOf(*code) +
                                    (down ? " is down already" : " is not down"));
    return {{"code", *code}};
}

nlohmann::json KeyCommands::WaitKey(const nlohmann::json& request) {
    const auto timeout = request.find("timeout_ms");
    if (timeout == request.end() || !timeout->is_number_unsigned())
        return ControlServer::Error("wait-key: give \"timeout_ms\", device milliseconds");
    const auto stylus = request.find("stylus");
    if (stylus != request.end() && !stylus->is_boolean())
        return ControlServer::Error("wait-key: \"stylus\" must be true or false");
    const bool taps = stylus != request.end() && stylus->get<bool>();
    const auto input = m_simulator.WaitInput(timeout->get<std::uint64_t>(), taps);
    if (m_simulator.IsQuitting())
        return ControlServer::Error("wait-key: the device is shutting down");
    nlohmann::json answer = {{"key", nullptr}, {"code", nullptr}, {"tap", nullptr}};
    if (input && input->key)
        answer.update({{"key", KeyNames::NameOf(*input->key)}, {"code", *input->key}});
    else if (input)
        answer["tap"] = {{"x", input->x}, {"y", input->y}};
    return answer;
}
