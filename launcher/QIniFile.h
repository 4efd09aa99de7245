// The program catalogue file, parsed: sections of key = value lines. Sections are kept in the
// order in which the file first names them, so the list shows extra programs in file order.
#pragma once

#include <cstddef>
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

    // What the parser made of one line.
    enum class LineKind {
        Empty,
        Comment,
        Section,           // a header; "[]" gives an empty section name
        Key,               // a key line stored in the current section
        KeyWithoutSection, // a key line while the current section is empty: dropped
    };

    // Told what the parser does with each line and which values are asked for, so that a card
    // tool can explain a catalogue by the launcher's own reading of it.
    class Observer {
    public:
        virtual ~Observer() = default;
        // index counts the lines of the text from 0; line is the trimmed text; section is the
        // section the line opens or is stored in, key the key of a key line.
        virtual void OnLine(std::size_t index, const std::wstring& line, LineKind kind,
                            const std::wstring& section, const std::wstring& key) = 0;
        virtual void OnValueRead(const std::wstring& section, const std::wstring& key) = 0;
    };

    // Reads and parses the file at a device path; FALSE when it cannot be opened or read, or is
    // larger than kMaxFileSize. A later Load adds to what an earlier one read.
    BOOL Load(LPCTSTR path);
    // Parses the bytes of a catalogue file as Load does once it has read them.
    void LoadBytes(const std::string& bytes);
    // How many of the file's bytes are text: the text ends at the first zero byte.
    static std::size_t TextLength(const std::string& bytes);
    // Parses text that is already wide; the grammar of Load.
    void Parse(const std::wstring& text);

    // Null (the default) for none; the observer must outlive its use.
    void SetObserver(Observer* observer) { m_observer = observer; }

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
    Observer* m_observer = nullptr;
};
