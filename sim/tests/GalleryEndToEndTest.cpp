// The widget kit's gallery on the simulated device (norvane-sim --app gallery), driven only
// through norvane-ctl as a person would: with the keypad alone, and with the stylus alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ScreenImage.h"
#include "SimProcess.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSpeed = 20;
constexpr int kMenuTitleId = 0xFFFE;

// The centre of a window's or menu's rect [left, top, right, bottom].
std::vector<std::string> Centre(const nlohmann::json& rect) {
    return {std::to_string((rect[0].get<int>() + rect[2].get<int>()) / 2),
            std::to_string((rect[1].get<int>() + rect[3].get<int>()) / 2)};
}

class GalleryEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        char base[] = "/tmp/norvane-gallery-e2e-XXXXXX";
        ASSERT_NE(::mkdtemp(base), nullptr);
        m_base = base;
        fs::create_directories(m_base / "card");
        m_sim = std::make_unique<SimProcess>(m_base / "state", m_base / "card", kSpeed);
    }
    void TearDown() override {
        m_sim.reset();
        fs::remove_all(m_base);
    }

    void Start() {
        ASSERT_TRUE(m_sim->Start({"--app", "gallery"}))
            << m_sim->Wait() << ": " << m_sim->ErrorOutput();
        Wait("gallery.page.index=0");
        // The page's first button has the focus once the frame is shown.
        WaitButton("Level -", "focused", "true");
    }
    std::string Ctl(const std::vector<std::string>& args) {
        const SimProcess::Output r = m_sim->Ctl(args);
        EXPECT_EQ(r.exitCode, 0) << "norvane-ctl " << args[0] << ": " << r.err;
        return r.out;
    }
    void Wait(const std::string& condition) {
        const SimProcess::Output r = m_sim->Ctl({"wait", condition, "--timeout", "30"});
        ASSERT_EQ(r.exitCode, 0) << condition << ": " << r.out << r.err;
    }
    nlohmann::json Status() { return nlohmann::json::parse(Ctl({"status"})); }

    // The kit button of the page shown with that text; null when there is none.
    nlohmann::json Button(const std::string& text) {
        const nlohmann::json status = Status();
        for (const nlohmann::json& b : status["buttons"])
            if (b["text"] == text && b["visible"] == true)
                return b;
        return nullptr;
    }
    // Waits until a field of the shown kit button with that text reads value.
    void WaitButton(const std::string& text, const std::string& field, const std::string& value) {
        const nlohmann::json buttons = Status()["buttons"];
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i]["text"] == text && buttons[i]["visible"] == true)
                return Wait("buttons." + std::to_string(i) + "." + field + "=" + value);
        ADD_FAILURE() << text << " is not on the page";
    }
    void Key(const std::string& name) { Ctl({"key", name}); }
    void Tap(const std::vector<std::string>& at) { Ctl({"tap", at[0], at[1]}); }
    void TapButton(const std::string& text) {
        const nlohmann::json b = Button(text);
        ASSERT_FALSE(b.is_null()) << text << " is not on the page";
        Tap(Centre(b["rect"]));
    }
    // Where on the screen the item with that text of the open menu level is: items are 16
    // (title), 5 (separator) or 18 pixels high, under the menu window's one-pixel frame.
    std::vector<std::string> MenuItemAt(int level, const std::string& text) {
        const nlohmann::json menu = Status()["menus"][level];
        const nlohmann::json& r = menu["rect"];
        int top = r[1].get<int>() + 1;
        for (const nlohmann::json& item : menu["items"]) {
            const int height = item["id"] == kMenuTitleId ? 16 : item["separator"] == true ? 5 : 18;
            if (item["text"] == text)
                return {std::to_string(r[0].get<int>() + 30), std::to_string(top + height / 2)};
            top += height;
        }
        ADD_FAILURE() << text << " is not in " << menu.dump();
        return {"0", "0"};
    }
    ScreenImage Screenshot() {
        const fs::path file = m_base / "screen.png";
        Ctl({"screenshot", file.string()});
        return ScreenImage::Read(file);
    }

    fs::path m_base;
    std::unique_ptr<SimProcess> m_sim;
};

TEST_F(GalleryEndToEndTest, TheProgramIsChosenByNameAndAnUnknownNameIsRefused) {
    const SimProcess::Output help = SimProcess::RunProgram({NORVANE_SIM_PATH, "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--app"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("gallery"), std::string::npos) << help.out;

    const SimProcess::Output unknown =
        SimProcess::RunProgram({NORVANE_SIM_PATH, "--headless", "--app", "gizmo"});
    EXPECT_NE(unknown.exitCode, 0);
    EXPECT_NE(unknown.err.find("gizmo not in {launcher,gallery}"), std::string::npos)
        << unknown.err;

    Start();
    const nlohmann::json status = Status();
    EXPECT_EQ(status["gallery"]["page"]["title"], "1/3 Labels and gauge");
    EXPECT_EQ(status["state"], "closed") << "no launcher runs beside the gallery";
    EXPECT_EQ(m_sim->Stop(), 0) << m_sim->ErrorOutput();
}

// What a person does with the keypad alone: the arrows move the navy focus from button to
// button, enter clicks the focused one, select turns the page, and inside an open menu the
// arrows, enter and select work the menu.
TEST_F(GalleryEndToEndTest, EveryPageIsWorkedWithTheKeypadAlone) {
    Start();
    Key("right");
    WaitButton("Level +", "focused", "true");
    const ScreenImage screen = Screenshot();
    const nlohmann::json levelUp = Button("Level +");
    EXPECT_EQ(screen.At(levelUp["rect"][0].get<int>() + 3, levelUp["rect"][1].get<int>() + 3),
              "#000080")
        << "the focused button has the navy face";
    Key("enter");
    Wait("gallery.command.text=Level +");
    Wait("gauge.level>=0.6");
    Key("down");
    WaitButton("Warning", "focused", "true");
    Key("enter");
    Wait("gauge.warning=true");
    Key("left");
    WaitButton("Charging", "focused", "true");
    Key("enter");
    Wait("gauge.charging=true");
    EXPECT_TRUE(Button("Charging")["checked"]);
    EXPECT_TRUE(Button("Warning")["checked"]);

    Key("select");
    Wait("gallery.page.index=1");
    WaitButton("Push", "focused", "true");
    Key("down");
    Key("down");
    WaitButton("Check box", "focused", "true");
    Key("enter");
    WaitButton("Check box", "checked", "true");
    Key("enter");
    WaitButton("Check box", "checked", "false");
    EXPECT_EQ(Status()["gallery"]["command"]["text"], "Check box");

    Key("select");
    Wait("gallery.page.index=2");
    WaitButton("Menu down", "focused", "true");
    const nlohmann::json menuDown = Button("Menu down");
    Key("enter");
    Wait("menus>=1");
    EXPECT_GE(Status()["menus"][0]["rect"][1], menuDown["rect"][3]) << "it opens downward";
    // Down to "Plain", then enter chooses it.
    for (int presses = 0; presses < 8; ++presses) {
        const nlohmann::json status = Status();
        const nlohmann::json& items = status["menus"][0]["items"];
        bool plain = false;
        for (const nlohmann::json& item : items)
            plain = plain || (item["selected"] == true && item["text"] == "Plain");
        if (plain)
            break;
        Key("down");
    }
    Key("enter");
    Wait("menus=0");
    Wait("gallery.command.text=Plain");
    EXPECT_EQ(Status()["gallery"]["command"]["source"], "menu");

    Key("down");
    WaitButton("Menu up", "focused", "true");
    const nlohmann::json menuUp = Button("Menu up");
    Key("enter");
    Wait("menus>=1");
    EXPECT_LE(Status()["menus"][0]["rect"][3], menuUp["rect"][1]) << "it opens upward";
    Key("select");
    Wait("menus=0");
    EXPECT_EQ(Status()["gallery"]["command"]["text"], "Plain") << "select closes, choosing none";
}

// What a person does with the stylus alone: taps on buttons, the check boxes and the next-page
// button, and a menu opened and chosen from by tapping.
TEST_F(GalleryEndToEndTest, EveryPageIsWorkedWithTheStylusAlone) {
    Start();
    TapButton("Level +");
    Wait("gallery.command.text=Level +");
    Wait("gauge.level>=0.6");
    TapButton("Charging");
    Wait("gauge.charging=true");
    WaitButton("Charging", "checked", "true");

    TapButton("Next");
    Wait("gallery.page.index=1");
    TapButton("Check box");
    WaitButton("Check box", "checked", "true");
    WaitButton("Check box", "focused", "true");
    TapButton("Disabled");
    TapButton("Default");
    Wait("gallery.command.text=Default");
    EXPECT_EQ(Status()["gallery"]["command"]["id"], 1201) << "the disabled button sent nothing";

    TapButton("Next");
    Wait("gallery.page.index=2");
    TapButton("Menu down");
    Wait("menus>=1");
    // The stylus held on an item selects it: light blue inside a blue frame, under the teal
    // title.
    const std::vector<std::string> checked = MenuItemAt(0, "Checked");
    Ctl({"stylus", "down", checked[0], checked[1]});
    Wait("menus.0.items.2.selected=true");
    const ScreenImage screen = Screenshot();
    const nlohmann::json menuRect = Status()["menus"][0]["rect"];
    EXPECT_EQ(screen.At(menuRect[2].get<int>() - 5, std::stoi(checked[1])), "#C4C4FF");
    EXPECT_EQ(screen.At(menuRect[0].get<int>() + 3, menuRect[1].get<int>() + 3), "#008080");
    Ctl({"stylus", "up", checked[0], checked[1]});
    Wait("menus=0");
    Wait("gallery.command.text=Checked");

    // A tap outside the open menu closes it without a command.
    TapButton("Menu up");
    Wait("menus>=1");
    Tap({"200", "150"});
    Wait("menus=0");
    EXPECT_EQ(Status()["gallery"]["command"]["text"], "Checked");
    TapButton("Menu up");
    Wait("menus>=1");
    Tap(MenuItemAt(0, "Submenu"));
    Wait("menus>=2");
    Tap(MenuItemAt(1, "Sub second"));
    Wait("menus=0");
    Wait("gallery.command.text=Sub second");
}

} // namespace
