// How DrawText lays out a text: prefix characters, line breaks, word wrapping and the width of
// each line. Drawing and measuring share it, so DT_CALCRECT measures exactly what is drawn.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel/WinTypes.h"

class TextLayout {
public:
    struct Line {
        std::wstring text;
        std::vector<bool> underlined; // per character: marked by a single "&"
        int width = 0;
    };

    // advance gives each character's width; limit is the rectangle's width (for DT_WORDBREAK).
    TextLayout(std::wstring_view text, UINT format, int limit,
               const std::function<int(wchar_t)>& advance);

    const std::vector<Line>& Lines() const { return m_lines; }
    int MaxWidth() const;

private:
    void AddParagraph(std::wstring_view paragraph, UINT format, int limit);
    Line Slice(const Line& source, std::size_t begin, std::size_t end) const;

    std::function<int(wchar_t)> m_advance;
    std::vector<Line> m_lines;
};
