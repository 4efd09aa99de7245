#include "tools/rc/ScriptParser.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>

#include "tools/rc/RcError.h"

namespace {

// #define chains deeper than this are a loop.
constexpr int kMaxSymbolDepth = 32;

constexpr std::uint32_t WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000,
                        WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_SYSMENU = 0x00080000,
                        WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000;
constexpr std::uint32_t DS_SETFONT = 0x40;
constexpr std::uint32_t SS_LEFT = 0, SS_CENTER = 1, SS_RIGHT = 2, SS_ICON = 3;
constexpr std::uint32_t BS_PUSHBUTTON = 0, BS_DEFPUSHBUTTON = 1;
constexpr std::uint32_t LBS_NOTIFY = 1;

constexpr std::uint16_t RT_BITMAP = 2, RT_GROUP_ICON = 14, RT_VERSION = 16;

// The names that the platform's headers (windows.h, commctrl.h, afxres.h, winver.h) give and
// that scripts use without defining them.
const std::map<std::string, std::int64_t>& BuiltinSymbols() {
    static const std::map<std::string, std::int64_t> symbols = {
        {"WS_OVERLAPPED", 0},
        {"WS_POPUP", 0x80000000},
        {"WS_CHILD", 0x40000000},
        {"WS_MINIMIZE", 0x20000000},
        {"WS_VISIBLE", 0x10000000},
        {"WS_DISABLED", 0x08000000},
        {"WS_CLIPSIBLINGS", 0x04000000},
        {"WS_CLIPCHILDREN", 0x02000000},
        {"WS_CAPTION", 0x00C00000},
        {"WS_BORDER", 0x00800000},
        {"WS_DLGFRAME", 0x00400000},
        {"WS_VSCROLL", 0x00200000},
        {"WS_HSCROLL", 0x00100000},
        {"WS_SYSMENU", 0x00080000},
        {"WS_THICKFRAME", 0x00040000},
        {"WS_GROUP", 0x00020000},
        {"WS_TABSTOP", 0x00010000},
        {"WS_EX_DLGMODALFRAME", 0x00000001},
        {"WS_EX_TOPMOST", 0x00000008},
        {"WS_EX_TRANSPARENT", 0x00000020},
        {"WS_EX_WINDOWEDGE", 0x00000100},
        {"WS_EX_CLIENTEDGE", 0x00000200},
        {"WS_EX_STATICEDGE", 0x00020000},
        {"DS_ABSALIGN", 0x01},
        {"DS_SYSMODAL", 0x02},
        {"DS_3DLOOK", 0x04},
        {"DS_FIXEDSYS", 0x08},
        {"DS_NOFAILCREATE", 0x10},
        {"DS_LOCALEDIT", 0x20},
        {"DS_SETFONT", 0x40},
        {"DS_MODALFRAME", 0x80},
        {"DS_NOIDLEMSG", 0x100},
        {"DS_SETFOREGROUND", 0x200},
        {"DS_CONTROL", 0x400},
        {"DS_CENTER", 0x800},
        {"DS_CENTERMOUSE", 0x1000},
        {"SS_LEFT", 0x00},
        {"SS_CENTER", 0x01},
        {"SS_RIGHT", 0x02},
        {"SS_ICON", 0x03},
        {"SS_BLACKRECT", 0x04},
        {"SS_LEFTNOWORDWRAP", 0x0C},
        {"SS_BITMAP", 0x0E},
        {"SS_NOPREFIX", 0x80},
        {"SS_NOTIFY", 0x100},
        {"SS_CENTERIMAGE", 0x200},
        {"BS_PUSHBUTTON", 0x00},
        {"BS_DEFPUSHBUTTON", 0x01},
        {"BS_CHECKBOX", 0x02},
        {"BS_AUTOCHECKBOX", 0x03},
        {"BS_RADIOBUTTON", 0x04},
        {"BS_GROUPBOX", 0x07},
        {"BS_AUTORADIOBUTTON", 0x09},
        {"BS_OWNERDRAW", 0x0B},
        {"BS_LEFT", 0x100},
        {"BS_RIGHT", 0x200},
        {"BS_CENTER", 0x300},
        {"BS_MULTILINE", 0x2000},
        {"BS_NOTIFY", 0x4000},
        {"BS_FLAT", 0x8000},
        {"LBS_NOTIFY", 0x0001},
        {"LBS_SORT", 0x0002},
        {"LBS_NOREDRAW", 0x0004},
        {"LBS_MULTIPLESEL", 0x0008},
        {"LBS_OWNERDRAWFIXED", 0x0010},
        {"LBS_HASSTRINGS", 0x0040},
        {"LBS_USETABSTOPS", 0x0080},
        {"LBS_NOINTEGRALHEIGHT", 0x0100},
        {"LBS_EXTENDEDSEL", 0x0800},
        {"LBS_DISABLENOSCROLL", 0x1000},
        {"LVS_ICON", 0x0000},
        {"LVS_REPORT", 0x0001},
        {"LVS_SMALLICON", 0x0002},
        {"LVS_LIST", 0x0003},
        {"LVS_SINGLESEL", 0x0004},
        {"LVS_SHOWSELALWAYS", 0x0008},
        {"LVS_SORTASCENDING", 0x0010},
        {"LVS_SORTDESCENDING", 0x0020},
        {"LVS_SHAREIMAGELISTS", 0x0040},
        {"LVS_NOLABELWRAP", 0x0080},
        {"LVS_AUTOARRANGE", 0x0100},
        {"LVS_EDITLABELS", 0x0200},
        {"LVS_ALIGNLEFT", 0x0800},
        {"LVS_NOSCROLL", 0x2000},
        {"IDOK", 1},
        {"IDCANCEL", 2},
        {"IDABORT", 3},
        {"IDRETRY", 4},
        {"IDIGNORE", 5},
        {"IDYES", 6},
        {"IDNO", 7},
        {"IDC_STATIC", -1},
        {"VS_VERSION_INFO", 1},
        {"VS_FF_DEBUG", 0x01},
        {"VS_FFI_FILEFLAGSMASK", 0x3F},
        {"VOS_WINDOWSCE", 0x00000004},
        {"VOS__WINDOWS32", 0x00000004},
        {"VFT_APP", 0x01},
        {"VFT_DLL", 0x02},
        {"VFT2_UNKNOWN", 0x00},
    };
    return symbols;
}

// The predefined window classes keep one spelling whatever case the script writes them in.
std::u32string CanonicalClass(const std::u32string& name) {
    static const std::u32string known[] = {U"Button",  U"Edit",      U"Static",
                                           U"ListBox", U"ScrollBar", U"ComboBox"};
    auto lower = [](char32_t c) { return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c; };
    for (const std::u32string& k : known) {
        if (std::equal(k.begin(), k.end(), name.begin(), name.end(),
                       [&](char32_t a, char32_t b) { return lower(a) == lower(b); })) {
            return k;
        }
    }
    return name;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = char(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

bool SameName(const RcName& a, const RcName& b) {
    return a.id == b.id && a.name == b.name;
}

std::string Describe(const RcName& name) {
    return name.id != 0 ? std::to_string(name.id) : name.name;
}

// A token as an error message shows it.
std::string Shown(const RcToken& token) {
    switch (token.kind) {
    case RcToken::Kind::End:
        return "the end of the file";
    case RcToken::Kind::String:
        return "\"" + ToUtf8(token.str) + "\"";
    default:
        return "'" + token.text + "'";
    }
}

std::u32string FromAscii(const std::string& text) {
    return std::u32string(text.begin(), text.end());
}

} // namespace

ResourceScript ScriptParser::Compile(const std::filesystem::path& script) {
    ScriptLexer lexer(script);
    ScriptParser parser(lexer);
    while (!parser.m_script.AtEnd()) {
        parser.Statement();
    }
    std::sort(parser.m_result.strings.begin(), parser.m_result.strings.end(),
              [](const RcString& a, const RcString& b) { return a.id < b.id; });
    std::vector<std::string>& deps = parser.m_result.dependencies;
    deps.insert(deps.begin(), lexer.Files().begin(), lexer.Files().end());
    return std::move(parser.m_result);
}

ScriptParser::ScriptParser(const ScriptLexer& lexer) : m_lexer(lexer) {
    m_script.tokens = &lexer.Tokens();
}

void ScriptParser::Statement() {
    const RcToken& first = Next();
    if (IsWord(first, "STRINGTABLE")) {
        StringTable();
        return;
    }
    if (first.kind != RcToken::Kind::Ident && first.kind != RcToken::Kind::Number) {
        Fail(first, "expected a resource statement, found " + Shown(first));
    }
    for (const char* unsupported : {"LANGUAGE", "VERSION", "CHARACTERISTICS"}) {
        if (IsWord(first, unsupported)) {
            Fail(first, std::string(unsupported) + " statements are not supported");
        }
    }
    const RcName name = Name(first);
    const RcToken& type = Next();
    if (IsWord(type, "DIALOG") || IsWord(type, "DIALOGEX")) {
        Dialog(name, IsWord(type, "DIALOGEX"), first);
    } else if (IsWord(type, "VERSIONINFO")) {
        VersionInfo(name, first);
    } else if (IsWord(type, "BITMAP")) {
        FileResource(RcName{RT_BITMAP, {}}, name, first);
    } else if (IsWord(type, "ICON")) {
        FileResource(RcName{RT_GROUP_ICON, {}}, name, first);
    } else if (type.kind == RcToken::Kind::Ident) {
        for (const char* unsupported :
             {"MENU", "MENUEX", "ACCELERATORS", "CURSOR", "FONT", "MESSAGETABLE", "TEXTINCLUDE",
              "DLGINIT", "TOOLBAR", "RCDATA", "HTML"}) {
            if (IsWord(type, unsupported)) {
                Fail(type, "resource type " + std::string(unsupported) + " is not supported");
            }
        }
        FileResource(RcName{0, Upper(type.text)}, name, first);
    } else if (type.kind == RcToken::Kind::Number) {
        if (type.number < 1 || type.number > 0xFFFF) {
            Fail(type, "resource type " + type.text + " is out of range");
        }
        FileResource(RcName{std::uint16_t(type.number), {}}, name, first);
    } else {
        Fail(type, "expected a resource type after " + Shown(first) + ", found " + Shown(type));
    }
}

void ScriptParser::StringTable() {
    Begin("STRINGTABLE");
    std::set<std::uint32_t> seen;
    for (const RcString& s : m_result.strings) {
        seen.insert(s.id);
    }
    while (!AtEndBlock()) {
        const RcToken& at = Peek();
        const std::int64_t id = Number();
        if (id < 0 || id > 0xFFFF) {
            Fail(at, "string id " + std::to_string(id) + " is out of range 0..65535");
        }
        Accept(',');
        RcString entry;
        entry.id = std::uint32_t(id);
        entry.text = String("the string's text");
        if (!seen.insert(entry.id).second) {
            Fail(at, "string id " + std::to_string(id) + " is defined twice");
        }
        m_result.strings.push_back(std::move(entry));
    }
}

void ScriptParser::Dialog(const RcName& name, bool extended, const RcToken& at) {
    for (const RcDialog& d : m_result.dialogs) {
        if (SameName(d.name, name)) {
            Fail(at, "dialog " + Describe(name) + " is defined twice");
        }
    }
    RcDialog dialog;
    dialog.name = name;
    dialog.extended = extended;
    dialog.x = Coordinate();
    Expect(',', "after the dialog's x");
    dialog.y = Coordinate();
    Expect(',', "after the dialog's y");
    dialog.cx = Coordinate();
    Expect(',', "after the dialog's width");
    dialog.cy = Coordinate();
    if (extended && Accept(',')) {
        Number(); // help id: nothing on the device reads it
    }
    std::optional<std::uint32_t> style;
    bool hasFont = false;
    bool hasCaption = false;
    while (!IsWord(Peek(), "BEGIN") && !IsPunct(Peek(), '{')) {
        const RcToken& option = Next();
        if (IsWord(option, "STYLE")) {
            style = Style(0);
        } else if (IsWord(option, "EXSTYLE")) {
            dialog.exStyle = Style(0);
        } else if (IsWord(option, "CAPTION")) {
            dialog.caption = String("the caption");
            hasCaption = true;
        } else if (IsWord(option, "FONT")) {
            const RcToken& sizeAt = Peek();
            const std::int64_t size = Number();
            if (size < 1 || size > 0xFFFF) {
                Fail(sizeAt, "font size " + std::to_string(size) + " is out of range");
            }
            dialog.fontSize = std::uint16_t(size);
            Expect(',', "after the font size");
            dialog.fontFace = String("the font's face name");
            while (extended && Accept(',')) {
                Number(); // weight, italic, character set: the device's fonts have one of each
            }
            hasFont = true;
        } else {
            Fail(option, "unsupported dialog option " + Shown(option));
        }
    }
    dialog.style = style.value_or(WS_POPUP | WS_BORDER | WS_SYSMENU);
    if (hasFont) {
        dialog.style |= DS_SETFONT;
    }
    if (hasCaption) {
        dialog.style |= WS_CAPTION;
    }
    Begin("the dialog");
    while (!AtEndBlock()) {
        Control(dialog);
    }
    m_result.dialogs.push_back(std::move(dialog));
}

void ScriptParser::Control(RcDialog& dialog) {
    const RcToken& keyword = Next();
    RcDialogItem item;
    auto textOrOrdinal = [&] {
        if (Peek().kind == RcToken::Kind::String) {
            item.text = Next().str;
        } else {
            const RcToken& at = Peek();
            const std::int64_t id = Number();
            if (id < 1 || id > 0xFFFF) {
                Fail(at, "resource id " + std::to_string(id) + " is out of range 1..65535");
            }
            item.textId = std::uint16_t(id);
        }
        Expect(',', "after the control's text");
    };
    auto rectangle = [&] {
        item.x = Coordinate();
        Expect(',', "after the control's x");
        item.y = Coordinate();
        Expect(',', "after the control's y");
        item.cx = Coordinate();
        Expect(',', "after the control's width");
        item.cy = Coordinate();
    };
    auto styles = [&](std::uint32_t base) {
        item.style = base;
        if (Accept(',')) {
            item.style = Style(base);
            if (Accept(',')) {
                item.exStyle = Style(0);
            }
        }
    };
    const std::uint32_t child = WS_CHILD | WS_VISIBLE;

    if (IsWord(keyword, "CONTROL")) {
        textOrOrdinal();
        item.id = ControlId();
        Expect(',', "after the control's id");
        const RcToken& cls = Next();
        if (cls.kind == RcToken::Kind::String) {
            item.className = CanonicalClass(cls.str);
        } else if (cls.kind == RcToken::Kind::Ident) {
            item.className = CanonicalClass(FromAscii(cls.text));
        } else {
            Fail(cls, "expected the control's class name");
        }
        Expect(',', "after the control's class");
        item.style = Style(child);
        Expect(',', "after the control's style");
        rectangle();
        if (Accept(',')) {
            item.exStyle = Style(0);
        }
    } else if (IsWord(keyword, "LTEXT") || IsWord(keyword, "CTEXT") || IsWord(keyword, "RTEXT")) {
        item.className = U"Static";
        item.text = String("the control's text");
        Expect(',', "after the control's text");
        item.id = ControlId();
        Expect(',', "after the control's id");
        rectangle();
        const std::uint32_t align = IsWord(keyword, "LTEXT")   ? SS_LEFT
                                    : IsWord(keyword, "CTEXT") ? SS_CENTER
                                                               : SS_RIGHT;
        styles(child | WS_GROUP | align);
    } else if (IsWord(keyword, "PUSHBUTTON") || IsWord(keyword, "DEFPUSHBUTTON")) {
        item.className = U"Button";
        item.text = String("the button's text");
        Expect(',', "after the button's text");
        item.id = ControlId();
        Expect(',', "after the button's id");
        rectangle();
        styles(child | WS_TABSTOP |
               (IsWord(keyword, "DEFPUSHBUTTON") ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
    } else if (IsWord(keyword, "LISTBOX")) {
        item.className = U"ListBox";
        item.id = ControlId();
        Expect(',', "after the list box's id");
        rectangle();
        styles(child | LBS_NOTIFY | WS_BORDER);
    } else if (IsWord(keyword, "ICON")) {
        item.className = U"Static";
        textOrOrdinal();
        item.id = ControlId();
        Expect(',', "after the icon's id");
        item.x = Coordinate();
        Expect(',', "after the icon's x");
        item.y = Coordinate();
        item.style = child | SS_ICON;
        if (Accept(',')) {
            item.cx = Coordinate();
            Expect(',', "after the icon's width");
            item.cy = Coordinate();
            styles(child | SS_ICON);
        }
    } else {
        Fail(keyword, "unsupported control statement " + Shown(keyword));
    }
    dialog.items.push_back(std::move(item));
}

void ScriptParser::FileResource(const RcName& type, const RcName& name, const RcToken& at) {
    const RcToken& fileAt = Peek();
    const std::u32string file = String("a file name");
    const std::filesystem::path path =
        std::filesystem::path(fileAt.file).parent_path() / ScriptPath(file);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Fail(fileAt, "cannot open '" + path.string() + "'");
    }
    RcData data;
    data.type = type;
    data.name = name;
    data.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    m_result.dependencies.push_back(path.string());
    AddData(std::move(data), at);
}

void ScriptParser::VersionInfo(const RcName& name, const RcToken& at) {
    VersionBlock::Fixed fixed;
    auto version = [&](std::uint32_t& ms, std::uint32_t& ls) {
        std::uint16_t parts[4] = {0, 0, 0, 0};
        for (int i = 0; i < 4; ++i) {
            if (i > 0) {
                Expect(',', "between version numbers");
            }
            const RcToken& partAt = Peek();
            const std::int64_t v = Number();
            if (v < 0 || v > 0xFFFF) {
                Fail(partAt, "version number " + std::to_string(v) + " is out of range");
            }
            parts[i] = std::uint16_t(v);
        }
        ms = (std::uint32_t(parts[0]) << 16) | parts[1];
        ls = (std::uint32_t(parts[2]) << 16) | parts[3];
    };
    while (!IsWord(Peek(), "BEGIN") && !IsPunct(Peek(), '{')) {
        const RcToken& field = Next();
        if (IsWord(field, "FILEVERSION")) {
            version(fixed.fileVersionMS, fixed.fileVersionLS);
        } else if (IsWord(field, "PRODUCTVERSION")) {
            version(fixed.productVersionMS, fixed.productVersionLS);
        } else if (IsWord(field, "FILEFLAGSMASK")) {
            fixed.fileFlagsMask = std::uint32_t(Number());
        } else if (IsWord(field, "FILEFLAGS")) {
            fixed.fileFlags = std::uint32_t(Number());
        } else if (IsWord(field, "FILEOS")) {
            fixed.fileOS = std::uint32_t(Number());
        } else if (IsWord(field, "FILETYPE")) {
            fixed.fileType = std::uint32_t(Number());
        } else if (IsWord(field, "FILESUBTYPE")) {
            fixed.fileSubtype = std::uint32_t(Number());
        } else {
            Fail(field, "unsupported VERSIONINFO field " + Shown(field));
        }
    }
    std::vector<VersionBlock::Node> children;
    Begin("VERSIONINFO");
    VersionChildren(children);
    RcData data;
    data.type = RcName{RT_VERSION, {}};
    data.name = name;
    try {
        data.bytes = VersionBlock::Build(fixed, children);
    } catch (const std::length_error& e) {
        Fail(at, e.what());
    }
    AddData(std::move(data), at);
}

void ScriptParser::VersionChildren(std::vector<VersionBlock::Node>& out) {
    while (!AtEndBlock()) {
        const RcToken& keyword = Next();
        VersionBlock::Node node;
        if (IsWord(keyword, "BLOCK")) {
            node.key = String("the block's name");
            Begin("the BLOCK");
            VersionChildren(node.children);
        } else if (IsWord(keyword, "VALUE")) {
            node.key = String("the value's name");
            node.isValue = true;
            Expect(',', "after the value's name");
            if (Peek().kind == RcToken::Kind::String) {
                node.text = Next().str;
            } else {
                node.isText = false;
                do {
                    const RcToken& wordAt = Peek();
                    const std::int64_t w = Number();
                    if (w < 0 || w > 0xFFFF) {
                        Fail(wordAt, "value " + std::to_string(w) + " does not fit in 16 bits");
                    }
                    node.words.push_back(std::uint16_t(w));
                } while (Accept(','));
            }
        } else {
            Fail(keyword, "expected BLOCK or VALUE, found " + Shown(keyword));
        }
        out.push_back(std::move(node));
    }
}

void ScriptParser::AddData(RcData data, const RcToken& at) {
    for (const RcData& d : m_result.data) {
        if (SameName(d.type, data.type) && SameName(d.name, data.name)) {
            Fail(at, "resource " + Describe(data.name) + " of type " + Describe(data.type) +
                         " is defined twice");
        }
    }
    m_result.data.push_back(std::move(data));
}

std::int64_t ScriptParser::Expr(Cursor& c, int depth) {
    std::int64_t value = Sum(c, depth);
    while (!c.AtEnd() && IsPunct(c.Peek(), '|')) {
        c.Next();
        value = (value | Sum(c, depth)) & 0xFFFFFFFF;
    }
    return value;
}

std::int64_t ScriptParser::Sum(Cursor& c, int depth) {
    std::int64_t value = Unary(c, depth);
    while (!c.AtEnd() && (IsPunct(c.Peek(), '+') || IsPunct(c.Peek(), '-'))) {
        const bool plus = IsPunct(c.Next(), '+');
        const std::int64_t rhs = Unary(c, depth);
        value = plus ? value + rhs : value - rhs;
    }
    return value;
}

std::int64_t ScriptParser::Unary(Cursor& c, int depth) {
    if (c.AtEnd()) {
        Fail(c.pos > 0 ? (*c.tokens)[c.pos - 1] : c.Peek(), "expected a number");
    }
    const RcToken& t = c.Next();
    if (IsPunct(t, '-')) {
        return -Unary(c, depth);
    }
    if (IsPunct(t, '~')) {
        return ~Unary(c, depth) & 0xFFFFFFFF;
    }
    if (IsPunct(t, '(')) {
        const std::int64_t value = Expr(c, depth);
        if (c.AtEnd() || !IsPunct(c.Peek(), ')')) {
            Fail(t, "'(' without its ')'");
        }
        c.Next();
        return value;
    }
    if (t.kind == RcToken::Kind::Number) {
        return t.number;
    }
    if (t.kind == RcToken::Kind::Ident) {
        return Symbol(t, depth);
    }
    Fail(t, "expected a number, found " + Shown(t));
}

std::int64_t ScriptParser::Symbol(const RcToken& token, int depth) {
    const auto defined = m_lexer.Defines().find(token.text);
    if (defined != m_lexer.Defines().end()) {
        if (depth >= kMaxSymbolDepth) {
            Fail(token, "'" + token.text + "' is defined in terms of itself");
        }
        if (defined->second.body.empty()) {
            Fail(token, "'" + token.text + "' is defined without a value");
        }
        Cursor body{&defined->second.body, 0};
        const std::int64_t value = Expr(body, depth + 1);
        if (body.pos != body.tokens->size()) {
            Fail(token, "the value of '" + token.text + "' (" + defined->second.file + ":" +
                            std::to_string(defined->second.line) + ") is not a number");
        }
        return value;
    }
    const auto builtin = BuiltinSymbols().find(token.text);
    if (builtin != BuiltinSymbols().end()) {
        return builtin->second;
    }
    Fail(token, "unknown symbol '" + token.text + "'");
}

std::uint32_t ScriptParser::Style(std::uint32_t base) {
    std::uint32_t value = base;
    do {
        if (IsWord(Peek(), "NOT")) {
            Next();
            value &= ~std::uint32_t(Sum(m_script, 0));
        } else {
            value |= std::uint32_t(Sum(m_script, 0));
        }
    } while (Accept('|'));
    return value;
}

std::int16_t ScriptParser::Coordinate() {
    const RcToken& at = Peek();
    const std::int64_t v = Number();
    if (v < -32768 || v > 32767) {
        Fail(at, "coordinate " + std::to_string(v) + " does not fit in 16 bits");
    }
    return std::int16_t(v);
}

std::uint16_t ScriptParser::ControlId() {
    const RcToken& at = Peek();
    const std::int64_t v = Number();
    if (v < -32768 || v > 0xFFFF) {
        Fail(at, "control id " + std::to_string(v) + " does not fit in 16 bits");
    }
    return std::uint16_t(v & 0xFFFF);
}

RcName ScriptParser::Name(const RcToken& token) {
    std::int64_t id = 0;
    if (token.kind == RcToken::Kind::Number) {
        id = token.number;
    } else if (m_lexer.Defines().count(token.text) != 0 ||
               BuiltinSymbols().count(token.text) != 0) {
        id = Symbol(token, 0);
    } else {
        return RcName{0, Upper(token.text)}; // an undefined name names the resource by text
    }
    if (id < 1 || id > 0xFFFF) {
        Fail(token, "resource id " + std::to_string(id) + " is out of range 1..65535");
    }
    return RcName{std::uint16_t(id), {}};
}

bool ScriptParser::IsPunct(const RcToken& token, char c) const {
    return token.kind == RcToken::Kind::Punct && token.text[0] == c;
}

bool ScriptParser::IsWord(const RcToken& token, const char* word) const {
    return token.kind == RcToken::Kind::Ident && Upper(token.text) == word;
}

bool ScriptParser::Accept(char punct) {
    if (IsPunct(Peek(), punct)) {
        Next();
        return true;
    }
    return false;
}

void ScriptParser::Expect(char punct, const char* what) {
    if (!Accept(punct)) {
        const RcToken& t = Peek();
        Fail(t, std::string("expected '") + punct + "' " + what + ", found " + Shown(t));
    }
}

void ScriptParser::Begin(const char* what) {
    if (!IsWord(Peek(), "BEGIN") && !IsPunct(Peek(), '{')) {
        Fail(Peek(), std::string("expected BEGIN of ") + what);
    }
    Next();
}

bool ScriptParser::AtEndBlock() {
    if (m_script.AtEnd()) {
        Fail(Peek(), "missing END before the end of the file");
    }
    if (IsWord(Peek(), "END") || IsPunct(Peek(), '}')) {
        Next();
        return true;
    }
    return false;
}

std::u32string ScriptParser::String(const char* what) {
    const RcToken& t = Peek();
    if (t.kind != RcToken::Kind::String) {
        Fail(t, std::string("expected ") + what + " as a quoted string");
    }
    return Next().str;
}

void ScriptParser::Fail(const RcToken& at, const std::string& message) const {
    throw RcError(at.file, at.line, message);
}
