// The platform's command-line rules: how a launched program's parameter string becomes its
// argument list (white space separates, double quotes group, backslashes escape quotes only).
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CommandLine {
public:
    static std::vector<std::wstring> Split(std::wstring_view parameters);
};
