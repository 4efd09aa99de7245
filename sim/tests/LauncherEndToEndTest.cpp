// The whole launcher on the simulated device, driven only through norvane-ctl as a user or
// another program would: the catalogue and the list it gives, start-up failures, launches of
// the sample card's demo programs and their outcomes, remote connections, held keys, the
// launcher worked with the stylus alone, the About box, the USB notice and raw requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include <nlohmann/json.hpp>

#include "ScreenImage.h"
#include "SimProcess.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSpeed = 20;
const std::string kLauncherImage = "\\Storage Card\\Norvane\\App\\NorvaneApp.bin";

class LauncherEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        char base[] = "/tmp/norvane-launcher-e2e-XXXXXX";
        ASSERT_NE(::mkdtemp(base), nullptr);
        m_base = base;
        m_card = m_base / "card";
        CopyCard(NORVANE_BUILD_CARD, m_card);
    }
    void TearDown() override {
        m_sim.reset();
        fs::remove_all(m_base);
    }

    // The build's sample card, its programs hard-linked rather than copied.
    static void CopyCard(const fs::path& from, const fs::path& to) {
        for (const auto& entry : fs::recursive_directory_iterator(from)) {
            const fs::path target = to / fs::relative(entry.path(), from);
            if (entry.is_directory())
                fs::create_directories(target);
            else if (entry.path().extension() == ".exe")
                fs::create_hard_link(entry.path(), target);
            else
                fs::copy_file(entry.path(), target);
        }
    }

    void WriteCatalogue(const std::string& text) {
        std::ofstream(m_card / "Norvane" / "App" / "NorvaneApp.ini", std::ios::trunc) << text;
    }

    void Start(const std::vector<std::string>& args = {}, int speed = kSpeed) {
        m_sim = std::make_unique<SimProcess>(m_base / "state", m_card, speed);
        ASSERT_TRUE(m_sim->Start(args)) << m_sim->Wait() << ": " << m_sim->ErrorOutput();
    }

    std::string Ctl(const std::vector<std::string>& args) {
        const SimProcess::Output r = m_sim->Ctl(args);
        EXPECT_EQ(r.exitCode, 0) << "norvane-ctl " << args[0] << ": " << r.err;
        return r.out;
    }
    // The start-up is over and the keypad scanner, which starts after the slide-in (16 frames,
    // 100 ms apart), polls.
    void Ready() {
        Wait("state=idle");
        Wait("time_ms>=2500");
    }
    void Wait(const std::string& condition) { Ctl({"wait", condition, "--timeout", "30"}); }
    nlohmann::json Status() { return nlohmann::json::parse(Ctl({"status"})); }
    std::uint64_t LastEvent() { return nlohmann::json::parse(Ctl({"events"}))["last"]; }
    // The events since seq of one kind.
    std::vector<nlohmann::json> Events(std::uint64_t since, const std::string& kind) {
        std::vector<nlohmann::json> found;
        const auto log = nlohmann::json::parse(Ctl({"events", "--since", std::to_string(since)}));
        for (const auto& e : log["events"])
            if (e["kind"] == kind)
                found.push_back(e);
        return found;
    }
    // Whether count events of that kind come after seq within a few host seconds.
    bool WaitEvent(std::uint64_t since, const std::string& kind, std::size_t count = 1) {
        for (int attempt = 0; attempt < 500; ++attempt) {
            if (Events(since, kind).size() >= count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    // A press of a key that the launcher's scanner sees however slowly the host runs it: a
    // press of 100 ms of device time that a busy host kept the scanner from seeing is made
    // again. (A key held until the scanner posts it could repeat, and a repeated enter key
    // launches twice.)
    void Press(const std::string& key) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            const std::uint64_t since = LastEvent();
            Ctl({"key", key});
            if (WaitEvent(since, "keypad.posted"))
                return;
        }
        ADD_FAILURE() << key << " was never posted";
    }
    std::vector<std::string> Field(const std::vector<nlohmann::json>& events,
                                   const std::string& field) {
        std::vector<std::string> values;
        for (const auto& e : events)
            values.push_back(e[field].get<std::string>());
        return values;
    }

    int IndexOf(const nlohmann::json& status, const std::string& text) {
        for (std::size_t i = 0; i < status["items"].size(); ++i)
            if (status["items"][i]["text"] == text)
                return int(i);
        return -1;
    }
    // Moves the list's focus to the item with that text with the keypad's arrows (three icons
    // a row).
    void Focus(const std::string& text) {
        for (int presses = 0; presses < 20; ++presses) {
            const nlohmann::json status = Status();
            const int target = IndexOf(status, text);
            ASSERT_GE(target, 0) << text << " is not listed";
            if (status["focus_index"].is_null()) {
                Press("right");
                Wait("focus!=null");
                continue;
            }
            const int at = status["focus_index"];
            if (at == target)
                return;
            const int gap = target - at;
            Press(gap >= 3 ? "down" : gap > 0 ? "right" : gap <= -3 ? "up" : "left");
            Wait("focus_index!=" + std::to_string(at));
        }
        FAIL() << "the focus did not reach " << text;
    }

    fs::path m_base;
    fs::path m_card;
    std::unique_ptr<SimProcess> m_sim;
};

// A window of the tree with that control id.
const nlohmann::json* FindControl(const nlohmann::json& windows, int id) {
    for (const auto& w : windows) {
        if (w["id"] == id)
            return &w;
        if (const auto* found = FindControl(w["children"], id))
            return found;
    }
    return nullptr;
}

TEST_F(LauncherEndToEndTest, CatalogueGrammarGivesTheProgramList) {
    struct Case {
        const char* what;
        std::string ini;
        std::string zentraPara;
        // Extra programs after the ten built-in rows (their order is the section map's):
        // name -> program, image, parameters.
        std::map<std::string, std::vector<std::string>> extras;
    };
    const std::vector<Case> cases = {
        {"grammar",
         "Para = before any section\n"
         "# [Commented]\r\n"
         "[Zentra]\n"
         "Para = a = b\n"
         "  Para =  x=y # z  \n"
         "[ Zentra ]\n"
         "Program = \\Storage Card\\Spaced.exe\n"
         "[Ovikon]\nProgram = o.exe\n"
         "[Ovik]\nProgram = ovik.exe\n"
         "[Varnet]\nBin=v.bin\n"
         "[System]\nProgram = s.exe\n"
         "[]\nOrphan = 1\n"
         "[Extra]\nProgram = e.exe\nBin =\n"
         "[Extra]\nPara = ;not a comment\n"
         "[Last]\nProgram = last.exe",
         "x=y # z",
         {{" Zentra ", {"\\Storage Card\\Spaced.exe", "", ""}},
          {"Ovik", {"ovik.exe", "", ""}},
          {"Varnet", {"", "v.bin", ""}},
          {"Extra", {"e.exe", "", ";not a comment"}},
          // The last line counts without a line feed.
          {"Last", {"last.exe", "", ""}}}},
        {"comments only", "# nothing\n# but comments\n", "", {}},
    };
    const std::vector<std::string> builtIn = {
        "Zentra", "Quilbar",       "Ovik", "Marl Sweep", "Pell Gather",
        "Tersen", "Roundel Probe", "Kest", "Pell Tape",  "Varnet"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteCatalogue(c.ini);
        Start();
        Ready();
        const nlohmann::json status = Status();
        const nlohmann::json& items = status["items"];
        ASSERT_EQ(items.size(), builtIn.size() + c.extras.size()) << items.dump(1);
        for (std::size_t i = 0; i < builtIn.size(); ++i)
            EXPECT_EQ(items[i]["text"], builtIn[i]);
        EXPECT_EQ(items[0]["parameters"], c.zentraPara);
        EXPECT_EQ(items[1]["program"], "\\Storage Card\\Norvane\\Quilbar\\QbRun.exe");
        EXPECT_EQ(items[1]["image"], "\\Storage Card\\Norvane\\Quilbar\\QbRun.bin");
        std::map<std::string, std::vector<std::string>> extras;
        for (std::size_t i = builtIn.size(); i < items.size(); ++i)
            extras[items[i]["text"]] = {items[i]["program"], items[i]["image"],
                                        items[i]["parameters"]};
        EXPECT_EQ(extras, c.extras);
        // The template's "&&" draws as one "&".
        EXPECT_EQ(status["labels"]["caption"]["text"], "Sound & Vibration Analyzer");
        // The clock as it shows on the screen: red "hh:mm:ss" on black.
        const nlohmann::json& clock = status["labels"]["clock"];
        EXPECT_EQ(clock["text_colour"], "#FF0000");
        EXPECT_EQ(clock["background"], "#000000");
        const std::string time = clock["text"];
        EXPECT_TRUE(time.size() == 8 && time[2] == ':' && time[5] == ':') << time;
        m_sim.reset();
    }
}

TEST_F(LauncherEndToEndTest, StartWithoutCoprocessorOrCatalogueShowsWhyInTheCaption) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        bool removeCatalogue;
        std::string caption;
    };
    const std::vector<Case> cases = {
        {"co-processor unplugged", {"--coproc", "unplugged=1"}, false, "Disconnected"},
        {"no catalogue", {}, true, "Load ini failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.removeCatalogue)
            fs::remove(m_card / "Norvane" / "App" / "NorvaneApp.ini");
        Start(c.args);
        Ready();
        Wait("labels.caption.text=" + c.caption);
        EXPECT_EQ(Status()["items"].size(), 0u);
        // The keypad works all the same: the scanner posts a press and clicks.
        const std::uint64_t since = LastEvent();
        const std::uint64_t sounds = Status()["sounds"];
        Press("right");
        EXPECT_EQ(Events(since, "keypad.posted").at(0)["repeat"], 1);
        EXPECT_EQ(Status()["sounds"], sounds + 1);
        m_sim.reset();
    }
}

TEST_F(LauncherEndToEndTest, LaunchOutcomesEndWithTheListFocusedAndTheKeypadBack) {
    struct Case {
        const char* item;
        const char* setup; // "missing-exe", "unplugged" or ""
        bool started;
        std::vector<std::string> texts;
        std::vector<std::string> downloads;
        std::vector<std::string> screen; // the demo's lines on the screen
    };
    const std::vector<Case> cases = {
        {"Zentra",
         "",
         true,
         {"Connecting ..", "Loading Program ..", "Exit Program"},
         {"\\Storage Card\\Norvane\\Zentra\\Zentra.bin", kLauncherImage},
         {"Zentra", "", "4 arguments:", "1: /mode", "2: level", "3: /range", "4: 140dB"}},
        {"Signal Check",
         "",
         true,
         {"Connecting ..", "Loading Program ..", "Exit Program"},
         {kLauncherImage},
         {"SignalCheck", "", "1 arguments:", "1: /self-test"}},
        {"Tersen",
         "missing-exe",
         false,
         {"Connecting ..", "Loading Program ..", "Exit Program"},
         {"\\Storage Card\\Norvane\\Tersen\\Tersen.bin", kLauncherImage},
         {}},
        {"Kest", "unplugged", false, {"Connecting ..", "Disconnected", "Exit Program"}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        if (std::string(c.setup) == "missing-exe")
            fs::remove(m_card / "Norvane" / "Tersen" / "Tersen.exe");
        Start();
        Ready();
        Focus(c.item);
        if (std::string(c.setup) == "unplugged")
            Ctl({"coproc", "set", "unplugged=1"});
        const std::uint64_t since = LastEvent();
        Press("enter");
        if (c.started) {
            // The program owns the screen and the keypad until a key goes down.
            Wait("running.program!=null");
            Wait("state=launching");
            ASSERT_TRUE(WaitEvent(since, "key.wait"));
            const auto screen = Events(since, "screen.text");
            ASSERT_EQ(screen.size(), 1u);
            const std::vector<std::string> lines = screen[0]["lines"];
            EXPECT_EQ(std::vector(lines.begin(), lines.begin() + long(c.screen.size())), c.screen);
            // The program's screen has covered the launcher's last progress text.
            EXPECT_TRUE(Status()["progress"].is_null()) << Status()["progress"];
            Ctl({"key", "select"});
        }
        Wait("state=idle");
        const auto shown = Events(since, "progress.shown");
        EXPECT_EQ(Field(shown, "text"), c.texts);
        if (std::string(c.setup) == "unplugged") {
            ASSERT_EQ(shown.size(), 3u);
            EXPECT_GE(shown[2]["time_ms"].get<std::uint64_t>() -
                          shown[1]["time_ms"].get<std::uint64_t>(),
                      1000u)
                << "Disconnected stays for a second";
        } else {
            std::vector<std::string> downloads;
            for (const auto& e : Events(since, "image.download"))
                if (e["ok"] == true)
                    downloads.push_back(e["path"]);
            EXPECT_EQ(downloads, c.downloads);
        }
        EXPECT_EQ(Events(since, "process.started").size(), c.started ? 1u : 0u);
        const nlohmann::json status = Status();
        EXPECT_EQ(status["focus"], c.item);
        EXPECT_TRUE(status["running"].is_null());
        // The keypad is back: an arrow moves the focus again.
        const int at = status["focus_index"];
        Press(at > 0 ? "left" : "right");
        Wait("focus_index!=" + std::to_string(at));
        m_sim.reset();
    }
}

TEST_F(LauncherEndToEndTest, ExitProgramIsShownInTheLanguageReadAfterTheProgram) {
    Start();
    Ready();
    Focus("Quilbar");
    const std::uint64_t since = LastEvent();
    Press("enter");
    ASSERT_TRUE(WaitEvent(since, "key.wait"));
    // Traditional Chinese is chosen while the program runs.
    Ctl({"reg-set", "I18N", "Language", "1028"});
    Ctl({"key", "select"});
    Wait("state=idle");
    EXPECT_EQ(Field(Events(since, "progress.shown"), "text"),
              (std::vector<std::string>{"Connecting ..", "Loading Program ..", "關閉程式"}));
}

TEST_F(LauncherEndToEndTest, RemoteRequestsOpenAndCloseTheConnectionOnce) {
    Start();
    Ready();
    const auto downloads = [this](std::uint64_t since) {
        return Field(Events(since, "image.download"), "path");
    };
    const std::string quilbar = "\\Storage Card\\Norvane\\Quilbar\\QbRun.bin";

    std::uint64_t since = LastEvent();
    EXPECT_EQ(Ctl({"copydata", "100", "Quilbar"}),
              "WM_COPYDATA 100 (16 bytes) handled, result 0\n");
    EXPECT_EQ(Status()["state"], "remote");
    EXPECT_EQ(downloads(since), std::vector<std::string>{quilbar});
    nlohmann::json status = Status();
    const nlohmann::json* notice = FindControl(status["windows"], 1005);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ((*notice)["text"], "Remote Connection");

    // A second open, another code and a key change nothing while the connection is open.
    since = LastEvent();
    Ctl({"copydata", "100", "Kest"});
    Ctl({"copydata", "102", "Kest"});
    Ctl({"key", "right"});
    EXPECT_TRUE(downloads(since).empty());
    EXPECT_TRUE(Events(since, "keypad.posted").empty());
    EXPECT_EQ(Status()["state"], "remote");

    since = LastEvent();
    Ctl({"copydata", "101"});
    EXPECT_EQ(Status()["state"], "idle");
    EXPECT_EQ(downloads(since), std::vector<std::string>{kLauncherImage});
    status = Status();
    EXPECT_EQ(FindControl(status["windows"], 1005), nullptr);
    // A second close changes nothing; the keypad is back.
    since = LastEvent();
    Ctl({"copydata", "101"});
    EXPECT_TRUE(downloads(since).empty());
    Press("right");
    EXPECT_EQ(Events(since, "keypad.posted").at(0)["repeat"], 1);

    // A string that names no item is an image path; the notice speaks the language read at
    // start-up.
    m_sim.reset();
    std::ofstream(m_base / "state" / "registry.reg", std::ios::trunc)
        << "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\I18N]\n"
           "\"Language\"=dword:00000404\n";
    Start();
    Ready();
    since = LastEvent();
    const std::string ovik = "\\Storage Card\\Norvane\\Ovik\\Ovik.bin";
    Ctl({"copydata", "100", ovik});
    EXPECT_EQ(downloads(since), std::vector<std::string>{ovik});
    status = Status();
    notice = FindControl(status["windows"], 1005);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ((*notice)["text"], "遠端連線");
    Ctl({"copydata", "101"});
    EXPECT_EQ(Status()["state"], "idle");
}

TEST_F(LauncherEndToEndTest, RemoteRequestSentDuringALaunchWaitsUntilTheLaunchHasEnded) {
    Start();
    Ready();
    Focus("Zentra");
    const std::uint64_t since = LastEvent();
    Press("enter");
    ASSERT_TRUE(WaitEvent(since, "key.wait"));
    // The UI thread is blocked in the launch: the sent request waits with its sender.
    SimProcess::Output sent;
    std::thread sender([&] { sent = m_sim->Ctl({"copydata", "100", "Quilbar"}); });
    ASSERT_TRUE(WaitEvent(since, "copydata.sent"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // a second of device time
    EXPECT_TRUE(Events(since, "remote.request").empty());
    EXPECT_EQ(Status()["state"], "launching");
    Ctl({"key", "select"});
    sender.join();
    EXPECT_EQ(sent.exitCode, 0) << sent.err;
    EXPECT_EQ(sent.out, "WM_COPYDATA 100 (16 bytes) handled, result 0\n");
    EXPECT_EQ(Status()["state"], "remote");
    // The request was handled after the launch's restore, which downloads the launcher's image
    // before the remote connection downloads Quilbar's.
    EXPECT_EQ(
        Field(Events(since, "image.download"), "path"),
        (std::vector<std::string>{"\\Storage Card\\Norvane\\Zentra\\Zentra.bin", kLauncherImage,
                                  "\\Storage Card\\Norvane\\Quilbar\\QbRun.bin"}));
}

TEST_F(LauncherEndToEndTest, BatteryGaugeFollowsTheCoprocessorEveryThirtySeconds) {
    Start({"--coproc", "battery_level=0.25"});
    Ready();
    EXPECT_EQ(Status()["gauge"],
              nlohmann::json({{"level", 0.25}, {"charging", false}, {"warning", false}}));
    Ctl({"coproc", "set", "battery_level=1.5,battery_warning=1"});
    // The view's battery timer reads the co-processor again; the level is clamped to full.
    Wait("gauge.warning=true");
    EXPECT_EQ(Status()["gauge"]["level"], 1.0);
    // The timer is set after the slide-in's 16 frames, 100 ms apart, and reads the battery 30 s
    // later, never sooner. (How much later depends on the host in scaled time; the unit tests
    // pin the period in manual time.)
    const auto reads = Events(0, "gauge.changed");
    const auto warned = std::find_if(reads.begin(), reads.end(),
                                     [](const nlohmann::json& e) { return e["warning"] == true; });
    ASSERT_NE(warned, reads.end());
    EXPECT_GE((*warned)["time_ms"].get<std::uint64_t>(), 1600u + 30000u);
}

TEST_F(LauncherEndToEndTest, HeldKeyRepeatsFromTheNineteenthPollEveryThirtyMilliseconds) {
    // A low speed keeps the host's scheduling small against the 30 ms polls.
    Start({}, 2);
    Ready();
    const std::uint64_t since = LastEvent();
    // Held until the scanner has posted a press and two repeats, however slow the host.
    Ctl({"key-down", "down"});
    ASSERT_TRUE(WaitEvent(since, "keypad.posted", 3));
    Ctl({"key-up", "down"});
    const auto posted = Events(since, "keypad.posted");
    ASSERT_GE(posted.size(), 3u) << "a press and at least two repeats";
    const auto at = [&](std::size_t i) { return posted[i]["time_ms"].get<std::int64_t>(); };
    for (std::size_t i = 0; i < posted.size(); ++i) {
        EXPECT_EQ(posted[i]["key"], 8);
        EXPECT_EQ(posted[i]["repeat"], int(i) + 1);
    }
    // Device time from the event log (whole milliseconds, so one off either way). The scanner
    // never polls early; how late it is depends on the host in scaled time (the unit tests pin
    // the polls in manual time).
    EXPECT_GE(at(1) - at(0), 19 * 30 - 1);
    for (std::size_t i = 2; i < posted.size(); ++i)
        EXPECT_GE(at(i) - at(i - 1), 29);
}

TEST_F(LauncherEndToEndTest, TapsAloneFocusLaunchAndEndAProgram) {
    Start();
    Ready();
    nlohmann::json status = Status();
    const nlohmann::json* list = FindControl(status["windows"], 1001);
    ASSERT_NE(list, nullptr);
    const nlohmann::json& rect = (*list)["rect"];
    // The middle of the list's first row: the second of its three icons.
    const std::string x = std::to_string((rect[0].get<int>() + rect[2].get<int>()) / 2);
    const std::string y = std::to_string(rect[1].get<int>() + 20);
    ASSERT_EQ(status["items"][1]["text"], "Quilbar");
    const std::uint64_t since = LastEvent();

    // A tap focuses and selects the item; it launches nothing.
    EXPECT_EQ(Ctl({"tap", x, y}), "tapped " + x + "," + y + "\n");
    Wait("focus=Quilbar");
    EXPECT_EQ(Status()["state"], "idle");
    // A double tap launches it, as the enter key does.
    EXPECT_EQ(Ctl({"tap", x, y, "--double"}), "double-tapped " + x + "," + y + "\n");
    Wait("running.program!=null");
    EXPECT_EQ(Status()["running"]["program"], "\\Storage Card\\Norvane\\Quilbar\\QbRun.exe");
    ASSERT_TRUE(WaitEvent(since, "key.wait"));
    // A tap anywhere on the program's picture ends it; the windows beneath never see that tap,
    // though it falls where the list shows its first program.
    const std::string first = std::to_string(rect[0].get<int>() + 10);
    Ctl({"tap", first, y});
    Wait("state=idle");
    status = Status();
    EXPECT_TRUE(status["running"].is_null());
    EXPECT_EQ(status["focus"], "Quilbar");
    list = FindControl(status["windows"], 1001);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ((*list)["focused"], true);
    EXPECT_EQ(Events(since, "process.started").size(), 1u);
    EXPECT_TRUE(Events(since, "keypad.posted").empty()) << "no key was used";
    std::vector<std::string> downs;
    for (const auto& e : Events(since, "stylus.down"))
        downs.push_back(e["x"].dump() + "," + e["y"].dump());
    EXPECT_EQ(downs,
              (std::vector<std::string>{x + "," + y, x + "," + y, x + "," + y, first + "," + y}));
    EXPECT_EQ(Events(since, "stylus.up").size(), 4u);

    // What a user can get wrong is refused with the reason.
    const auto refused = [this](const std::vector<std::string>& args) {
        const SimProcess::Output r = m_sim->Ctl(args);
        EXPECT_NE(r.exitCode, 0) << args[0];
        return r.err;
    };
    EXPECT_NE(refused({"tap", "240", "10"}).find("240"), std::string::npos);
    EXPECT_NE(refused({"stylus", "move", "10", "320"}).find("320"), std::string::npos);
    EXPECT_EQ(refused({"stylus", "up", "10", "300"}),
              "norvane-ctl: stylus up: the stylus is not down (put it down first)\n");
    EXPECT_EQ(refused({"stylus", "move", "10", "300"}),
              "norvane-ctl: stylus move: the stylus is not down (put it down first)\n");
    EXPECT_EQ(Ctl({"stylus", "down", "10", "300"}), "stylus down at 10,300\n");
    EXPECT_EQ(refused({"stylus", "down", "12", "300"}),
              "norvane-ctl: stylus down: the stylus is down already\n");
    EXPECT_EQ(refused({"tap", "12", "300"}),
              "norvane-ctl: tap: the stylus is down already (lift it with stylus up)\n");
    Ctl({"stylus", "move", "30", "305"});
    EXPECT_EQ(Ctl({"stylus", "up", "30", "305"}), "stylus up at 30,305\n");
    EXPECT_EQ(Status()["state"], "idle");
}

} // namespace

// ---- The About box ---------------------------------------------------------------------------

// The about key opens one box, however long it is held (its repeats go to the box's focused
// OK button); enter closes it and the program list has the focus again. The firmware line is
// asked each time the box opens.
TEST_F(LauncherEndToEndTest, AboutKeyOpensOneBoxThatEnterClosesWithTheFirmwareLine) {
    Start({}, 2);
    Ready();
    const auto lines = [&] { return Status()["dialog"]["lists"][0]["lines"]; };
    const auto close = [&] {
        Press("enter");
        Wait("dialog=null");
    };

    Press("about");
    Wait("dialog.template=130");
    const nlohmann::json dialog = Status()["dialog"];
    EXPECT_EQ(dialog["labels"], nlohmann::json::parse(R"([{"id": 1010, "text": "About NorvaneApp"},
                                        {"id": 1020, "text": "App\nV1.2.2 (Build 12)\n2008/11/13"}])"));
    EXPECT_EQ(dialog["lists"][0]["id"], 1021);
    EXPECT_EQ(dialog["lists"][0]["lines"], nlohmann::json({"Firmware version 1.4.0.12"}));
    EXPECT_EQ(dialog["focused"]["id"], 1);
    EXPECT_EQ(dialog["focused"]["text"], "OK");
    // 111 x 95 dialog units; a modal frame may add to it.
    const auto& r = dialog["rect"];
    EXPECT_GE(r[2].get<int>() - r[0].get<int>(), 194);
    EXPECT_GE(r[3].get<int>() - r[1].get<int>(), 166);
    close();
    const nlohmann::json status = Status();
    const nlohmann::json* list = FindControl(status["windows"], 1001);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE((*list)["focused"]) << "the program list has the focus again";

    // Held until the scanner has posted the press and two repeats.
    std::uint64_t since = LastEvent();
    Ctl({"key-down", "about"});
    ASSERT_TRUE(WaitEvent(since, "keypad.posted", 3));
    Ctl({"key-up", "about"});
    Wait("dialog.template=130");
    EXPECT_EQ(Events(since, "dialog.opened").size(), 1u);
    close();
    EXPECT_EQ(Events(since, "dialog.opened").size(), 1u);
    EXPECT_EQ(Events(since, "dialog.closed").size(), 1u);

    Ctl({"coproc", "set", "firmware_version=2.0.1.7"});
    Press("about");
    Wait("dialog.template=130");
    EXPECT_EQ(lines(), nlohmann::json({"Firmware version 2.0.1.7"}));
    close();

    Ctl({"coproc", "set", "unplugged=1"});
    since = LastEvent();
    Press("about");
    Wait("dialog.template=130");
    EXPECT_EQ(lines(), nlohmann::json::array()) << "no answer, no line";
    close();
    EXPECT_EQ(Events(since, "dialog.closed").size(), 1u);
}

// ---- The outside world: the USB cable and raw requests ---------------------------------------

namespace {

// Where the system's "Connected to USB" notice stands (screen pixels, its border included).
constexpr int kNoticeLeft = 30, kNoticeTop = 135, kNoticeRight = 210, kNoticeBottom = 185;

// Every window of the tree as "class 'text' visible" with its rect, children after parents:
// what a key could change (the clock's text, which changes by itself, left out).
std::vector<std::string> Shapes(const nlohmann::json& windows) {
    std::vector<std::string> shapes;
    for (const auto& w : windows) {
        shapes.push_back(w["class"].get<std::string>() + " " + w["rect"].dump() + " " +
                         (w["visible"].get<bool>() ? "visible" : "hidden"));
        for (const std::string& child : Shapes(w["children"]))
            shapes.push_back("  " + child);
    }
    return shapes;
}

// The top-level window with that text, or null.
const nlohmann::json* TopLevel(const nlohmann::json& windows, const std::string& text) {
    for (const auto& w : windows)
        if (w["text"] == text)
            return &w;
    return nullptr;
}

// The notice's pixels of a screenshot, row by row.
std::vector<std::string> NoticeArea(const ScreenImage& screen) {
    std::vector<std::string> pixels;
    for (int y = kNoticeTop; y < kNoticeBottom; ++y)
        for (int x = kNoticeLeft; x < kNoticeRight; ++x)
            pixels.push_back(screen.At(x, y));
    return pixels;
}

// A string as another program's WCHAR buffer holds it, in hex for --hex: 2-byte little-endian
// units, no terminator unless the text has one.
std::string Utf16Hex(const std::u16string& text) {
    std::string hex;
    char byte[8];
    for (const char16_t unit : text) {
        std::snprintf(byte, sizeof byte, "%02x%02x", unsigned(unit & 0xFF), unsigned(unit >> 8));
        hex += byte;
    }
    return hex;
}

} // namespace

// Plugging the cable in makes the system's own thread show its notice over the launcher; the
// launcher's keypad scanner hides it from its thread at the next key, the launcher's windows
// beneath paint again, and a key with no notice up changes nothing. Pulling the cable out
// removes the notice; plugging in twice or pulling out twice changes nothing.
TEST_F(LauncherEndToEndTest, UsbNoticeIsOnTheScreenOverTheLauncherUntilTheNextKey) {
    Start();
    Ready();
    const fs::path before = m_base / "before.png", up = m_base / "up.png",
                   after = m_base / "after.png";
    nlohmann::json status = Status();
    EXPECT_EQ(status["usb"], nlohmann::json::parse(R"({"connected": false, "notice": null})"));
    const std::vector<std::string> shapes = Shapes(status["windows"]);
    std::uint64_t since = LastEvent();
    Press("1");
    EXPECT_EQ(Shapes(Status()["windows"]), shapes) << "no notice: the key changes nothing";
    Ctl({"screenshot", before.string()});

    EXPECT_EQ(Ctl({"usb", "connect"}), "USB connected: the notice is on the screen\n");
    status = Status();
    EXPECT_EQ(status["usb"]["connected"], true);
    EXPECT_EQ(status["usb"]["notice"]["visible"], true);
    const nlohmann::json& top = status["windows"][0];
    EXPECT_EQ(top["class"], "Dialog");
    EXPECT_EQ(top["text"], "Connected to USB");
    EXPECT_EQ(top["hwnd"], status["usb"]["notice"]["hwnd"]);
    EXPECT_EQ(top["rect"], nlohmann::json({kNoticeLeft, kNoticeTop, kNoticeRight, kNoticeBottom}));
    EXPECT_EQ(top["focused"], false) << "the notice takes nothing from the launcher";
    const nlohmann::json* frame = TopLevel(status["windows"], "AppFrame");
    ASSERT_NE(frame, nullptr);
    EXPECT_NE(top["thread"], (*frame)["thread"]) << "the system's thread owns the notice";
    Ctl({"screenshot", up.string()});
    const ScreenImage shown = ScreenImage::Read(up);
    const ScreenImage launcher = ScreenImage::Read(before);
    ASSERT_FALSE(shown.Empty());
    ASSERT_FALSE(launcher.Empty());
    // The box in the static colour with its text, where the launcher's icons were.
    const auto colours =
        shown.ColoursByCount(kNoticeLeft + 1, kNoticeTop + 1, kNoticeRight - 1, kNoticeBottom - 1);
    ASSERT_GE(colours.size(), 2u);
    EXPECT_EQ(colours[0], "#C0C0C0");
    EXPECT_EQ(colours[1], "#000000");
    EXPECT_NE(launcher.ColoursByCount(kNoticeLeft + 1, kNoticeTop + 1, kNoticeRight - 1,
                                      kNoticeBottom - 1)[0],
              "#C0C0C0");

    EXPECT_EQ(Ctl({"usb", "connect"}), "USB was connected already: nothing changed\n");
    EXPECT_EQ(Events(since, "usb.connected").size(), 1u);

    Press("1");
    status = Status();
    EXPECT_EQ(status["usb"]["notice"]["visible"], false);
    ASSERT_EQ(status["windows"][0]["text"], "Connected to USB");
    EXPECT_EQ(status["windows"][0]["visible"], false) << "hidden, not destroyed";
    // The launcher's windows beneath paint that part of the screen again (on the launcher's
    // thread, soon after the key).
    std::vector<std::string> uncovered;
    for (int attempt = 0; attempt < 250 && uncovered != NoticeArea(launcher); ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Ctl({"screenshot", after.string()});
        uncovered = NoticeArea(ScreenImage::Read(after));
    }
    EXPECT_EQ(uncovered, NoticeArea(launcher));
    // With the notice hidden a key changes nothing more, and plugging in again does not show
    // it: the cable is still in.
    const std::vector<std::string> hidden = Shapes(Status()["windows"]);
    Press("1");
    EXPECT_EQ(Shapes(Status()["windows"]), hidden);
    EXPECT_EQ(Ctl({"usb", "connect"}),
              "USB was connected already: nothing changed (the notice stays hidden)\n");

    EXPECT_EQ(Ctl({"usb", "disconnect"}), "USB disconnected: the notice is gone\n");
    status = Status();
    EXPECT_EQ(status["usb"], nlohmann::json::parse(R"({"connected": false, "notice": null})"));
    EXPECT_EQ(TopLevel(status["windows"], "Connected to USB"), nullptr);
    EXPECT_EQ(Ctl({"usb", "disconnect"}), "USB was not connected: nothing changed\n");
    EXPECT_EQ(Events(since, "usb.disconnected").size(), 1u);
    EXPECT_EQ(Events(since, "usb.connected").size(), 1u);

    // A new plug shows a new notice; the simulator stops cleanly with it up.
    Ctl({"usb", "connect"});
    EXPECT_EQ(Status()["usb"]["notice"]["visible"], true);
    EXPECT_EQ(m_sim->Stop(), 0) << m_sim->ErrorOutput();
}

// Requests as another program may send them, bytes and cbData as it chooses: the view reads the
// string up to its terminator or to cbData, whichever comes first (an odd last byte is no unit,
// a lone surrogate is no character), and opens the connection with what it read.
TEST_F(LauncherEndToEndTest, RawRequestsReadTheStringWithinCbData) {
    Start();
    Ready();
    const std::string quilbar = "\\Storage Card\\Norvane\\Quilbar\\QbRun.bin";
    struct Case {
        const char* name;
        std::vector<std::string> args; // after "copydata 100"
        std::string answer;            // the count norvane-ctl reports
        std::string text;              // the string the view read
        std::string image;             // the image it downloaded
        bool loaded;
    };
    const Case cases[] = {
        {"no terminator", {"--hex", Utf16Hex(u"Quilbar")}, "14 bytes", "Quilbar", quilbar, true},
        {"cut by cbData",
         {"--hex", Utf16Hex(u"Quilbar"), "--cb", "8"},
         "cbData 8 of 14 bytes",
         "Quil",
         "Quil",
         false},
        {"odd cbData",
         {"--hex", Utf16Hex(u"QuilbarX"), "--cb", "15"},
         "cbData 15 of 16 bytes",
         "Quilbar",
         quilbar,
         true},
        {"terminator first",
         {"--hex", Utf16Hex(std::u16string(u"Quilbar\0Kest", 12))},
         "24 bytes",
         "Quilbar",
         quilbar,
         true},
        {"cbData 0 with data",
         {"--hex", Utf16Hex(u"Quilbar"), "--cb", "0x0"},
         "cbData 0 of 14 bytes",
         "",
         "",
         false},
        {"lone surrogate",
         {"--hex", Utf16Hex(u"Gr\xD83D!")},
         "8 bytes",
         "Gr\xEF\xBF\xBD!",
         "Gr\xEF\xBF\xBD!",
         false},
        {"no data", {"--null"}, "0 bytes", "", "", false},
        {"no data, a count claimed",
         {"--null", "--cb", "64"},
         "cbData 64, lpData NULL",
         "",
         "",
         false},
        // The text form: UTF-16 with its terminator, 2 bytes a unit, a pair for U+1F600.
        {"text",
         {"Gr\xF0\x9F\x98\x80"},
         "10 bytes",
         "Gr\xF0\x9F\x98\x80",
         "Gr\xF0\x9F\x98\x80",
         false},
        {"text, cbData all of it", {"Quilbar", "--cb", "16"}, "16 bytes", "Quilbar", quilbar, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::uint64_t since = LastEvent();
        std::vector<std::string> args = {"copydata", "100"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(Ctl(args), "WM_COPYDATA 100 (" + c.answer + ") handled, result 0\n");
        const auto opened = Events(since, "remote.request");
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0]["text"], c.text);
        EXPECT_EQ(opened[0]["result"], "opened");
        const auto downloads = Events(since, "image.download");
        ASSERT_EQ(downloads.size(), 1u);
        EXPECT_EQ(downloads[0]["path"], c.image);
        EXPECT_EQ(downloads[0]["ok"], c.loaded);
        Ctl({"copydata", "101"});
        EXPECT_EQ(Status()["state"], "idle");
    }
}

// A request norvane-ctl cannot send as asked is refused in one line with exit status 1, and
// nothing reaches the launcher.
TEST_F(LauncherEndToEndTest, MalformedRawRequestsAreRefusedAndSendNothing) {
    Start();
    Ready();
    const std::uint64_t since = LastEvent();
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--hex", "5100750"},
         "copydata: --hex: an odd number of hex digits: the last byte has one"},
        {{"--hex", "51zz"}, "copydata: --hex: 'z' at position 3 is not a hex digit"},
        {{"--hex", ""}, "copydata: --hex: no hex digits"},
        {{"--hex", "5100", "--cb", "3"}, "copydata: cbData 3 is more than the 2 bytes given"},
        {{"Quilbar", "--cb", "17"}, "copydata: cbData 17 is more than the 16 bytes given"},
        {{"--cb", "1"}, "copydata: cbData 1 is more than the 0 bytes given"},
        {{"--cb", "0x100000000"},
         "copydata: --cb must be a number, decimal or 0x-hex, of at most 32 bits (not "
         "\"0x100000000\")"},
        {{"Quilbar", "--hex", "00"}, "copydata: give one of STRING, --hex and --null, not several"},
        {{"--hex", "00", "--null"}, "copydata: give one of STRING, --hex and --null, not several"},
    };
    for (const auto& [args, error] : refused) {
        std::vector<std::string> argv = {"copydata", "100"};
        argv.insert(argv.end(), args.begin(), args.end());
        SCOPED_TRACE(nlohmann::json(argv).dump());
        const SimProcess::Output r = m_sim->Ctl(argv);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "norvane-ctl: " + error + "\n");
    }
    EXPECT_TRUE(Events(since, "copydata.sent").empty());
    EXPECT_TRUE(Events(since, "remote.request").empty());
    EXPECT_EQ(Status()["state"], "idle");
}

// ---- The storage card pulled out -------------------------------------------------------------

namespace {

// Every file of the card's host folder with its size and time.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>>
CardListing(const fs::path& card) {
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files;
    for (const auto& e : fs::recursive_directory_iterator(card))
        files[e.path().string()] = {e.is_regular_file() ? e.file_size() : 0, e.last_write_time()};
    return files;
}

// The paths and outcomes of the image downloads since seq, as "path ok" or "path failed".
std::vector<std::string> Downloads(const std::vector<nlohmann::json>& events) {
    std::vector<std::string> downloads;
    for (const auto& e : events)
        downloads.push_back(e["path"].get<std::string>() + (e["ok"] == true ? " ok" : " failed"));
    return downloads;
}

const std::string kZentraImage = "\\Storage Card\\Norvane\\Zentra\\Zentra.bin";

} // namespace

// With the card out a launch finds no image: "Load program failed", the program is not started,
// the restore's own download fails too, and the launcher is back at idle with its keypad. Once
// the card is back the same launch runs the program. Eject and insert say when they change
// nothing, and nothing is written to the card's folder.
TEST_F(LauncherEndToEndTest, LaunchWithTheCardOutFailsAndWorksOnceItIsBack) {
    const auto listing = CardListing(m_card);
    Start();
    Ready();
    EXPECT_EQ(Status()["card"], "inserted");
    Focus("Zentra");
    std::uint64_t since = LastEvent();
    EXPECT_EQ(Ctl({"card", "eject"}), "card ejected\n");
    EXPECT_EQ(Ctl({"card", "eject"}), "card already ejected\n");
    EXPECT_EQ(Status()["card"], "ejected");
    EXPECT_EQ(Events(since, "card.ejected").size(), 1u);

    since = LastEvent();
    Press("enter");
    ASSERT_TRUE(WaitEvent(since, "progress.shown", 4));
    Wait("state=idle");
    EXPECT_EQ(Field(Events(since, "progress.shown"), "text"),
              (std::vector<std::string>{"Connecting ..", "Loading Program ..",
                                        "Load program failed", "Exit Program"}));
    EXPECT_EQ(Downloads(Events(since, "image.download")),
              (std::vector<std::string>{kZentraImage + " failed", kLauncherImage + " failed"}));
    EXPECT_TRUE(Events(since, "process.started").empty());
    nlohmann::json status = Status();
    EXPECT_EQ(status["focus"], "Zentra");
    const int at = status["focus_index"];
    Press("right");
    Wait("focus_index!=" + std::to_string(at));
    Press("left");
    Wait("focus=Zentra");

    since = LastEvent();
    EXPECT_EQ(Ctl({"card", "insert"}), "card inserted\n");
    EXPECT_EQ(Ctl({"card", "insert"}), "card already inserted\n");
    EXPECT_EQ(Status()["card"], "inserted");
    EXPECT_EQ(Events(since, "card.inserted").size(), 1u);
    Press("enter");
    Wait("running.program!=null");
    ASSERT_TRUE(WaitEvent(since, "key.wait"));
    Ctl({"key", "select"});
    Wait("state=idle");
    EXPECT_EQ(Field(Events(since, "progress.shown"), "text"),
              (std::vector<std::string>{"Connecting ..", "Loading Program ..", "Exit Program"}));
    EXPECT_EQ(Downloads(Events(since, "image.download")),
              (std::vector<std::string>{kZentraImage + " ok", kLauncherImage + " ok"}));
    m_sim.reset();
    EXPECT_EQ(CardListing(m_card), listing);
}

// The card pulled out while a program's image goes to the co-processor: the download stops at
// its next read, the program is not started and the launch restores as after any failed
// download.
TEST_F(LauncherEndToEndTest, CardPulledOutDuringADownloadStopsItAtTheNextRead) {
    // 1000 blocks, each held up by the co-processor for 20 ms of device time.
    const std::size_t size = 4000u * 1000u;
    {
        std::ofstream image(m_card / "Norvane" / "Zentra" / "Zentra.bin",
                            std::ios::binary | std::ios::trunc);
        image << std::string(size, '\x5A');
    }
    Start();
    Ready();
    Focus("Zentra");
    Ctl({"coproc", "set", "ready_delay_us=20000"});
    std::uint64_t since = LastEvent();
    Press("enter");
    ASSERT_TRUE(WaitEvent(since, "progress.shown", 2));
    // A block of the program's image has been taken: the download is under way.
    const auto coproc = [this] { return nlohmann::json::parse(Ctl({"coproc"}))["state"]; };
    bool underway = false;
    for (int attempt = 0; attempt < 3000 && !underway; ++attempt) {
        const nlohmann::json state = coproc();
        underway = state["last_command"].is_object() &&
                   state["last_command"].value("name", "") == "LOAD_BLOCK";
        if (!underway)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(underway);
    EXPECT_EQ(Ctl({"card", "eject"}), "card ejected\n");
    Ctl({"coproc", "set", "ready_delay_us=0"});
    ASSERT_TRUE(WaitEvent(since, "progress.shown", 4));
    Wait("state=idle");
    EXPECT_EQ(Field(Events(since, "progress.shown"), "text"),
              (std::vector<std::string>{"Connecting ..", "Loading Program ..",
                                        "Load program failed", "Exit Program"}));
    const auto downloads = Events(since, "image.download");
    EXPECT_EQ(Downloads(downloads),
              (std::vector<std::string>{kZentraImage + " failed", kLauncherImage + " failed"}));
    EXPECT_EQ(downloads.at(0)["size"], size) << "the image was open when the card went";
    EXPECT_TRUE(Events(since, "process.started").empty());
    const nlohmann::json state = coproc();
    // The restore resets the co-processor and cannot read the launcher's image from a card that
    // is out: the co-processor is left empty and stopped.
    EXPECT_EQ(state["image"]["size"].get<std::size_t>(), 0u);
    EXPECT_EQ(state["image"]["started"], false);
    // The keypad is back.
    const int at = Status()["focus_index"];
    Press("right");
    Wait("focus_index!=" + std::to_string(at));
}
