#include "sim/control/StatusCondition.h"

#include <charconv>

namespace {

std::string TextOf(const nlohmann::json* value) {
    if (!value || value->is_null())
        return "null";
    if (value->is_string())
        return value->get<std::string>();
    if (value->is_array())
        return std::to_string(value->size());
    return value->dump();
}

std::optional<double> NumberOf(const nlohmann::json* value) {
    if (!value)
        return std::nullopt;
    if (value->is_number())
        return value->get<double>();
    if (value->is_array())
        return double(value->size());
    return std::nullopt;
}

std::optional<double> ParseNumber(const std::string& text) {
    double number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

} // namespace

std::optional<StatusCondition> StatusCondition::Parse(const std::string& text, std::string& error) {
    // The first operator in the text splits it; two-character operators are tried first at
    // each position so that "a>=1" is not read as "a>" "=1".
    static constexpr struct {
        const char* text;
        Op op;
    } kOps[] = {{"!=", Op::NotEqual}, {">=", Op::AtLeast}, {"<=", Op::AtMost}, {"=", Op::Equal}};
    StatusCondition condition;
    std::size_t at = std::string::npos;
    std::size_t opLength = 0;
    for (std::size_t i = 0; i < text.size() && at == std::string::npos; ++i)
        for (const auto& op : kOps)
            if (text.compare(i, std::char_traits<char>::length(op.text), op.text) == 0) {
                at = i;
                opLength = std::char_traits<char>::length(op.text);
                condition.m_op = op.op;
                break;
            }
    if (at == std::string::npos || at == 0) {
        error = "\"" + text + "\" is not PATH=VALUE, PATH!=VALUE, PATH>=N or PATH<=N";
        return std::nullopt;
    }
    condition.m_pathText = text.substr(0, at);
    condition.m_value = text.substr(at + opLength);
    for (std::size_t start = 0;;) {
        const std::size_t dot = condition.m_pathText.find('.', start);
        condition.m_path.push_back(condition.m_pathText.substr(start, dot - start));
        if (condition.m_path.back().empty()) {
            error = "\"" + condition.m_pathText + "\" has an empty step";
            return std::nullopt;
        }
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    if ((condition.m_op == Op::AtLeast || condition.m_op == Op::AtMost) &&
        !ParseNumber(condition.m_value)) {
        error = "\"" + condition.m_value + "\" is not a number";
        return std::nullopt;
    }
    return condition;
}

const nlohmann::json* StatusCondition::Find(const nlohmann::json& status) const {
    const nlohmann::json* node = &status;
    for (const std::string& step : m_path) {
        if (node->is_object()) {
            const auto it = node->find(step);
            if (it == node->end())
                return nullptr;
            node = &*it;
        } else if (node->is_array()) {
            const auto index = ParseNumber(step);
            if (!index || *index < 0 || *index >= double(node->size()) || *index != int(*index))
                return nullptr;
            node = &(*node)[std::size_t(*index)];
        } else {
            return nullptr;
        }
    }
    return node;
}

bool StatusCondition::Holds(const nlohmann::json& status) const {
    const nlohmann::json* value = Find(status);
    switch (m_op) {
    case Op::Equal:
        return TextOf(value) == m_value;
    case Op::NotEqual:
        return TextOf(value) != m_value;
    case Op::AtLeast:
    case Op::AtMost: {
        const auto number = NumberOf(value);
        const double limit = *ParseNumber(m_value);
        return number && (m_op == Op::AtLeast ? *number >= limit : *number <= limit);
    }
    }
    return false;
}

std::string StatusCondition::Actual(const nlohmann::json& status) const {
    return TextOf(Find(status));
}
