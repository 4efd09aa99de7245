#include "platform/kernel/CString.h"

#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "platform/kernel/Utf8Encode.h"

CString CString::FromUtf8(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        if (i + std::size_t(extra) >= utf8.size()) {
            out += L'\uFFFD';
            break;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(utf8[i + std::size_t(k)]);
            if ((cc & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        out += wchar_t(cp);
        i += std::size_t(extra) + 1;
    }
    return CString(std::move(out));
}

std::string CString::ToUtf8() const {
    std::string out;
    out.reserve(m_text.size());
    for (wchar_t wc : m_text)
        AppendUtf8(out, char32_t(wc));
    return out;
}

int CString::Find(wchar_t c, int start) const {
    const auto pos = m_text.find(c, std::size_t(start < 0 ? 0 : start));
    return pos == std::wstring::npos ? -1 : int(pos);
}

int CString::Find(const wchar_t* sub, int start) const {
    const auto pos = m_text.find(sub ? sub : L"", std::size_t(start < 0 ? 0 : start));
    return pos == std::wstring::npos ? -1 : int(pos);
}

CString CString::Left(int count) const {
    return CString(m_text.substr(0, std::size_t(count < 0 ? 0 : count)));
}

CString CString::Mid(int first) const {
    if (first < 0)
        first = 0;
    if (std::size_t(first) >= m_text.size())
        return CString();
    return CString(m_text.substr(std::size_t(first)));
}

CString CString::Mid(int first, int count) const {
    if (first < 0)
        first = 0;
    if (count < 0 || std::size_t(first) >= m_text.size())
        return CString();
    return CString(m_text.substr(std::size_t(first), std::size_t(count)));
}

CString CString::Right(int count) const {
    if (count <= 0)
        return CString();
    if (std::size_t(count) >= m_text.size())
        return *this;
    return CString(m_text.substr(m_text.size() - std::size_t(count)));
}

CString& CString::TrimLeft() {
    std::size_t i = 0;
    while (i < m_text.size() && std::iswspace(wint_t(m_text[i])))
        ++i;
    m_text.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    std::size_t n = m_text.size();
    while (n > 0 && std::iswspace(wint_t(m_text[n - 1])))
        --n;
    m_text.resize(n);
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

void CString::Format(const wchar_t* format, ...) {
    // In the device's wide formats %s and %c take wide arguments and %S and %C narrow ones
    // (h makes one narrow, l or w wide); the host's C library reads a plain %s or %c as narrow,
    // so each is rewritten to the host's spelling before formatting.
    std::wstring fmt;
    for (const wchar_t* p = format; *p; ++p) {
        fmt += *p;
        if (*p != L'%')
            continue;
        ++p;
        while (*p && std::wcschr(L"-+ #0123456789.*", *p))
            fmt += *p++;
        if (!*p)
            break;
        wchar_t size = 0;
        if ((*p == L'h' || *p == L'l' || *p == L'w') && p[1] && std::wcschr(L"sScC", p[1]))
            size = *p++;
        if (std::wcschr(L"sScC", *p)) {
            const bool lower = *p == L's' || *p == L'c';
            const bool wide = size ? size != L'h' : lower;
            if (wide)
                fmt += L'l';
            fmt += (*p == L's' || *p == L'S') ? L's' : L'c';
        } else {
            fmt += *p;
        }
    }
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        const int n = std::vswprintf(buffer.data(), buffer.size(), fmt.c_str(), args);
        va_end(args);
        if (n >= 0 && std::size_t(n) < buffer.size()) {
            m_text.assign(buffer.data(), std::size_t(n));
            return;
        }
        if (buffer.size() > (1u << 20)) {
            m_text.clear();
            return;
        }
        buffer.resize(buffer.size() * 4);
    }
}
