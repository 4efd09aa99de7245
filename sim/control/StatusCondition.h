// A condition on the simulator's status JSON for norvane-ctl wait: PATH OP VALUE, where PATH is
// a dotted path of object keys and array indexes ("state", "items.0.text", "running.program"),
// OP is one of = != >= <= and VALUE is the rest of the text. = and != compare the value's text
// (a string as it stands, null as "null", numbers and booleans as JSON writes them, an array by
// its length); >= and <= compare numbers, an array by its length. A path that leads nowhere
// reads as null.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

class StatusCondition {
public:
    // Nothing, with the reason, when the text is not a condition.
    static std::optional<StatusCondition> Parse(const std::string& text, std::string& error);

    bool Holds(const nlohmann::json& status) const;
    // What the path reads in the status, as = compares it.
    std::string Actual(const nlohmann::json& status) const;
    const std::string& Path() const { return m_pathText; }

private:
    enum class Op { Equal, NotEqual, AtLeast, AtMost };

    const nlohmann::json* Find(const nlohmann::json& status) const;

    std::string m_pathText;
    std::vector<std::string> m_path;
    Op m_op = Op::Equal;
    std::string m_value;
};
