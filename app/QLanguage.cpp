#include "app/QLanguage.h"

#include "platform/kernel/Registry.h"

namespace {
QLanguage& CreateLanguage() {
    static QLanguage language;
    ReadLanguage(language);
    return language;
}
} // namespace

QLanguage& GetLanguage() {
    static QLanguage& language = CreateLanguage();
    return language;
}

WORD ReadLanguage(QLanguage& language) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, L"I18N", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return language.Id();
    }
    // Whatever the value's type, its first four bytes are the language id.
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG result =
        RegQueryValueEx(key, L"Language", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    const WORD id = LOWORD(value);
    const bool supported = id == kLanguageEnglish || id == kLanguageTraditionalChinese;
    language.m_languageId = result == ERROR_SUCCESS && supported ? id : kLanguageEnglish;
    RegCloseKey(key);
    return language.Id();
}

UINT StringIdOffset(WORD languageId) {
    return languageId == kLanguageTraditionalChinese ? IDS_CHINESE_OFFSET : 0;
}

CString LoadLocalString(const QLanguage& language, UINT baseId) {
    CString text;
    text.LoadString(baseId + StringIdOffset(language.Id()));
    return text;
}
