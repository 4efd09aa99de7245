#include "sim/catalogue/CatalogueCheck.h"

#include <algorithm>
#include <map>
#include <set>
#include <system_error>
#include <utility>

#include "launcher/QIniFile.h"
#include "launcher/QProgramCatalogue.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/CodePage.h"
#include "platform/kernel/DeviceStorage.h"

namespace {

using Kind = QIniFile::LineKind;
using SectionKey = std::pair<std::wstring, std::wstring>;

struct ParsedLine {
    std::size_t index;
    std::wstring text;
    Kind kind;
    std::wstring section;
    std::wstring key;
};

// Keeps what the parser made of each line and which values the program table asked for.
class Recorder : public QIniFile::Observer {
public:
    void OnLine(std::size_t index, const std::wstring& line, Kind kind, const std::wstring& section,
                const std::wstring& key) override {
        lines.push_back({index, line, kind, section, key});
    }
    void OnValueRead(const std::wstring& section, const std::wstring& key) override {
        read.insert({section, key});
        readSections.insert(section);
    }

    std::vector<ParsedLine> lines;
    std::set<SectionKey> read;
    std::set<std::wstring> readSections;
};

constexpr wchar_t kReplacement = L'\uFFFD';

std::string Utf8(const std::wstring& text) {
    return CString(text).ToUtf8();
}

// Bytes in the device's code page as the launcher converts them, trimmed as its parser trims.
std::wstring DecodedLine(const std::string& bytes) {
    std::wstring text;
    if (!bytes.empty()) {
        const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
        text.resize(std::size_t(n));
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), text.data(), n);
    }
    CString trimmed(text);
    return trimmed.Trim().Str();
}

} // namespace

CatalogueCheck::CatalogueCheck(const std::string& bytes) {
    Recorder recorder;
    QIniFile ini;
    ini.SetObserver(&recorder);
    ini.LoadBytes(bytes);
    const std::vector<QProgramCatalogue::Program> programs = QProgramCatalogue::Programs(ini);
    ini.SetObserver(nullptr);

    int row = 0;
    for (const QProgramCatalogue::Program& p : programs)
        m_rows.push_back({++row, p.name.ToUtf8(), p.program.ToUtf8(), p.bin.ToUtf8(),
                          p.para.ToUtf8(), std::nullopt, std::nullopt});

    // The line whose value each key keeps, and whether each header has a key line under it.
    std::map<SectionKey, std::size_t> lastSetter;
    std::map<std::size_t, bool> headerHasKeys;
    std::size_t header = 0; // a stored key line always comes after a header
    for (const ParsedLine& l : recorder.lines) {
        if (l.kind == Kind::Section) {
            header = l.index;
            headerHasKeys[header] = false;
        } else if (l.kind == Kind::Key) {
            lastSetter[{l.section, l.key}] = l.index;
            headerHasKeys[header] = true;
        }
    }

    bool sawHeader = false;
    for (const ParsedLine& l : recorder.lines) {
        const CString section(l.section);
        const bool reserved = section == QProgramCatalogue::kReservedSection;
        // A built-in program's section whose keys are never asked for (all but Zentra's).
        const bool builtIn = QProgramCatalogue::IsBuiltInSection(section) &&
                             !recorder.readSections.contains(l.section);
        std::optional<Reason> reason;
        std::size_t replacedBy = 0;
        switch (l.kind) {
        case Kind::Empty:
            break;
        case Kind::Comment:
            reason = Reason::Comment;
            break;
        case Kind::Section:
            sawHeader = true;
            if (l.section.empty())
                reason = Reason::EmptySection;
            else if (reserved)
                reason = Reason::SystemSection;
            else if (builtIn)
                reason = Reason::BuiltInName;
            else if (!headerHasKeys[l.index])
                reason = Reason::NoKeyLines;
            break;
        case Kind::KeyWithoutSection:
            reason = sawHeader ? Reason::AfterEmptySection : Reason::BeforeFirstSection;
            break;
        case Kind::Key:
            if (reserved)
                reason = Reason::SystemSection;
            else if (!recorder.read.contains({l.section, l.key}))
                reason = builtIn ? Reason::BuiltInName : Reason::KeyNotRead;
            else if (const std::size_t last = lastSetter[{l.section, l.key}]; last != l.index) {
                reason = Reason::Replaced;
                replacedBy = last + 1;
            }
            break;
        }
        if (!reason && l.text.find(kReplacement) != std::wstring::npos)
            reason = Reason::NotInCodePage;
        if (reason)
            m_dropped.push_back({l.index + 1, Utf8(l.text), *reason, replacedBy});
    }

    // The text ends at the first zero byte; every line from there on is never read.
    const std::size_t textLength = QIniFile::TextLength(bytes);
    if (textLength < bytes.size()) {
        std::size_t line = std::size_t(std::count(bytes.begin(), bytes.begin() + textLength, '\n'));
        std::size_t pos = textLength + 1;
        while (true) {
            const std::size_t end = std::min(bytes.find('\n', pos), bytes.size());
            const std::wstring text = DecodedLine(bytes.substr(pos, end - pos));
            if (!text.empty())
                m_dropped.push_back({line + 1, Utf8(text), Reason::AfterZeroByte});
            if (end >= bytes.size())
                break;
            pos = end + 1;
            ++line;
        }
    }
}

void CatalogueCheck::CheckFiles(const std::filesystem::path& cardDir) {
    DeviceStorage::Configure({}, cardDir);
    const auto exists = [](const std::string& devicePath) {
        const auto host = DeviceStorage::Resolve(CString::FromUtf8(devicePath));
        std::error_code error;
        return host && std::filesystem::is_regular_file(*host, error);
    };
    for (Row& r : m_rows) {
        r.programExists = exists(r.program);
        r.imageExists = r.image.empty() ? std::nullopt : std::optional<bool>(exists(r.image));
    }
}

const char* CatalogueCheck::Code(Reason reason) {
    switch (reason) {
    case Reason::Comment:
        return "comment";
    case Reason::BeforeFirstSection:
        return "before-first-section";
    case Reason::AfterEmptySection:
        return "after-empty-section";
    case Reason::EmptySection:
        return "empty-section";
    case Reason::SystemSection:
        return "system-section";
    case Reason::BuiltInName:
        return "built-in-name";
    case Reason::NoKeyLines:
        return "no-key-lines";
    case Reason::KeyNotRead:
        return "key-not-read";
    case Reason::Replaced:
        return "replaced";
    case Reason::AfterZeroByte:
        return "after-zero-byte";
    case Reason::NotInCodePage:
        return "not-in-code-page";
    }
    return "";
}

std::string CatalogueCheck::Explanation(const Dropped& dropped) {
    switch (dropped.reason) {
    case Reason::Comment:
        return "comment";
    case Reason::BeforeFirstSection:
        return "key line before the first section";
    case Reason::AfterEmptySection:
        return "key line after \"[]\"";
    case Reason::EmptySection:
        return "\"[]\": the key lines after it are dropped";
    case Reason::SystemSection:
        return "section \"" + CString(QProgramCatalogue::kReservedSection).ToUtf8() +
               "\" is never a program";
    case Reason::BuiltInName:
        return "section named as a built-in program";
    case Reason::NoKeyLines:
        return "section with no key line under it";
    case Reason::KeyNotRead:
        return "key the launcher does not read";
    case Reason::Replaced:
        return "value replaced by line " + std::to_string(dropped.replacedBy);
    case Reason::AfterZeroByte:
        return "past the zero byte that ends the text";
    case Reason::NotInCodePage:
        return "bytes not in code page " + std::to_string(GetACP()) + ", read as U+FFFD";
    }
    return "";
}
