#include "tools/rc/ScriptLexer.h"

#include <fstream>
#include <sstream>

#include "tools/rc/RcError.h"
#include "tools/rc/ResourceScript.h"

namespace {

// Include nesting deeper than this is a loop.
constexpr int kMaxIncludeDepth = 16;

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decodes the bytes between the quotes of a string: UTF-8 text with the escapes \n \t \\ \"
// and the doubled quote "".
std::u32string DecodeString(const std::string& raw, const std::string& file, int line) {
    std::u32string out;
    for (std::size_t i = 0; i < raw.size();) {
        const unsigned char c = static_cast<unsigned char>(raw[i]);
        if (c == '\\') {
            if (i + 1 >= raw.size()) {
                throw RcError(file, line, "string ends with a lone backslash");
            }
            switch (raw[i + 1]) {
            case 'n':
                out += U'\n';
                break;
            case 't':
                out += U'\t';
                break;
            case '\\':
                out += U'\\';
                break;
            case '"':
                out += U'"';
                break;
            default:
                throw RcError(file, line,
                              std::string("unknown escape \\") + raw[i + 1] + " in string");
            }
            i += 2;
            continue;
        }
        if (c == '"') { // the second quote of a doubled quote
            out += U'"';
            i += 2;
            continue;
        }
        if (c < 0x80) {
            out += char32_t(c);
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1, cp = c & 0x1F, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, cp = c & 0x0F, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, cp = c & 0x07, min = 0x10000;
        } else {
            throw RcError(file, line, "string is not valid UTF-8");
        }
        if (i + std::size_t(extra) >= raw.size()) {
            throw RcError(file, line, "string is not valid UTF-8");
        }
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(raw[i + std::size_t(k)]);
            if ((cc & 0xC0) != 0x80) {
                throw RcError(file, line, "string is not valid UTF-8");
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            throw RcError(file, line, "string is not valid UTF-8");
        }
        out += cp;
        i += std::size_t(extra) + 1;
    }
    return out;
}

// Scans the tokens of src[begin, end); line counts the line feeds passed.
void Scan(const std::string& src, std::size_t begin, std::size_t end, const std::string& file,
          int& line, std::vector<RcToken>& out) {
    std::size_t i = begin;
    while (i < end) {
        const char c = src[i];
        if (c == '\n') {
            ++line;
            ++i;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++i;
            continue;
        }
        if (c == '/' && i + 1 < end && src[i + 1] == '/') {
            while (i < end && src[i] != '\n') {
                ++i;
            }
            continue;
        }
        RcToken token;
        token.file = file;
        token.line = line;
        if (c == '"' || (c == 'L' && i + 1 < end && src[i + 1] == '"')) {
            i += c == 'L' ? 2 : 1;
            std::string raw;
            bool closed = false;
            while (i < end && src[i] != '\n') {
                if (src[i] == '\\' && i + 1 < end && src[i + 1] != '\n') {
                    raw += src[i];
                    raw += src[i + 1];
                    i += 2;
                } else if (src[i] == '"') {
                    if (i + 1 < end && src[i + 1] == '"') {
                        raw += "\"\"";
                        i += 2;
                    } else {
                        ++i;
                        closed = true;
                        break;
                    }
                } else {
                    raw += src[i++];
                }
            }
            if (!closed) {
                throw RcError(file, line, "string is not closed on its line");
            }
            token.kind = RcToken::Kind::String;
            token.str = DecodeString(raw, file, line);
        } else if (IsDigit(c)) {
            std::size_t j = i;
            int base = 10;
            if (c == '0' && j + 1 < end && (src[j + 1] == 'x' || src[j + 1] == 'X')) {
                base = 16;
                j += 2;
            }
            std::int64_t value = 0;
            std::size_t digits = 0;
            for (; j < end; ++j) {
                const char d = src[j];
                int v = -1;
                if (IsDigit(d)) {
                    v = d - '0';
                } else if (base == 16 && d >= 'a' && d <= 'f') {
                    v = d - 'a' + 10;
                } else if (base == 16 && d >= 'A' && d <= 'F') {
                    v = d - 'A' + 10;
                }
                if (v < 0) {
                    break;
                }
                value = value * base + v;
                if (value > 0xFFFFFFFFLL) {
                    throw RcError(file, line, "number does not fit in 32 bits");
                }
                ++digits;
            }
            while (j < end && (src[j] == 'L' || src[j] == 'l' || src[j] == 'U' || src[j] == 'u')) {
                ++j;
            }
            if (digits == 0 || (j < end && IsIdentChar(src[j]))) {
                throw RcError(file, line, "malformed number '" + src.substr(i, j + 1 - i) + "'");
            }
            token.kind = RcToken::Kind::Number;
            token.text = src.substr(i, j - i);
            token.number = value;
            i = j;
        } else if (IsIdentStart(c)) {
            std::size_t j = i;
            while (j < end && IsIdentChar(src[j])) {
                ++j;
            }
            token.kind = RcToken::Kind::Ident;
            token.text = src.substr(i, j - i);
            i = j;
        } else if (std::string_view(",|()+-~{}").find(c) != std::string_view::npos) {
            token.kind = RcToken::Kind::Punct;
            token.text = std::string(1, c);
            ++i;
        } else {
            throw RcError(file, line, std::string("unexpected character '") + c + "'");
        }
        out.push_back(std::move(token));
    }
}

} // namespace

ScriptLexer::ScriptLexer(const std::filesystem::path& script) {
    LexFile(script, 0);
    RcToken end;
    end.kind = RcToken::Kind::End;
    end.file = script.string();
    end.line = m_tokens.empty() ? 1 : m_tokens.back().line;
    m_tokens.push_back(end);
}

void ScriptLexer::LexFile(const std::filesystem::path& path, int depth) {
    const std::string file = path.string();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw RcError(file, 0, "cannot open the file");
    }
    m_files.push_back(file);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    const std::string src = buffer.str();

    std::size_t i = src.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    int line = 1;
    while (i < src.size()) {
        std::size_t lineEnd = src.find('\n', i);
        if (lineEnd == std::string::npos) {
            lineEnd = src.size();
        }
        const std::size_t first = src.find_first_not_of(" \t\r", i);
        if (first < lineEnd && src[first] == '#') {
            Directive(src.substr(first + 1, lineEnd - first - 1), file, line, path, depth);
            i = lineEnd;
            continue;
        }
        // Statements may span lines: scan up to the next line that starts a directive.
        std::size_t stop = lineEnd;
        while (stop < src.size()) {
            const std::size_t next = stop + 1;
            const std::size_t nextFirst = src.find_first_not_of(" \t\r", next);
            if (nextFirst != std::string::npos && src[nextFirst] == '#') {
                break;
            }
            stop = src.find('\n', next);
            if (stop == std::string::npos) {
                stop = src.size();
            }
        }
        Scan(src, i, stop, file, line, m_tokens);
        i = stop;
        if (i < src.size()) {
            ++line; // the line feed before the directive line
            ++i;
        }
        continue;
    }
}

void ScriptLexer::Directive(const std::string& text, const std::string& file, int line,
                            const std::filesystem::path& path, int depth) {
    std::size_t i = text.find_first_not_of(" \t");
    std::size_t j = i;
    while (j < text.size() && IsIdentChar(text[j])) {
        ++j;
    }
    const std::string name = i == std::string::npos ? std::string() : text.substr(i, j - i);
    const std::string rest = j < text.size() ? text.substr(j) : std::string();
    if (name == "pragma") {
        return;
    }
    std::vector<RcToken> tokens;
    int scanLine = line;
    if (name == "include") {
        const std::size_t k = rest.find_first_not_of(" \t");
        if (k != std::string::npos && rest[k] == '<') {
            return; // a system header: its symbols are built into the compiler
        }
        Scan(rest, 0, rest.size(), file, scanLine, tokens);
        if (tokens.size() != 1 || tokens[0].kind != RcToken::Kind::String) {
            throw RcError(file, line, "#include expects one quoted file name");
        }
        if (depth >= kMaxIncludeDepth) {
            throw RcError(file, line, "#include nested too deeply");
        }
        LexFile(path.parent_path() / ScriptPath(tokens[0].str), depth + 1);
        return;
    }
    if (name == "define") {
        Scan(rest, 0, rest.size(), file, scanLine, tokens);
        if (tokens.empty() || tokens[0].kind != RcToken::Kind::Ident) {
            throw RcError(file, line, "#define expects a name");
        }
        RcDefine define;
        define.body.assign(tokens.begin() + 1, tokens.end());
        define.file = file;
        define.line = line;
        const auto found = m_defines.find(tokens[0].text);
        if (found != m_defines.end()) {
            bool same = found->second.body.size() == define.body.size();
            for (std::size_t k = 0; same && k < define.body.size(); ++k) {
                same = found->second.body[k].text == define.body[k].text &&
                       found->second.body[k].str == define.body[k].str;
            }
            if (!same) {
                throw RcError(file, line,
                              "'" + tokens[0].text + "' is already defined differently at " +
                                  found->second.file + ":" + std::to_string(found->second.line));
            }
            return;
        }
        m_defines.emplace(tokens[0].text, std::move(define));
        return;
    }
    throw RcError(file, line, "unsupported directive #" + name);
}
