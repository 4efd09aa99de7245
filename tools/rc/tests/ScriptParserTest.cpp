// The resource compiler on small scripts of its own: texts, dialog templates, embedded files,
// the version block, and faults reported at their file and line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/rc/RcError.h"
#include "tools/rc/ScriptParser.h"

namespace {

namespace fs = std::filesystem;

class ScriptParserTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "norvane-rc-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path Write(const std::string& name, const std::string& content) {
        const fs::path path = m_dir / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    ResourceScript Compile(const std::string& script) {
        return ScriptParser::Compile(Write("test.rc", script));
    }

    fs::path m_dir;
};

TEST_F(ScriptParserTest, StringsResolveEscapesAndUtf8) {
    struct Case {
        const char* source;
        std::u32string text;
    };
    const Case cases[] = {
        {R"("two\nlines")", U"two\nlines"},
        {R"("tab\there")", U"tab\there"},
        {R"("back\\slash")", U"back\\slash"},
        {R"("say \"hi\"")", U"say \"hi\""},
        {R"("say ""hi""")", U"say \"hi\""},
        {R"("確定")", U"確定"},
        {R"("clef 𝄞")", U"clef \U0001D11E"},
        {R"("Sound && Vibration")", U"Sound && Vibration"},
        {R"("")", U""},
    };
    std::string script = "#define IDS_BASE 100\nSTRINGTABLE\nBEGIN\n";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        // Written in descending order: the compiled table is sorted by id.
        script += "    IDS_BASE + " + std::to_string(std::size(cases) - 1 - i) + ", " +
                  cases[std::size(cases) - 1 - i].source + "\n";
    }
    script += "END\n";
    const ResourceScript compiled = Compile(script);
    ASSERT_EQ(compiled.strings.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].source);
        EXPECT_EQ(compiled.strings[i].id, 100 + i);
        EXPECT_TRUE(compiled.strings[i].text == cases[i].text);
    }
}

TEST_F(ScriptParserTest, DialogStylesComeFromSymbolsAndStatementDefaults) {
    Write("sub/ids.h", "#define IDD_TEST 200\n#define IDC_LIST (1000 + 1)\n");
    const ResourceScript compiled = Compile(R"(#include "sub\\ids.h"
IDD_TEST DIALOGEX 5, 6, 100, 50
STYLE WS_POPUP | DS_MODALFRAME
EXSTYLE WS_EX_TOPMOST
CAPTION "Title && more"
FONT 10, "System"
BEGIN
    CONTROL "", IDC_LIST, "SysListView32", LVS_ICON | LVS_SINGLESEL | WS_TABSTOP, 1, 2, 30, 40
    CONTROL "Go", 7, button, BS_AUTOCHECKBOX | NOT WS_VISIBLE, 1, 2, 3, 4, WS_EX_CLIENTEDGE
    LTEXT "Sound && Vibration", 1004, 0, 171, 137, 12
    CTEXT "c", 8, 0, 0, 1, 1, SS_NOPREFIX
    RTEXT "r", 9, 0, 0, 1, 1, NOT WS_GROUP
    PUSHBUTTON "Cancel", IDCANCEL, 49, 136, 28, 14, NOT WS_VISIBLE
    DEFPUSHBUTTON "OK", IDOK, 17, 136, 28, 14
    LISTBOX 1021, 5, 43, 103, 32, WS_VSCROLL | LBS_NOINTEGRALHEIGHT
    ICON 141, IDC_STATIC, 9, 7, 18, 16
    ICON "APPICON", -1, 3, 4
END
)");
    ASSERT_EQ(compiled.dialogs.size(), 1u);
    const RcDialog& d = compiled.dialogs[0];
    EXPECT_EQ(d.name.id, 200);
    EXPECT_TRUE(d.extended);
    EXPECT_EQ(d.style, 0x80C000C0u); // WS_POPUP | DS_MODALFRAME, + DS_SETFONT, + WS_CAPTION
    EXPECT_EQ(d.exStyle, 0x8u);
    EXPECT_EQ(d.x, 5);
    EXPECT_EQ(d.cy, 50);
    EXPECT_TRUE(d.caption == U"Title && more");
    EXPECT_EQ(d.fontSize, 10);
    EXPECT_TRUE(d.fontFace == U"System");

    struct Item {
        std::u32string className;
        std::u32string text;
        std::uint16_t textId;
        std::uint16_t id;
        std::uint32_t style;
        std::uint32_t exStyle;
        std::int16_t cx;
    };
    const Item expected[] = {
        {U"SysListView32", U"", 0, 1001, 0x50010004, 0, 30},
        {U"Button", U"Go", 0, 7, 0x40000003, 0x200, 3},
        {U"Static", U"Sound && Vibration", 0, 1004, 0x50020000, 0, 137},
        {U"Static", U"c", 0, 8, 0x50020081, 0, 1},
        {U"Static", U"r", 0, 9, 0x50000002, 0, 1},
        {U"Button", U"Cancel", 0, 2, 0x40010000, 0, 28},
        {U"Button", U"OK", 0, 1, 0x50010001, 0, 28},
        {U"ListBox", U"", 0, 1021, 0x50A00101, 0, 103},
        {U"Static", U"", 141, 0xFFFF, 0x50000003, 0, 18},
        {U"Static", U"APPICON", 0, 0xFFFF, 0x50000003, 0, 0},
    };
    ASSERT_EQ(d.items.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(d.items[i].className == expected[i].className);
        EXPECT_TRUE(d.items[i].text == expected[i].text);
        EXPECT_EQ(d.items[i].textId, expected[i].textId);
        EXPECT_EQ(d.items[i].id, expected[i].id);
        EXPECT_EQ(d.items[i].style, expected[i].style);
        EXPECT_EQ(d.items[i].exStyle, expected[i].exStyle);
        EXPECT_EQ(d.items[i].cx, expected[i].cx);
    }
}

TEST_F(ScriptParserTest, FileResourcesEmbedTheFilesAsTheyAre) {
    const std::string bmp("BM\x00\x01\xFF", 5);
    const std::string ico("\x00\x00\x01\x00", 4);
    const std::string wav("RIFF\x24\x00\x00\x00WAVE", 12);
    Write("art/bg.bmp", bmp);
    Write("art/app.ico", ico);
    Write("click.wav", wav);
    Write("ids.h", "#define IDB_BG 130\n");
    const ResourceScript compiled = Compile(R"(#include "ids.h"
IDB_BG BITMAP "art\\bg.bmp"
128 ICON "art/app.ico"
143 WAVE "click.wav"
Logo 300 "click.wav"
)");
    struct Case {
        std::uint16_t typeId;
        std::string typeName;
        std::uint16_t id;
        std::string name;
        std::string bytes;
    };
    const Case cases[] = {
        {2, "", 130, "", bmp},     // RT_BITMAP
        {14, "", 128, "", ico},    // RT_GROUP_ICON
        {0, "WAVE", 143, "", wav}, // a custom type keeps its name
        {300, "", 0, "LOGO", wav}, // a numbered type; an undefined name names by text
    };
    ASSERT_EQ(compiled.data.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const RcData& data = compiled.data[i];
        EXPECT_EQ(data.type.id, cases[i].typeId);
        EXPECT_EQ(data.type.name, cases[i].typeName);
        EXPECT_EQ(data.name.id, cases[i].id);
        EXPECT_EQ(data.name.name, cases[i].name);
        EXPECT_EQ(std::string(data.bytes.begin(), data.bytes.end()), cases[i].bytes);
    }
    // The build rebuilds the resources when any of these change.
    std::vector<std::string> names;
    for (const std::string& dep : compiled.dependencies) {
        names.push_back(fs::path(dep).filename().string());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"test.rc", "ids.h", "bg.bmp", "app.ico", "click.wav",
                                               "click.wav"}));
}

// Walks a VS_VERSIONINFO block to the node at path; returns its value bytes.
std::string FindVersionValue(const std::vector<std::uint8_t>& block,
                             const std::vector<std::u16string>& path, std::uint16_t* type) {
    auto word = [&](std::size_t at) { return std::uint16_t(block[at] | (block[at + 1] << 8)); };
    auto align = [](std::size_t at) { return (at + 3) & ~std::size_t(3); };
    std::size_t start = 0;
    std::size_t end = word(0);
    for (std::size_t depth = 0; depth <= path.size(); ++depth) {
        std::size_t at = start + 6;
        std::u16string key;
        while (word(at) != 0) {
            key += char16_t(word(at));
            at += 2;
        }
        at = align(at + 2);
        const std::uint16_t valueLength = word(start + 2);
        const std::size_t valueBytes = word(start + 4) == 1 ? valueLength * 2u : valueLength;
        if (depth == path.size()) {
            *type = word(start + 4);
            return std::string(block.begin() + long(at), block.begin() + long(at + valueBytes));
        }
        std::size_t child = align(at + valueBytes);
        bool found = false;
        while (child < end) {
            const std::size_t childEnd = child + word(child);
            std::u16string childKey;
            for (std::size_t k = child + 6; word(k) != 0; k += 2) {
                childKey += char16_t(word(k));
            }
            if (childKey == path[depth]) {
                start = child;
                end = childEnd;
                found = true;
                break;
            }
            child = align(childEnd);
        }
        if (!found) {
            return "<missing>";
        }
    }
    return "<missing>";
}

TEST_F(ScriptParserTest, VersionInfoIsThePlatformsBinaryBlock) {
    const ResourceScript compiled = Compile(R"(VS_VERSION_INFO VERSIONINFO
 FILEVERSION 1,2,2,12
 PRODUCTVERSION 3,4,5,6
 FILEFLAGSMASK 0x3fL
 FILEOS VOS_WINDOWSCE
 FILETYPE VFT_APP
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "040904b0"
        BEGIN
            VALUE "FileVersion", "1.2.2"
            VALUE "ProductName", "NorvaneApp"
        END
    END
    BLOCK "VarFileInfo"
    BEGIN
        VALUE "Translation", 0x409, 1200
    END
END
)");
    ASSERT_EQ(compiled.data.size(), 1u);
    EXPECT_EQ(compiled.data[0].type.id, 16); // RT_VERSION
    EXPECT_EQ(compiled.data[0].name.id, 1);
    const std::vector<std::uint8_t>& block = compiled.data[0].bytes;
    ASSERT_GE(block.size(), 92u);
    EXPECT_EQ(block[0] | (block[1] << 8), int(block.size()));
    std::uint16_t type = 0;
    const std::string fixed = FindVersionValue(block, {}, &type);
    ASSERT_EQ(fixed.size(), 52u);
    EXPECT_EQ(type, 0);
    auto dword = [&](std::size_t i) {
        return std::uint32_t(std::uint8_t(fixed[i])) |
               std::uint32_t(std::uint8_t(fixed[i + 1])) << 8 |
               std::uint32_t(std::uint8_t(fixed[i + 2])) << 16 |
               std::uint32_t(std::uint8_t(fixed[i + 3])) << 24;
    };
    EXPECT_EQ(dword(0), 0xFEEF04BDu);
    EXPECT_EQ(dword(8), 0x00010002u);
    EXPECT_EQ(dword(12), 0x0002000Cu);
    EXPECT_EQ(dword(16), 0x00030004u);
    EXPECT_EQ(dword(20), 0x00050006u);
    EXPECT_EQ(dword(24), 0x3Fu);
    EXPECT_EQ(dword(32), 0x4u);
    EXPECT_EQ(dword(36), 0x1u);

    EXPECT_EQ(FindVersionValue(block, {u"StringFileInfo", u"040904b0", u"ProductName"}, &type),
              std::string("N\0o\0r\0v\0a\0n\0e\0A\0p\0p\0\0\0", 22));
    EXPECT_EQ(type, 1);
    EXPECT_EQ(FindVersionValue(block, {u"StringFileInfo", u"040904b0", u"FileVersion"}, &type),
              std::string("1\0.\0002\0.\0002\0\0\0", 12));
    EXPECT_EQ(FindVersionValue(block, {u"VarFileInfo", u"Translation"}, &type),
              std::string("\x09\x04\xB0\x04", 4));
    EXPECT_EQ(type, 0);
}

TEST_F(ScriptParserTest, FaultsNameTheirFileAndLine) {
    struct Case {
        const char* script;
        const char* file;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"STRINGTABLE\nBEGIN\n  IDS_NOWHERE, \"x\"\nEND\n", "test.rc", 3,
         "unknown symbol 'IDS_NOWHERE'"},
        {"STRINGTABLE\nBEGIN\n  1, \"a\\qb\"\nEND\n", "test.rc", 3, "unknown escape \\q"},
        {"STRINGTABLE\nBEGIN\n  1, \"open\n\"\nEND\n", "test.rc", 3, "not closed"},
        {"STRINGTABLE\nBEGIN\n\n  1, \"\xC3\x28\"\nEND\n", "test.rc", 4, "not valid UTF-8"},
        {"STRINGTABLE\nBEGIN\n  1, \"a\"\n  1, \"b\"\nEND\n", "test.rc", 4, "defined twice"},
        {"// art\n130 BITMAP \"missing.bmp\"\n", "test.rc", 2, "cannot open"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT 1, 0, 0, 1, 1\nEND\n", "test.rc", 3,
         "unsupported control statement 'EDITTEXT'"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\" 1, 0, 0, 1, 1\nEND\n", "test.rc", 3,
         "expected ','"},
        {"STRINGTABLE\nBEGIN\n  1, \"a\"\n", "test.rc", 3, "missing END"},
        {"#include \"bad.h\"\n", "bad.h", 2, "already defined differently"},
        {"#ifdef X\n", "test.rc", 1, "unsupported directive #ifdef"},
        {"1 DIALOG 0, 0, 40000, 10\nBEGIN\nEND\n", "test.rc", 1, "does not fit in 16 bits"},
    };
    Write("bad.h", "#define A 1\n#define A 2\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        try {
            Compile(c.script);
            ADD_FAILURE() << "compiled without error";
        } catch (const RcError& e) {
            EXPECT_EQ(fs::path(e.File()).filename().string(), c.file);
            EXPECT_EQ(e.Line(), c.line);
            const std::string what = e.what();
            EXPECT_NE(what.find(e.File() + ":" + std::to_string(c.line) + ": error: "),
                      std::string::npos)
                << what;
            EXPECT_NE(what.find(c.message), std::string::npos) << what;
        }
    }
}

} // namespace
