#include "tools/rc/ResourceScript.h"

#include "platform/kernel/Utf8Encode.h"

std::string ToUtf8(const std::u32string& text) {
    std::string out;
    for (char32_t cp : text) {
        AppendUtf8(out, cp);
    }
    return out;
}

std::string ScriptPath(const std::u32string& text) {
    std::string path = ToUtf8(text);
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}
