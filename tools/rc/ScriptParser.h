// Compiles the subset of the resource-script language that the launcher uses: STRINGTABLE,
// DIALOG/DIALOGEX with their control statements, file resources (BITMAP, ICON and custom
// types such as WAVE) and VERSIONINFO. Symbols come from #define and from the platform's
// style and id names built into the compiler.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/rc/ResourceScript.h"
#include "tools/rc/ScriptLexer.h"
#include "tools/rc/VersionBlock.h"

class ScriptParser {
public:
    // Reads and compiles the script; throws RcError ("file:line: error: ...") on the first fault.
    static ResourceScript Compile(const std::filesystem::path& script);

private:
    explicit ScriptParser(const ScriptLexer& lexer);

    // A read position in a token list: the script itself or the body of a #define.
    struct Cursor {
        const std::vector<RcToken>* tokens;
        std::size_t pos = 0;
        const RcToken& Peek() const { return (*tokens)[pos]; }
        const RcToken& Next() { return (*tokens)[pos++]; }
        bool AtEnd() const { return pos >= tokens->size() || Peek().kind == RcToken::Kind::End; }
    };

    void Statement();
    void StringTable();
    void Dialog(const RcName& name, bool extended, const RcToken& at);
    void Control(RcDialog& dialog);
    void FileResource(const RcName& type, const RcName& name, const RcToken& at);
    void VersionInfo(const RcName& name, const RcToken& at);
    void VersionChildren(std::vector<VersionBlock::Node>& out);

    // Expressions: numbers, symbols, ( ), unary - and ~, binary + - |.
    std::int64_t Expr(Cursor& c, int depth = 0);
    std::int64_t Sum(Cursor& c, int depth);
    std::int64_t Unary(Cursor& c, int depth);
    std::int64_t Symbol(const RcToken& token, int depth);
    // A style: terms joined by |, each optionally prefixed by NOT (which clears its bits),
    // applied left to right to the statement's default style.
    std::uint32_t Style(std::uint32_t base);

    std::int64_t Number() { return Expr(m_script); }
    std::int16_t Coordinate();
    std::uint16_t ControlId();
    RcName Name(const RcToken& token);
    void AddData(RcData data, const RcToken& at);

    const RcToken& Peek() const { return m_script.Peek(); }
    const RcToken& Next() { return m_script.Next(); }
    bool IsPunct(const RcToken& token, char c) const;
    bool IsWord(const RcToken& token, const char* word) const;
    bool Accept(char punct);
    void Expect(char punct, const char* what);
    void Begin(const char* what);
    bool AtEndBlock();
    std::u32string String(const char* what);
    [[noreturn]] void Fail(const RcToken& at, const std::string& message) const;

    const ScriptLexer& m_lexer;
    Cursor m_script;
    ResourceScript m_result;
};
