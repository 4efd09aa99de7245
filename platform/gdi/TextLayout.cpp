#include "platform/gdi/TextLayout.h"

#include <algorithm>

#include "platform/gdi/WinGdi.h"

namespace {

// Ideographs, kana and full-width forms break anywhere, as in Chinese text.
bool BreaksAnywhere(wchar_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0xAC00 && c <= 0xD7AF);
}

} // namespace

TextLayout::TextLayout(std::wstring_view text, UINT format, int limit,
                       const std::function<int(wchar_t)>& advance)
    : m_advance(advance) {
    if (text.empty()) {
        return;
    }
    if (format & DT_SINGLELINE) {
        AddParagraph(text, format & ~DT_WORDBREAK, limit);
        return;
    }
    // CR, LF and CR LF each end a line; a break at the very end starts no further line.
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != L'\n' && text[end] != L'\r') {
            ++end;
        }
        AddParagraph(text.substr(start, end - start), format, limit);
        if (end < text.size() && text[end] == L'\r' && end + 1 < text.size() &&
            text[end + 1] == L'\n') {
            ++end;
        }
        start = end + 1;
    }
}

int TextLayout::MaxWidth() const {
    int width = 0;
    for (const Line& line : m_lines) {
        width = std::max(width, line.width);
    }
    return width;
}

TextLayout::Line TextLayout::Slice(const Line& source, std::size_t begin, std::size_t end) const {
    Line line;
    line.text = source.text.substr(begin, end - begin);
    line.underlined.assign(source.underlined.begin() + std::ptrdiff_t(begin),
                           source.underlined.begin() + std::ptrdiff_t(end));
    for (wchar_t c : line.text) {
        line.width += m_advance(c);
    }
    return line;
}

void TextLayout::AddParagraph(std::wstring_view paragraph, UINT format, int limit) {
    // "&&" shows one "&"; a single "&" is hidden and underlines the character after it.
    Line whole;
    for (std::size_t i = 0; i < paragraph.size(); ++i) {
        const wchar_t c = paragraph[i];
        if (c == L'&' && !(format & DT_NOPREFIX)) {
            if (i + 1 >= paragraph.size()) {
                break;
            }
            ++i;
            whole.text += paragraph[i];
            whole.underlined.push_back(paragraph[i] != L'&');
            continue;
        }
        whole.text += c;
        whole.underlined.push_back(false);
    }
    if (!(format & DT_WORDBREAK)) {
        m_lines.push_back(Slice(whole, 0, whole.text.size()));
        return;
    }
    // Greedy filling: words (or single ideographs) go on a line while they fit; the spaces at
    // a break are dropped. A word wider than the rectangle stands alone on its line.
    const std::wstring& t = whole.text;
    std::size_t lineBegin = 0;
    std::size_t lineEnd = 0;
    bool lineHasWord = false;
    int lineWidth = 0;
    int pendingSpaces = 0;
    std::size_t i = 0;
    while (i < t.size()) {
        if (t[i] == L' ') {
            pendingSpaces += m_advance(t[i]);
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        if (!BreaksAnywhere(t[i])) {
            while (j < t.size() && t[j] != L' ' && !BreaksAnywhere(t[j])) {
                ++j;
            }
        }
        int wordWidth = 0;
        for (std::size_t k = i; k < j; ++k) {
            wordWidth += m_advance(t[k]);
        }
        if (lineHasWord && lineWidth + pendingSpaces + wordWidth > limit) {
            m_lines.push_back(Slice(whole, lineBegin, lineEnd));
            lineBegin = i;
            lineWidth = wordWidth;
        } else {
            lineWidth += pendingSpaces + wordWidth;
        }
        lineHasWord = true;
        lineEnd = j;
        pendingSpaces = 0;
        i = j;
    }
    m_lines.push_back(Slice(whole, lineBegin, lineHasWord ? lineEnd : lineBegin));
}
