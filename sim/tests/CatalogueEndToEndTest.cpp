// norvane-catalogue against the running launcher: on a card made here, the list the checker
// gives for the card's catalogue is the list the launcher shows.
#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "SimProcess.h"

namespace {

namespace fs = std::filesystem;

// Built-in and extra rows, a spaced built-in name, a name in Big5, a byte code page 950 has no
// character for, merged sections, a replaced value, "[]" and a zero byte ending the text.
const std::string kCatalogue = std::string("# card of the test\r\n"
                                           "Para = before\n"
                                           "[Zentra]\n"
                                           "Para = /first\n"
                                           "[ Zentra ]\r\n"
                                           "Program = \\Storage Card\\Spaced.exe\n"
                                           "[Ovik]\n"
                                           "Program = \\Storage Card\\Ovik2.exe\n"
                                           "Bin = \\Storage Card\\Ovik2.bin\n"
                                           "[Ovikon]\n"
                                           "Program = hidden\n"
                                           "[System]\n"
                                           "Program = hidden\n"
                                           "[\xc2\x5f\xbd\x75]\n"
                                           "Program = \\Storage Card\\a\xff.exe\n"
                                           "Para = k=v = w\n"
                                           "[]\n"
                                           "Bin = lost\n"
                                           "[Zentra]\n"
                                           "Para = /second\n"
                                           "[Ovik]\n"
                                           "Para = -merged") +
                               '\0' + "\n[After]\nProgram = x\n";

TEST(CatalogueEndToEnd, CheckerListsWhatTheRunningLauncherLists) {
    char base[] = "/tmp/norvane-catalogue-e2e-XXXXXX";
    ASSERT_NE(::mkdtemp(base), nullptr);
    const fs::path card = fs::path(base) / "card";
    fs::create_directories(card / "Norvane" / "App");
    fs::copy_file(fs::path(NORVANE_BUILD_CARD) / "Norvane" / "App" / "NorvaneApp.bin",
                  card / "Norvane" / "App" / "NorvaneApp.bin");
    const fs::path catalogue = card / "Norvane" / "App" / "NorvaneApp.ini";
    std::ofstream(catalogue, std::ios::binary) << kCatalogue;

    const SimProcess::Output checked =
        SimProcess::RunProgram({NORVANE_CATALOGUE_PATH, catalogue.string(), "--json"});
    ASSERT_EQ(checked.exitCode, 0) << checked.err;
    const nlohmann::json rows = nlohmann::json::parse(checked.out)["rows"];

    nlohmann::json items;
    {
        SimProcess sim(fs::path(base) / "state", card, 20);
        ASSERT_TRUE(sim.Start()) << sim.Wait() << ": " << sim.ErrorOutput();
        const SimProcess::Output waited = sim.Ctl({"wait", "state=idle", "--timeout", "30"});
        ASSERT_EQ(waited.exitCode, 0) << waited.err;
        const SimProcess::Output status = sim.Ctl({"status"});
        ASSERT_EQ(status.exitCode, 0) << status.err;
        items = nlohmann::json::parse(status.out)["items"];
    }
    fs::remove_all(base);

    ASSERT_EQ(rows.size(), 13u) << rows.dump(1);
    EXPECT_EQ(rows[0]["parameters"], "/second");
    EXPECT_EQ(rows[11]["parameters"], "-merged");
    EXPECT_EQ(rows[12]["name"], "\xe6\x96\xb7\xe7\xb7\x9a");
    ASSERT_EQ(items.size(), rows.size()) << items.dump(1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        EXPECT_EQ(items[i]["text"], rows[i]["name"]);
        EXPECT_EQ(items[i]["program"], rows[i]["program"]);
        EXPECT_EQ(items[i]["image"], rows[i]["image"]);
        EXPECT_EQ(items[i]["parameters"], rows[i]["parameters"]);
    }
}

} // namespace
