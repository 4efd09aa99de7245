// The launcher's language, English (1033) or Traditional Chinese (1028), as the device-wide
// registry value HKLM\I18N "Language" selects it, and the loading of texts in that language.
#pragma once

#include <atomic>

#include "platform/kernel/CString.h"
#include "platform/kernel/WinTypes.h"
#include "res/resource.h"

inline constexpr WORD kLanguageEnglish = 1033;
inline constexpr WORD kLanguageTraditionalChinese = 1028;

class QLanguage {
public:
    WORD Id() const { return m_languageId.load(); }

private:
    friend WORD ReadLanguage(QLanguage& language);

    // Re-read on the UI thread while the start-up thread may load a text: hence atomic.
    std::atomic<WORD> m_languageId{kLanguageEnglish};
};

// The process's language object; the first call creates it and reads the registry, later
// calls return it as it is.
QLanguage& GetLanguage();

// Reads HKLM\I18N "Language" into the object and returns the language now in force: a missing
// key leaves it unchanged; a missing value or any id but 1033 or 1028 (in the low 16 bits)
// gives English.
WORD ReadLanguage(QLanguage& language);

// The distance from an English string id to the same text in the given language.
UINT StringIdOffset(WORD languageId);

// The text of an English string id, in the language in force.
CString LoadLocalString(const QLanguage& language, UINT baseId);
