// What a resource script describes, once compiled: string table, dialog templates and the
// byte resources (files embedded as they are, and the binary version block).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A resource or type name: an ordinal when id is non-zero, otherwise an upper-case name.
struct RcName {
    std::uint16_t id = 0;
    std::string name;
};

struct RcString {
    std::uint32_t id = 0;
    std::u32string text;
};

struct RcDialogItem {
    std::u32string
        className; // "Button", "Static", "ListBox", ... or a class such as "SysListView32"
    std::u32string text;
    std::uint16_t textId = 0; // non-zero: the text is this resource ordinal (an icon's id)
    std::uint16_t id = 0;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
};

struct RcDialog {
    RcName name;
    bool extended = false;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::u32string caption;
    std::uint16_t fontSize = 0;
    std::u32string fontFace;
    std::vector<RcDialogItem> items;
};

struct RcData {
    RcName type;
    RcName name;
    std::vector<std::uint8_t> bytes;
};

struct ResourceScript {
    std::vector<RcString> strings; // ascending ids
    std::vector<RcDialog> dialogs;
    std::vector<RcData> data;
    std::vector<std::string> dependencies; // every file read: the script, includes, embedded files
};

// UTF-8 form of a script text.
std::string ToUtf8(const std::u32string& text);
// A file name as the script writes it ("art\\bg.bmp"), with host separators.
std::string ScriptPath(const std::u32string& text);
