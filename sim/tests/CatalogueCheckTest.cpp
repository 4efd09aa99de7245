// The catalogue checker: the list it gives is the launcher's, and every line of a file that
// leads to nothing is named with its reason; the norvane-catalogue program's JSON, its exit
// status and its answers to files that are no catalogue at all.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "SimProcess.h"
#include "launcher/QIniFile.h"
#include "launcher/QProgramCatalogue.h"
#include "sim/catalogue/CatalogueCheck.h"
#include "testsupport/StorageTempDir.h"

namespace {

namespace fs = std::filesystem;
using Reason = CatalogueCheck::Reason;

// A catalogue with every kind of line that leads to nothing. "\xff" is no byte of code page
// 950; "\xa4\xa4\xa4\xe5" is Big5 for the two characters of the section name "中文".
const std::string kFixture = std::string("# comment\n"                           // 1
                                         "Orphan = 1\n"                          // 2
                                         "[Zentra]\r\n"                          // 3
                                         "Para = old\n"                          // 4
                                         "Program = \\Storage Card\\Z.exe\n"     // 5
                                         "[System]\n"                            // 6
                                         "Version = 1\n"                         // 7
                                         "[Zentra]\n"                            // 8
                                         "  Para = -new  \n"                     // 9
                                         "[Ovikon]\n"                            // 10
                                         "Para = x\n"                            // 11
                                         "[Extra]\n"                             // 12
                                         "Program = \\Storage Card\\Extra.exe\n" // 13
                                         "Colour = red\n"                        // 14
                                         "just text\n"                           // 15
                                         "\n"                                    // 16
                                         "[]\n"                                  // 17
                                         "Lost = 1\n"                            // 18
                                         "[Lonely]\n"                            // 19
                                         "[\xa4\xa4\xa4\xe5]\n"                  // 20
                                         "Program = \\Storage Card\\a\xff.exe\n" // 21
                                         "[Extra]\n"                             // 22
                                         "Bin = \\Storage Card\\Extra.bin\n"     // 23
                                         "Para = end") +
                             '\0' + "junk\n" // 24
                             + "[After]\n"   // 25
                             + "\n"          // 26
                             + "Program = x";

struct DroppedCase {
    std::size_t line;
    Reason reason;
    std::string text;
};

const std::vector<DroppedCase> kFixtureDropped = {
    {1, Reason::Comment, "# comment"},
    {2, Reason::BeforeFirstSection, "Orphan = 1"},
    {4, Reason::Replaced, "Para = old"},
    {5, Reason::KeyNotRead, "Program = \\Storage Card\\Z.exe"},
    {6, Reason::SystemSection, "[System]"},
    {7, Reason::SystemSection, "Version = 1"},
    {10, Reason::BuiltInName, "[Ovikon]"},
    {11, Reason::BuiltInName, "Para = x"},
    {14, Reason::KeyNotRead, "Colour = red"},
    {15, Reason::KeyNotRead, "just text"},
    {17, Reason::EmptySection, "[]"},
    {18, Reason::AfterEmptySection, "Lost = 1"},
    {19, Reason::NoKeyLines, "[Lonely]"},
    {21, Reason::NotInCodePage, "Program = \\Storage Card\\a\xef\xbf\xbd.exe"},
    {24, Reason::AfterZeroByte, "junk"},
    {25, Reason::AfterZeroByte, "[After]"},
    {27, Reason::AfterZeroByte, "Program = x"},
};

const std::vector<std::string> kBuiltInNames = {
    "Zentra", "Quilbar",       "Ovik", "Marl Sweep", "Pell Gather",
    "Tersen", "Roundel Probe", "Kest", "Pell Tape",  "Varnet"};

TEST(CatalogueCheck, NamesEveryLineThatLeadsToNothingWithItsReason) {
    const CatalogueCheck check(kFixture);
    const auto& dropped = check.DroppedLines();
    ASSERT_EQ(dropped.size(), kFixtureDropped.size());
    for (std::size_t i = 0; i < dropped.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(kFixtureDropped[i].line));
        EXPECT_EQ(dropped[i].line, kFixtureDropped[i].line);
        EXPECT_STREQ(CatalogueCheck::Code(dropped[i].reason),
                     CatalogueCheck::Code(kFixtureDropped[i].reason));
        EXPECT_EQ(dropped[i].text, kFixtureDropped[i].text);
    }
    EXPECT_EQ(dropped[2].replacedBy, 9u);
    EXPECT_EQ(CatalogueCheck::Explanation(dropped[2]), "value replaced by line 9");
}

TEST(CatalogueCheck, ListsTheBuiltInRowsThenTheExtraSectionsInFileOrder) {
    const CatalogueCheck check(kFixture);
    const auto& rows = check.Rows();
    ASSERT_EQ(rows.size(), kBuiltInNames.size() + 2);
    for (std::size_t i = 0; i < kBuiltInNames.size(); ++i) {
        EXPECT_EQ(rows[i].row, int(i + 1));
        EXPECT_EQ(rows[i].name, kBuiltInNames[i]);
    }
    EXPECT_EQ(rows[0].program, "\\Storage Card\\Norvane\\Zentra\\Zentra.exe");
    EXPECT_EQ(rows[0].parameters, "-new");
    EXPECT_EQ(rows[9].image, "\\Storage Card\\Norvane\\Varnet\\Varnet.bin");
    EXPECT_EQ(rows[10].name, "Extra");
    EXPECT_EQ(rows[10].program, "\\Storage Card\\Extra.exe");
    EXPECT_EQ(rows[10].image, "\\Storage Card\\Extra.bin");
    EXPECT_EQ(rows[10].parameters, "end");
    EXPECT_EQ(rows[11].name, "\xe4\xb8\xad\xe6\x96\x87");
    EXPECT_EQ(rows[11].image, "");
    EXPECT_FALSE(rows[0].programExists.has_value()) << "no card, no answer";
}

TEST(CatalogueCheck, TellsWhichNamedFilesAreOnTheCard) {
    const StorageTempDir card;
    card.Write("Extra.exe", "x");
    card.Write("NORVANE/zentra/Zentra.BIN", "x"); // the card's names match in any case
    fs::create_directories(card.Path() / "NORVANE" / "Quilbar" / "QbRun.exe");
    CatalogueCheck check(kFixture);
    check.CheckFiles(card.Path());
    const auto& rows = check.Rows();
    EXPECT_EQ(rows[0].programExists, false);
    EXPECT_EQ(rows[0].imageExists, true);
    EXPECT_EQ(rows[1].programExists, false) << "a folder is not a program";
    EXPECT_EQ(rows[10].programExists, true);
    EXPECT_EQ(rows[10].imageExists, false);
    EXPECT_EQ(rows[11].imageExists, std::nullopt) << "the row names no image";
}

// Mutated catalogues and binary noise: the checker always answers, its list is exactly what
// the launcher's catalogue build lists from the same bytes, and its lines are in file order.
TEST(CatalogueCheck, AnyBytesGiveTheLaunchersListAndLinesInOrder) {
    std::mt19937 random(13);
    const std::vector<std::string> seeds = {kFixture, "", std::string(1, '\0'), "[A]",
                                            "[A]\nk=v\n[]\n\xa4\n\xff\xfe\r\n=\n[\n]\n"};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = seeds[std::size_t(round) % seeds.size()];
        const int edits = int(random() % 12);
        for (int e = 0; e < edits; ++e) {
            const char byte = "\n\r\0=[]# \xa4\xff\x81"[random() % 12];
            const std::size_t at = bytes.empty() ? 0 : random() % (bytes.size() + 1);
            if (random() % 2 && at < bytes.size())
                bytes[at] = byte;
            else
                bytes.insert(at, 1, byte);
        }
        const CatalogueCheck check(bytes);
        QIniFile ini;
        ini.LoadBytes(bytes);
        const auto programs = QProgramCatalogue::Programs(ini);
        ASSERT_EQ(check.Rows().size(), programs.size()) << testing::PrintToString(bytes);
        for (std::size_t i = 0; i < programs.size(); ++i) {
            ASSERT_EQ(check.Rows()[i].name, programs[i].name.ToUtf8());
            ASSERT_EQ(check.Rows()[i].program, programs[i].program.ToUtf8());
            ASSERT_EQ(check.Rows()[i].image, programs[i].bin.ToUtf8());
            ASSERT_EQ(check.Rows()[i].parameters, programs[i].para.ToUtf8());
        }
        const std::size_t lines = std::size_t(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
        std::size_t last = 0;
        for (const auto& d : check.DroppedLines()) {
            ASSERT_GE(d.line, last) << testing::PrintToString(bytes);
            ASSERT_LE(d.line, lines) << testing::PrintToString(bytes);
            last = d.line;
        }
    }
}

class CatalogueTool : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, const std::string& bytes) const {
        const fs::path file = m_dir.Path() / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
    static SimProcess::Output Run(std::vector<std::string> args) {
        args.insert(args.begin(), NORVANE_CATALOGUE_PATH);
        return SimProcess::RunProgram(args);
    }
    StorageTempDir m_dir;
};

TEST_F(CatalogueTool, JsonHasTheRowsAndTheDroppedLines) {
    const StorageTempDir card;
    card.Write("Extra.exe", "x");
    const SimProcess::Output r =
        Run({Write("fixture.ini", kFixture).string(), "--json", "--card", card.Path().string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json answer = nlohmann::json::parse(r.out);
    ASSERT_EQ(answer["rows"].size(), 12u);
    EXPECT_EQ(answer["rows"][10], nlohmann::json::parse(R"({"row": 11, "name": "Extra",
                  "program": "\\Storage Card\\Extra.exe", "image": "\\Storage Card\\Extra.bin",
                  "parameters": "end", "exists": {"program": true, "image": false}})"));
    EXPECT_EQ(answer["rows"][11]["exists"]["image"], nullptr);
    ASSERT_EQ(answer["dropped"].size(), kFixtureDropped.size());
    EXPECT_EQ(answer["dropped"][2], nlohmann::json::parse(R"({"line": 4, "text": "Para = old",
                  "reason": "replaced", "replaced_by": 9})"));
    EXPECT_EQ(answer["dropped"][8], nlohmann::json::parse(R"({"line": 14,
                  "text": "Colour = red", "reason": "key-not-read"})"));

    const SimProcess::Output noCard = Run({Write("fixture.ini", kFixture).string(), "--json"});
    ASSERT_EQ(noCard.exitCode, 0) << noCard.err;
    EXPECT_EQ(nlohmann::json::parse(noCard.out)["rows"][0]["exists"], nullptr);
}

TEST_F(CatalogueTool, TextNamesTheRowsAndTheReasons) {
    const SimProcess::Output r = Run({Write("fixture.ini", kFixture).string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(" 11  Extra\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("line 18: key line after \"[]\": Lost = 1\n"), std::string::npos);
    EXPECT_NE(r.out.find("line 7: section \"System\" is never a program: Version = 1\n"),
              std::string::npos);
}

// What the launcher reads is answered with exit status 0, what it cannot read with 1 and one
// line saying why; nothing makes the checker crash.
TEST_F(CatalogueTool, ExitStatusSaysWhetherTheLauncherCanReadTheFile) {
    std::string binary;
    for (int i = 0; i < 256; ++i)
        binary += char(i);
    const struct {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::size_t rows; // with exit status 0
    } cases[] = {
        {"empty file", {Write("empty.ini", "").string()}, 0, 10},
        {"zero bytes only", {Write("nul.ini", std::string(64, '\0')).string()}, 0, 10},
        {"binary noise", {Write("bin.ini", "[B]\nk=v\n" + binary + binary).string()}, 0, 11},
        {"invalid double bytes", {Write("dbcs.ini", "[\xa4\n\xff]\nk=\xa4\n").string()}, 0, 10},
        {"at the size limit",
         {Write("limit.ini", "[A]\nk=v\n" + std::string(QIniFile::kMaxFileSize - 8, '#')).string()},
         0,
         11},
        {"over the size limit",
         {Write("big.ini", std::string(10 * 1024 * 1024, 'x')).string()},
         1,
         0},
        {"missing", {(m_dir.Path() / "none.ini").string()}, 1, 0},
        {"a folder", {m_dir.Path().string()}, 1, 0},
        {"card not a folder",
         {Write("c.ini", "").string(), "--card", Write("notdir", "").string()},
         1,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        const SimProcess::Output r = Run(args);
        ASSERT_EQ(r.exitCode, c.exitCode) << r.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(nlohmann::json::parse(r.out)["rows"].size(), c.rows);
            EXPECT_EQ(r.err, "");
        } else {
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_EQ(r.err.rfind("norvane-catalogue: ", 0), 0u) << r.err;
        }
    }
}

} // namespace
