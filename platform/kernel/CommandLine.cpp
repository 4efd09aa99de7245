#include "platform/kernel/CommandLine.h"

std::vector<std::wstring> CommandLine::Split(std::wstring_view parameters) {
    std::vector<std::wstring> args;
    std::wstring current;
    bool inArgument = false;
    bool inQuotes = false;
    std::size_t i = 0;
    while (i < parameters.size()) {
        const wchar_t c = parameters[i];
        if ((c == L' ' || c == L'\t') && !inQuotes) {
            if (inArgument)
                args.push_back(std::move(current));
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == L'\\') {
            std::size_t end = i;
            while (end < parameters.size() && parameters[end] == L'\\')
                ++end;
            const std::size_t count = end - i;
            if (end < parameters.size() && parameters[end] == L'"') {
                // Backslashes before a quote escape each other in pairs; an odd one out makes
                // the quote literal. An even run leaves the quote to group as usual.
                current.append(count / 2, L'\\');
                if (count % 2) {
                    current += L'"';
                    ++end;
                }
            } else {
                current.append(count, L'\\');
            }
            i = end;
            continue;
        }
        if (c == L'"') {
            if (inQuotes && i + 1 < parameters.size() && parameters[i + 1] == L'"') {
                current += L'"';
                i += 2;
                continue;
            }
            inQuotes = !inQuotes;
            ++i;
            continue;
        }
        current += c;
        ++i;
    }
    if (inArgument)
        args.push_back(std::move(current));
    return args;
}
