// Case-insensitive names as the device's card file system and registry compare them: ASCII
// letters fold to lower case, every other character stays as it is.
#pragma once

#include <string>
#include <string_view>

// text with A-Z turned into a-z; two names match when their folded forms are equal.
inline std::wstring FoldAscii(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z')
            c = wchar_t(c - L'A' + L'a');
    return out;
}
