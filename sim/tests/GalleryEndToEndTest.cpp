// The widget kit's gallery on the simulated device (norvane-sim --app gallery), driven only
// through norvane-ctl as a person would: with the keypad alone, and with the stylus alone; and
// the kit's message box, opened by norvane-ctl msgbox and from the gallery's page of boxes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
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
    // A page just shown may not have shown its buttons yet: the button is looked for again
    // until it is there or 30 s have passed.
    void WaitButton(const std::string& text, const std::string& field, const std::string& value) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        do {
            const nlohmann::json buttons = Status()["buttons"];
            for (std::size_t i = 0; i < buttons.size(); ++i)
                if (buttons[i]["text"] == text && buttons[i]["visible"] == true)
                    return Wait("buttons." + std::to_string(i) + "." + field + "=" + value);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } while (std::chrono::steady_clock::now() < until);
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

    // The events of a kind recorded after sequence number since.
    std::vector<nlohmann::json> Events(const std::string& kind, std::uint64_t since = 0) {
        std::vector<nlohmann::json> found;
        const nlohmann::json log =
            nlohmann::json::parse(Ctl({"events", "--since", std::to_string(since)}));
        for (const nlohmann::json& e : log["events"])
            if (e["kind"] == kind)
                found.push_back(e);
        return found;
    }
    // Waits until a shown kit button with that id has that text (the box's buttons come and go
    // by their ids), reading the status as norvane-ctl wait does, for up to 30 s of host time.
    void WaitButtonId(int id, const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        nlohmann::json buttons;
        while (std::chrono::steady_clock::now() < deadline) {
            buttons = Status()["buttons"];
            for (const nlohmann::json& b : buttons)
                if (b["id"] == id && b["visible"] == true && b["text"] == text)
                    return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ADD_FAILURE() << "no button " << id << " \"" << text << "\" in " << buttons.dump();
    }
    // The buttons of the open message box (ids 1, 2 and 1003), shown or not.
    std::vector<nlohmann::json> BoxButtons() {
        std::vector<nlohmann::json> box;
        const nlohmann::json status = Status();
        for (const nlohmann::json& b : status["buttons"])
            if (b["id"] == 1 || b["id"] == 2 || b["id"] == 1003)
                box.push_back(b);
        return box;
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
    EXPECT_EQ(status["gallery"]["page"]["title"], "1/4 Labels and gauge");
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

// norvane-ctl msgbox makes the gallery show the kit's message box and answers at once; the status
// shows its buttons (the hidden third one too) and the event log its opening and its result.
TEST_F(GalleryEndToEndTest, AMessageBoxOpensOnRequestAndAnswersWithItsResult) {
    Start();
    const SimProcess::Output bad = m_sim->Ctl({"msgbox", "0x12G", "text"});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_NE(bad.err.find("TYPE must be a number"), std::string::npos) << bad.err;

    // Yes / No, the question icon, No first; no caption: the application's name.
    EXPECT_NE(Ctl({"msgbox", "0x124", "Delete all records?"}).find("posted"), std::string::npos);
    WaitButtonId(2, "No");
    const std::vector<nlohmann::json> box = BoxButtons();
    ASSERT_EQ(box.size(), 3u);
    EXPECT_EQ(box[0]["text"], "Yes");
    EXPECT_EQ(box[0]["visible"], true);
    EXPECT_EQ(box[1]["text"], "No");
    EXPECT_EQ(box[1]["focused"], true);
    EXPECT_EQ(box[0]["focused"], false);
    EXPECT_EQ(box[2]["visible"], false) << "the third button is there, hidden";
    std::vector<nlohmann::json> opened = Events("msgbox.opened");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0]["type"], 0x124);
    EXPECT_EQ(opened[0]["text"], "Delete all records?");
    EXPECT_EQ(opened[0]["caption"], "Gallery");
    EXPECT_TRUE(Events("msgbox.closed").empty());

    Key("enter");
    Wait("gallery.command.text=IDNO");
    std::vector<nlohmann::json> closed = Events("msgbox.closed");
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0]["result"], 7);
    WaitButton("Level -", "focused", "true");

    // With a caption, three buttons; the focus moves right, and the stylus chooses.
    const std::uint64_t mark = nlohmann::json::parse(Ctl({"events"}))["last"];
    Ctl({"msgbox", "3", "Save the records?", "Records"});
    WaitButtonId(1003, "Cancel");
    opened = Events("msgbox.opened", mark);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0]["caption"], "Records");
    EXPECT_EQ(BoxButtons()[0]["focused"], true);
    Key("right");
    WaitButton("No", "focused", "true");
    EXPECT_EQ(Status()["gallery"]["command"]["text"], "IDNO") << "moving the focus chooses none";
    TapButton("Cancel");
    Wait("gallery.command.text=IDCANCEL");
    EXPECT_EQ(Events("msgbox.closed", mark).at(0)["result"], 2);
}

// The gallery's fourth page opens boxes of every kind from its buttons: the icon and first-focus
// choices step through their values, and the result shows on the last-command line. A box still
// open when the simulator stops is closed first, and the simulator ends cleanly.
TEST_F(GalleryEndToEndTest, ThePageOfMessageBoxesOpensBoxesOfEveryKind) {
    Start();
    for (int page = 1; page <= 3; ++page) {
        Key("select");
        Wait("gallery.page.index=" + std::to_string(page));
    }
    EXPECT_EQ(Status()["gallery"]["page"]["title"], "4/4 Message boxes");
    TapButton("Icon: none");
    WaitButton("Icon: stop", "visible", "true");
    TapButton("First: 1");
    WaitButton("First: 2", "visible", "true");
    TapButton("First: 2");
    WaitButton("First: 3", "visible", "true");
    TapButton("Abort Retry Ignore");
    WaitButtonId(1003, "Ignore");
    WaitButton("Ignore", "focused", "true");
    EXPECT_EQ(Events("msgbox.opened").at(0)["type"], 0x212);
    Key("right");
    WaitButton("Abort", "focused", "true");
    Key("enter");
    Wait("gallery.command.text=IDABORT");
    EXPECT_EQ(Status()["gallery"]["command"]["id"], 3);

    TapButton("OK");
    WaitButtonId(1, "OK");
    EXPECT_EQ(BoxButtons()[1]["visible"], false) << "one button: the second is hidden";
    EXPECT_EQ(m_sim->Stop(), 0) << m_sim->ErrorOutput();
}

} // namespace
