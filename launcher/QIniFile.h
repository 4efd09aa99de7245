// The program catalogue file, parsed: sections of key = value lines. Sections are kept in the
// order in which the file first names them, so the list shows extra programs in file order.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/kernel/CString.h"
#include "platform/kernel/WinTypes.h"

class QIniFile {
public:
    // An iteration position over the sections; null when the iteration is done.
    using POSITION = const void*;

    // Files above this size are refused: a catalogue is a few kilobytes, and a huge file would
    // only tie up the start-up thread.
    static constexpr DWORD kMaxFileSize = 1024 * 1024;

    // Reads and parses the file at a device path; FALSE when it cannot be opened or read, or is
    // larger than kMaxFileSize. A later Load adds to what an earlier one read.
    BOOL Load(LPCTSTR path);
    // Parses text that is already wide; the grammar of Load.
    void Parse(const std::wstring& text);

    // The stored value, or an empty string when the section or the key is missing.
    CString GetValue(const CString& section, const CString& key) const;

    int GetSectionCount() const { return int(m_order.size()); }
    POSITION GetStartPosition() const;
    // The name of the section at pos; moves pos on (to null after the last section).
    CString GetNextSection(POSITION& pos) const;

private:
    void SetValue(const std::wstring& section, std::wstring key, std::wstring value);

    // Section name -> (key -> value); m_order holds the names in order of first appearance.
    std::map<std::wstring, std::map<std::wstring, std::wstring>> m_sections;
    std::vector<std::wstring> m_order;
};
