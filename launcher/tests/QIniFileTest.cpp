#include "launcher/QIniFile.h"

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/kernel/DeviceStorage.h"
#include "testsupport/StorageTempDir.h"

namespace {

struct Entry {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;
};

struct GrammarCase {
    const char* name;
    const wchar_t* text;
    std::vector<const wchar_t*> sections; // in iteration order
    std::vector<Entry> entries;           // values that must be found
    std::vector<Entry> absent;            // section/key pairs that must read as empty
};

// A case prints as its name, so that the test's name stays the same from build to build.
void PrintTo(const GrammarCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<std::wstring> Sections(const QIniFile& ini) {
    std::vector<std::wstring> names;
    if (ini.GetSectionCount() == 0)
        return names;
    for (QIniFile::POSITION pos = ini.GetStartPosition(); pos;)
        names.push_back(ini.GetNextSection(pos).Str());
    return names;
}

class QIniFileGrammar : public ::testing::TestWithParam<GrammarCase> {};

TEST_P(QIniFileGrammar, ParsesAsTheCatalogueIsWritten) {
    const GrammarCase& c = GetParam();
    QIniFile ini;
    ini.Parse(c.text);
    std::vector<std::wstring> expected(c.sections.begin(), c.sections.end());
    EXPECT_EQ(expected, Sections(ini));
    for (const Entry& e : c.entries)
        EXPECT_EQ(std::wstring(e.value), ini.GetValue(e.section, e.key).Str())
            << "[" << CString(e.section).ToUtf8() << "] " << CString(e.key).ToUtf8();
    for (const Entry& e : c.absent)
        EXPECT_TRUE(ini.GetValue(e.section, e.key).IsEmpty());
}

const GrammarCase kGrammar[] = {
    {"CrLfAndSpacesAroundKeyAndValue",
     L"[Zentra]\r\n  Para  =  -x 1  \r\n",
     {L"Zentra"},
     {{L"Zentra", L"Para", L"-x 1"}},
     {}},
    {"SplitsAtTheFirstEquals", L"[A]\nk = a=b = c\n", {L"A"}, {{L"A", L"k", L"a=b = c"}}, {}},
    {"CommentsOnlyAtLineStart",
     L"# top\n[A]\n  # indented comment\n;k=v\nx=1 # not a comment\n",
     {L"A"},
     {{L"A", L";k", L"v"}, {L"A", L"x", L"1 # not a comment"}},
     {}},
    {"SpacedAndBracketedNamesKeepTheirText",
     L"[ Zentra ]\nProgram=a\n[[B]]\nk=v\n",
     {L" Zentra ", L"[B]"},
     {{L" Zentra ", L"Program", L"a"}, {L"[B]", L"k", L"v"}},
     {{L"Zentra", L"Program", nullptr}}},
    {"KeysOutsideASectionAreDropped",
     L"k=before\n[A]\nk=in\n[]\nk=after\n[B]\nk=b\n",
     {L"A", L"B"},
     {{L"A", L"k", L"in"}, {L"B", L"k", L"b"}},
     {}},
    {"RepeatedSectionsMergeAndTheLastValueWins",
     L"[A]\nk=1\nj=x\n[B]\n[A]\nk=2\n",
     {L"A"},
     {{L"A", L"k", L"2"}, {L"A", L"j", L"x"}},
     {}},
    {"UnclosedBracketIsNotASection",
     L"[A]\n[Bee\nj=2\n",
     {L"A"},
     {{L"A", L"", L"[Bee"}, {L"A", L"j", L"2"}},
     {}},
    {"LineWithoutEqualsHasAnEmptyKey",
     L"[A]\njust text\n",
     {L"A"},
     {{L"A", L"", L"just text"}},
     {}},
    {"CaseMatters",
     L"[A]\nKey=v\n",
     {L"A"},
     {{L"A", L"Key", L"v"}},
     {{L"a", L"Key", nullptr}, {L"A", L"key", nullptr}}},
    // The last line counts even without a line feed after it, and so does a file without any.
    {"LastLineWithoutLineFeedIsRead", L"[A]\nk=v", {L"A"}, {{L"A", L"k", L"v"}}, {}},
    {"NoLineFeedAtAll", L"[A]", {}, {}, {}},
    {"EmptyText", L"", {}, {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Catalogue, QIniFileGrammar, ::testing::ValuesIn(kGrammar),
                         [](const auto& info) { return std::string(info.param.name); });

class QIniFileLoad : public ::testing::Test {
protected:
    void SetUp() override { DeviceStorage::Configure(m_state.Path(), m_card.Path()); }
    StorageTempDir m_state;
    StorageTempDir m_card;
};

TEST_F(QIniFileLoad, ReadsTheCardFileInTheDeviceCodePage) {
    // "[Kest 2]\nName=斷線\n" with the two characters in Big5, and a zero byte ending the text.
    std::string bytes = "[Kest 2]\nName=\xc2\x5f\xbd\x75\n";
    bytes += '\0';
    bytes += "[Hidden]\nk=v\n";
    m_card.Write("Norvane/App/NorvaneApp.ini", bytes);
    QIniFile ini;
    ASSERT_TRUE(ini.Load(L"\\Storage Card\\Norvane\\App\\NorvaneApp.ini"));
    EXPECT_EQ(std::wstring(L"\u65b7\u7dda"), ini.GetValue(L"Kest 2", L"Name").Str());
    EXPECT_EQ(1, ini.GetSectionCount());
    EXPECT_TRUE(ini.GetValue(L"Kest 2", L"k").IsEmpty()) << "nothing after the zero byte is read";
}

TEST_F(QIniFileLoad, RefusesMissingAndOversizedFiles) {
    QIniFile ini;
    EXPECT_FALSE(ini.Load(L"\\Storage Card\\Norvane\\App\\NorvaneApp.ini"));
    m_card.Write("big.ini", "[A]\n" + std::string(QIniFile::kMaxFileSize, '#'));
    EXPECT_FALSE(ini.Load(L"\\Storage Card\\big.ini"));
    EXPECT_EQ(0, ini.GetSectionCount());
}

TEST_F(QIniFileLoad, ReadsAFileOfExactlyTheLimit) {
    std::string bytes = "[A]\nk=v\n";
    bytes.resize(QIniFile::kMaxFileSize, '#');
    m_card.Write("limit.ini", bytes);
    QIniFile ini;
    ASSERT_TRUE(ini.Load(L"\\Storage Card\\limit.ini"));
    EXPECT_EQ(std::wstring(L"v"), ini.GetValue(L"A", L"k").Str());
}

TEST_F(QIniFileLoad, BinaryBytesParseWithoutHarm) {
    std::string bytes = "[A]\nk=\xff\xfe\x81\n";
    for (int i = 1; i < 256; ++i)
        bytes += char(i);
    m_card.Write("bin.ini", bytes);
    QIniFile ini;
    ASSERT_TRUE(ini.Load(L"\\Storage Card\\bin.ini"));
    EXPECT_FALSE(ini.GetValue(L"A", L"k").IsEmpty());
}

} // namespace
