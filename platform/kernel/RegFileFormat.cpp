#include "platform/kernel/RegFileFormat.h"

#include <cstdio>
#include <cstring>
#include <istream>
#include <sstream>

#include "platform/kernel/AsciiFold.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/HexDigit.h"
#include "platform/kernel/RegistryKey.h"

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

std::string Quote(std::wstring_view text) {
    std::string out = "\"";
    for (char c : CString(std::wstring(text)).ToUtf8()) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// The text of REG_SZ data that the file can hold as a quoted string: whole wide characters
// ending in exactly one terminating null, with no control characters before it.
std::optional<std::wstring> PlainString(const std::vector<BYTE>& data) {
    if (data.empty() || data.size() % sizeof(wchar_t) != 0)
        return std::nullopt;
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), data.size());
    if (text.back() != L'\0')
        return std::nullopt;
    text.pop_back();
    if (RegFileFormat::HasControlChars(text))
        return std::nullopt;
    return text;
}

std::string HexBytes(const std::vector<BYTE>& data) {
    std::string out;
    char digits[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(digits, sizeof digits, "%02x", data[i]);
        if (i)
            out += ',';
        out += digits;
    }
    return out;
}

std::optional<DWORD> ParseHexNumber(std::string_view text) {
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    DWORD value = 0;
    for (char c : text) {
        const int d = HexDigitValue(c);
        if (d < 0)
            return std::nullopt;
        value = (value << 4) | DWORD(d);
    }
    return value;
}

std::string_view TrimSpace(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Reads a quoted string at the start of text (escapes \\ and \"); text is left after the
// closing quote. Nothing when the string is not closed or holds another escape.
std::optional<std::wstring> ParseQuoted(std::string_view& text) {
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    std::string utf8;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return CString::FromUtf8(utf8).Str();
        }
        if (c == '\\') {
            if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '"'))
                return std::nullopt;
            ++i;
        }
        utf8 += text[i];
    }
    return std::nullopt;
}

std::optional<std::vector<BYTE>> ParseHexList(std::string_view text) {
    std::vector<BYTE> out;
    text = TrimSpace(text);
    if (text.empty())
        return out;
    for (;;) {
        const std::string_view item = TrimSpace(text.substr(0, text.find(',')));
        if (item.size() != 2 || HexDigitValue(item[0]) < 0 || HexDigitValue(item[1]) < 0)
            return std::nullopt;
        out.push_back(BYTE(HexDigitValue(item[0]) * 16 + HexDigitValue(item[1])));
        const std::size_t comma = text.find(',');
        if (comma == std::string_view::npos)
            return out;
        text.remove_prefix(comma + 1);
    }
}

struct ParsedValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// The data part of a value line, after the "=".
std::optional<ParsedValue> ParseData(std::string_view text, std::string& error) {
    ParsedValue value;
    if (!text.empty() && text.front() == '"') {
        auto str = ParseQuoted(text);
        if (!str || !TrimSpace(text).empty()) {
            error = "malformed string value";
            return std::nullopt;
        }
        str->push_back(L'\0');
        value.type = REG_SZ;
        value.data.resize(str->size() * sizeof(wchar_t));
        std::memcpy(value.data.data(), str->data(), value.data.size());
        return value;
    }
    if (text.starts_with("dword:")) {
        auto number = ParseHexNumber(TrimSpace(text.substr(6)));
        if (!number) {
            error = "malformed dword value";
            return std::nullopt;
        }
        value.type = REG_DWORD;
        for (int i = 0; i < 4; ++i)
            value.data.push_back(BYTE(*number >> (8 * i)));
        return value;
    }
    if (text.starts_with("hex")) {
        text.remove_prefix(3);
        value.type = REG_BINARY;
        if (!text.empty() && text.front() == '(') {
            const std::size_t close = text.find(')');
            auto type = close == std::string_view::npos ? std::nullopt
                                                        : ParseHexNumber(text.substr(1, close - 1));
            if (!type) {
                error = "malformed hex value type";
                return std::nullopt;
            }
            value.type = *type;
            text.remove_prefix(close + 1);
        }
        auto bytes = text.starts_with(":") ? ParseHexList(text.substr(1)) : std::nullopt;
        if (!bytes) {
            error = "malformed hex bytes";
            return std::nullopt;
        }
        value.data = std::move(*bytes);
        return value;
    }
    if (text == "-")
        error = "deleting values is not supported";
    else
        error = "unknown value type";
    return std::nullopt;
}

std::string KeyPathUtf8(const std::wstring& path) {
    return CString(path).ToUtf8();
}

} // namespace

bool RegFileFormat::HasControlChars(std::wstring_view text) {
    for (wchar_t c : text)
        if (c < 0x20 || c == 0x7F)
            return true;
    return false;
}

std::optional<std::vector<std::wstring>> RegFileFormat::SplitKeyPath(std::wstring_view path) {
    std::vector<std::wstring> names;
    if (path.empty())
        return names;
    if (path.back() == L'\\')
        path.remove_suffix(1);
    std::size_t pos = 0;
    for (;;) {
        const std::size_t end = path.find(L'\\', pos);
        const std::wstring_view name =
            path.substr(pos, end == std::wstring_view::npos ? std::wstring_view::npos : end - pos);
        if (name.empty() || HasControlChars(name))
            return std::nullopt;
        names.emplace_back(name);
        if (end == std::wstring_view::npos)
            return names;
        pos = end + 1;
    }
}

RegFileFormat::Parsed RegFileFormat::Parse(std::istream& in) {
    auto root = std::make_shared<RegistryKey>();
    root->path = kRootName;
    Parsed result;
    bool ok = true;
    auto fail = [&](int line, std::string message) {
        if (!ok)
            return;
        ok = false;
        result.line = line;
        result.message = std::move(message);
    };
    std::string line;
    int lineNo = 0;
    std::shared_ptr<RegistryKey> current;
    while (ok && std::getline(in, line)) {
        ++lineNo;
        const int startLine = lineNo;
        if (lineNo == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.erase(0, 3);
        std::string_view text = TrimSpace(line);
        if (lineNo == 1) {
            if (text != kHeader)
                fail(1, "the first line must be \"" + std::string(kHeader) + "\"");
            continue;
        }
        if (text.empty() || text.front() == ';')
            continue;
        if (text.front() == '[') {
            if (text.back() != ']' || text.size() < 2) {
                fail(lineNo, "a key line must end with ']'");
                continue;
            }
            const std::wstring path = CString::FromUtf8(text.substr(1, text.size() - 2)).Str();
            if (path.starts_with(L"-")) {
                fail(lineNo, "deleting keys is not supported");
                continue;
            }
            const std::size_t slash = path.find(L'\\');
            if (FoldAscii(path.substr(0, slash)) != FoldAscii(kRootName)) {
                fail(lineNo, "keys must be under HKEY_LOCAL_MACHINE");
                continue;
            }
            auto names = slash == std::wstring::npos
                             ? std::optional<std::vector<std::wstring>>(std::in_place)
                             : SplitKeyPath(std::wstring_view(path).substr(slash + 1));
            if (!names || (slash != std::wstring::npos && names->empty())) {
                fail(lineNo, "malformed key path");
                continue;
            }
            current = root;
            for (const std::wstring& name : *names) {
                auto& sub = current->subkeys[FoldAscii(name)];
                if (!sub) {
                    sub = std::make_shared<RegistryKey>();
                    sub->path = current->path + L"\\" + name;
                }
                current = sub;
            }
            continue;
        }
        if (!current) {
            fail(lineNo, "a value before the first key");
            continue;
        }
        std::wstring name;
        if (text.front() == '@') {
            text.remove_prefix(1);
        } else {
            auto quoted = ParseQuoted(text);
            if (!quoted || HasControlChars(*quoted)) {
                fail(lineNo, "malformed value name");
                continue;
            }
            name = std::move(*quoted);
        }
        text = TrimSpace(text);
        if (text.empty() || text.front() != '=') {
            fail(lineNo, "expected '=' after the value name");
            continue;
        }
        std::string data(TrimSpace(text.substr(1)));
        // Long hex lists continue on the next line after a trailing backslash.
        while (data.ends_with('\\') && data.starts_with("hex")) {
            data.pop_back();
            if (!std::getline(in, line)) {
                fail(startLine, "the value continues past the end of the file");
                break;
            }
            ++lineNo;
            data += TrimSpace(line);
        }
        if (!ok)
            continue;
        std::string error;
        auto value = ParseData(data, error);
        if (!value) {
            fail(startLine, error);
            continue;
        }
        current->values[FoldAscii(name)] =
            RegistryKey::Value{name, value->type, std::move(value->data)};
    }
    if (ok && lineNo == 0)
        fail(1, "the first line must be \"" + std::string(kHeader) + "\"");
    if (ok)
        result.root = std::move(root);
    return result;
}

std::string RegFileFormat::Write(const RegistryKey& root) {
    std::ostringstream out;
    out << kHeader << "\n";
    auto writeKey = [&out](const RegistryKey& key, auto& self, bool isRoot) -> void {
        if (!isRoot || !key.values.empty()) {
            out << "\n[" << KeyPathUtf8(key.path) << "]\n";
            for (const auto& [folded, value] : key.values) {
                out << (value.name.empty() ? std::string("@") : Quote(value.name)) << "=";
                auto plain = value.type == REG_SZ ? PlainString(value.data) : std::nullopt;
                if (plain) {
                    out << Quote(*plain);
                } else if (value.type == REG_DWORD && value.data.size() == 4) {
                    DWORD number = 0;
                    for (int i = 3; i >= 0; --i)
                        number = (number << 8) | value.data[std::size_t(i)];
                    char digits[16];
                    std::snprintf(digits, sizeof digits, "dword:%08x", number);
                    out << digits;
                } else if (value.type == REG_BINARY) {
                    out << "hex:" << HexBytes(value.data);
                } else {
                    char type[24];
                    std::snprintf(type, sizeof type, "hex(%x):", value.type);
                    out << type << HexBytes(value.data);
                }
                out << "\n";
            }
        }
        for (const auto& [folded, sub] : key.subkeys)
            self(*sub, self, false);
    };
    writeKey(root, writeKey, true);
    return out.str();
}
