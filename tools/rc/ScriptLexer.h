// Turns a resource script and the headers it includes into tokens, and collects the symbols
// that #define gives. Handles the directives the project's scripts use: #include "file"
// (relative to the including file; <system> headers are skipped, their symbols are built in),
// #define NAME value and #pragma (ignored).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct RcToken {
    enum class Kind { Ident, Number, String, Punct, End };
    Kind kind = Kind::End;
    std::string text;        // the identifier, the punctuation or the number as written
    std::int64_t number = 0; // Number
    std::u32string str;      // String, escapes resolved
    std::string file;
    int line = 0;
};

struct RcDefine {
    std::vector<RcToken> body;
    std::string file;
    int line = 0;
};

class ScriptLexer {
public:
    // Reads the script; throws RcError on the first fault.
    explicit ScriptLexer(const std::filesystem::path& script);

    // Every token of the script and its includes, in reading order, ending with End.
    const std::vector<RcToken>& Tokens() const { return m_tokens; }
    const std::map<std::string, RcDefine>& Defines() const { return m_defines; }
    const std::vector<std::string>& Files() const { return m_files; }

private:
    void LexFile(const std::filesystem::path& path, int depth);
    void Directive(const std::string& text, const std::string& file, int line,
                   const std::filesystem::path& path, int depth);

    std::vector<RcToken> m_tokens;
    std::map<std::string, RcDefine> m_defines;
    std::vector<std::string> m_files;
};
