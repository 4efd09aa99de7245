#include "platform/kernel/CodePage.h"

#include <cstring>
#include <iconv.h>
#include <string>

#include "platform/kernel/ThreadControl.h"

namespace {

// Decodes with iconv, one character at a time past any byte sequence iconv rejects, so that one
// bad byte costs one replacement character and the rest of the text survives.
std::wstring Decode(const char* charset, const char* bytes, std::size_t length) {
    std::wstring out;
    iconv_t cd = iconv_open("WCHAR_T", charset);
    if (cd == iconv_t(-1)) {
        for (std::size_t i = 0; i < length; ++i)
            out += static_cast<unsigned char>(bytes[i]) < 0x80 ? wchar_t(bytes[i]) : L'\uFFFD';
        return out;
    }
    char* in = const_cast<char*>(bytes);
    std::size_t inLeft = length;
    std::wstring chunk(length + 1, L'\0');
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(chunk.data());
        std::size_t outLeft = chunk.size() * sizeof(wchar_t);
        const std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk.data(), (chunk.size() * sizeof(wchar_t) - outLeft) / sizeof(wchar_t));
        if (r == std::size_t(-1) && inLeft > 0) {
            // An invalid or truncated sequence: replace one byte and go on.
            out += L'\uFFFD';
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

UINT GetACP() {
    return 950;
}

int MultiByteToWideChar(UINT codePage, DWORD /*flags*/, LPCSTR multiByte, int cbMultiByte,
                        LPWSTR wideChar, int cchWideChar) {
    PlatformCheckpoint();
    if (!multiByte || cbMultiByte == 0 || cchWideChar < 0)
        return 0;
    const std::size_t length =
        cbMultiByte < 0 ? std::strlen(multiByte) + 1 : std::size_t(cbMultiByte);
    const char* charset = codePage == CP_UTF8 ? "UTF-8" : "CP950";
    const std::wstring text = Decode(charset, multiByte, length);
    if (cchWideChar == 0)
        return int(text.size());
    if (text.size() > std::size_t(cchWideChar))
        return 0;
    std::memcpy(wideChar, text.data(), text.size() * sizeof(wchar_t));
    return int(text.size());
}

std::vector<BYTE> WideToUtf16Le(const std::wstring& text) {
    std::vector<BYTE> bytes;
    const auto put = [&bytes](char32_t unit) {
        bytes.push_back(BYTE(unit & 0xFF));
        bytes.push_back(BYTE(unit >> 8));
    };
    for (const wchar_t c : text) {
        const auto cp = char32_t(c);
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    put(0);
    return bytes;
}

std::wstring Utf16LeToWide(const BYTE* bytes, std::size_t count) {
    std::wstring text;
    if (!bytes)
        return text;
    const std::size_t units = count / 2;
    const auto unitAt = [bytes](std::size_t i) {
        return char32_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
    };
    const auto isHigh = [](char32_t u) { return u >= 0xD800 && u <= 0xDBFF; };
    const auto isLow = [](char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = unitAt(i);
        if (unit == 0)
            break;
        if (isHigh(unit) && i + 1 < units && isLow(unitAt(i + 1))) {
            text.push_back(wchar_t(0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00)));
            ++i;
        } else if (isHigh(unit) || isLow(unit)) {
            text.push_back(wchar_t(0xFFFD));
        } else {
            text.push_back(wchar_t(unit));
        }
    }
    return text;
}
