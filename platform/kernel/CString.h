// The framework's string: a wide string with the operations the launcher's code uses.
// Texts cross to the host (files, sockets, FreeType) as UTF-8 through FromUtf8/ToUtf8.
#pragma once

#include <string>
#include <string_view>

#include "platform/kernel/WinTypes.h"

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_text(text ? text : L"") {}
    CString(const wchar_t* text, int length) : m_text(text ? text : L"", text ? length : 0) {}
    CString(std::wstring text) : m_text(std::move(text)) {}
    CString(std::wstring_view text) : m_text(text) {}

    static CString FromUtf8(std::string_view utf8);
    std::string ToUtf8() const;

    operator LPCTSTR() const { return m_text.c_str(); }
    LPCTSTR GetString() const { return m_text.c_str(); }
    const std::wstring& Str() const { return m_text; }
    std::wstring& Str() { return m_text; }

    int GetLength() const { return int(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    wchar_t GetAt(int i) const { return m_text.at(std::size_t(i)); }
    wchar_t operator[](int i) const { return GetAt(i); }

    CString& operator=(const wchar_t* text) {
        m_text = text ? text : L"";
        return *this;
    }
    CString& operator+=(const CString& other) {
        m_text += other.m_text;
        return *this;
    }
    CString& operator+=(wchar_t c) {
        m_text += c;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_text + b.m_text);
    }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_text == (b ? b : L""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

    int Compare(const wchar_t* other) const { return m_text.compare(other ? other : L""); }
    int Find(wchar_t c, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    // White space as the device's C library counts it (spaces, tabs, CR, LF, VT, FF).
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();

    // printf-style formatting; %s takes a wide string as on the device (%ls is accepted too).
    void Format(const wchar_t* format, ...);

    // Loads the string resource id of the program's string table; FALSE when there is none.
    BOOL LoadString(UINT id);

private:
    std::wstring m_text;
};
