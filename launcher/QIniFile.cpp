#include "launcher/QIniFile.h"

#include <cstring>
#include <cwctype>

#include "platform/kernel/CFile.h"
#include "platform/kernel/CodePage.h"

namespace {

std::wstring Trimmed(const std::wstring& s, std::size_t begin, std::size_t end) {
    while (begin < end && std::iswspace(wint_t(s[begin])))
        ++begin;
    while (end > begin && std::iswspace(wint_t(s[end - 1])))
        --end;
    return s.substr(begin, end - begin);
}

} // namespace

BOOL QIniFile::Load(LPCTSTR path) {
    CFile file;
    if (!file.Open(path, CFile::modeRead))
        return FALSE;
    const DWORD length = file.GetLength();
    if (length > kMaxFileSize)
        return FALSE;
    std::string bytes(length, '\0');
    UINT got = 0;
    while (got < length) {
        const UINT n = file.Read(bytes.data() + got, length - got);
        if (n == 0)
            break;
        got += n;
    }
    file.Close();
    bytes.resize(got);
    LoadBytes(bytes);
    return TRUE;
}

std::size_t QIniFile::TextLength(const std::string& bytes) {
    return std::strlen(bytes.c_str());
}

void QIniFile::LoadBytes(const std::string& bytes) {
    const int length = int(TextLength(bytes));
    std::wstring text;
    if (length > 0) {
        const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
        text.resize(std::size_t(n));
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), n);
    }
    Parse(text);
}

void QIniFile::Parse(const std::wstring& text) {
    std::wstring section;
    std::size_t pos = 0;
    for (std::size_t index = 0; pos < text.size(); ++index) {
        std::size_t end = text.find(L'\n', pos);
        // The last line is read like any other, line feed or not.
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = Trimmed(text, pos, end);
        pos = end + 1;
        const auto seen = [&](LineKind kind, const std::wstring& key = std::wstring()) {
            if (m_observer)
                m_observer->OnLine(index, line, kind, section, key);
        };

        if (line.empty() || line[0] == L'#') {
            seen(line.empty() ? LineKind::Empty : LineKind::Comment);
            continue;
        }
        if (line[0] == L'[' && line.back() == L']' && line.size() >= 2) {
            section = line.substr(1, line.size() - 2);
            seen(LineKind::Section);
            continue;
        }
        const std::size_t eq = line.find(L'=');
        std::wstring key = eq == std::wstring::npos ? std::wstring() : Trimmed(line, 0, eq);
        std::wstring value = eq == std::wstring::npos ? line : Trimmed(line, eq + 1, line.size());
        if (section.empty()) {
            seen(LineKind::KeyWithoutSection, key);
            continue;
        }
        seen(LineKind::Key, key);
        SetValue(section, std::move(key), std::move(value));
    }
}

void QIniFile::SetValue(const std::wstring& section, std::wstring key, std::wstring value) {
    auto [it, inserted] = m_sections.try_emplace(section);
    if (inserted)
        m_order.push_back(section);
    it->second[std::move(key)] = std::move(value);
}

CString QIniFile::GetValue(const CString& section, const CString& key) const {
    if (m_observer)
        m_observer->OnValueRead(section.Str(), key.Str());
    const auto s = m_sections.find(section.Str());
    if (s == m_sections.end())
        return CString();
    const auto k = s->second.find(key.Str());
    return k == s->second.end() ? CString() : CString(k->second);
}

QIniFile::POSITION QIniFile::GetStartPosition() const {
    return m_order.empty() ? nullptr : m_order.data();
}

CString QIniFile::GetNextSection(POSITION& pos) const {
    const auto* name = static_cast<const std::wstring*>(pos);
    if (!name)
        return CString();
    const auto* next = name + 1;
    pos = next == m_order.data() + m_order.size() ? nullptr : next;
    return CString(*name);
}
