// The resources of one program module as the resource compiler (tools/rc) emits them:
// constant tables, registered at start with RegisterResourceModule (Resources.h).
#pragma once

#include <span>
#include <string_view>

#include "platform/kernel/WinTypes.h"

// A resource or type name: an ordinal when id is non-zero, otherwise an upper-case name.
struct ResourceName {
    WORD id = 0;
    std::wstring_view name;
};

struct StringResource {
    UINT id = 0;
    std::wstring_view text;
};

// One control of a dialog template, as the dialog manager creates it.
struct DialogItemTemplate {
    std::wstring_view className; // "Button", "Static", "ListBox", "SysListView32", ...
    std::wstring_view text;      // the template's text as written ("&&" still doubled)
    WORD textId = 0;             // non-zero: the text is this resource ordinal (an icon's id)
    WORD id = 0;                 // control id; IDC_STATIC (-1) reads 0xFFFF
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
};

struct DialogTemplate {
    ResourceName name;
    bool extended = false; // DIALOGEX
    DWORD style = 0;       // DS_SETFONT set when a font is given, WS_CAPTION with a caption
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::wstring_view caption;
    WORD fontSize = 0; // points
    std::wstring_view fontFace;
    std::span<const DialogItemTemplate> items;
};

// A resource kept as bytes. BITMAP (RT_BITMAP), ICON (RT_GROUP_ICON) and custom types such as
// WAVE hold the whole file that the script names (.bmp with its file header, .ico, .wav);
// VERSIONINFO (RT_VERSION) holds the platform's VS_VERSIONINFO block.
struct RawResource {
    ResourceName type;
    ResourceName name;
    std::span<const BYTE> bytes;
};

struct ResourceModuleData {
    std::span<const StringResource> strings; // ascending ids
    std::span<const DialogTemplate> dialogs;
    std::span<const RawResource> raw;
};
