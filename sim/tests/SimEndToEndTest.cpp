#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "GifFrames.h"
#include "ScreenImage.h"
#include "SimProcess.h"

namespace {

// Device time runs this many times faster than real time in these tests.
constexpr int kSpeed = 20;
// The launcher's clock label.
constexpr int kClockId = 1002;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class SimEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        char base[] = "/tmp/norvane-e2e-XXXXXX";
        ASSERT_NE(::mkdtemp(base), nullptr);
        m_base = base;
        m_state = m_base / "state";
        m_card = m_base / "card";
        std::filesystem::create_directories(m_card / "Norvane" / "App");
        m_sim = std::make_unique<SimProcess>(m_state, m_card, kSpeed);
    }
    void TearDown() override {
        m_sim.reset(); // stops the simulator whatever happened
        std::filesystem::remove_all(m_base);
    }

    void Start() {
        ASSERT_TRUE(m_sim->Start()) << "exit " << m_sim->Wait() << ": " << m_sim->ErrorOutput();
    }

    nlohmann::json CtlJson(const std::vector<std::string>& args) {
        const SimProcess::Output r = m_sim->Ctl(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        const auto json = nlohmann::json::parse(r.out, nullptr, false);
        EXPECT_FALSE(json.is_discarded()) << r.out;
        return json;
    }

    // The JSON printed by norvane-ctl args, asked again (with a short pause) until pred holds
    // for it or many tries have passed: the launcher works on while the test looks.
    nlohmann::json CtlJsonUntil(const std::vector<std::string>& args,
                                const std::function<bool(const nlohmann::json&)>& pred) {
        nlohmann::json json;
        for (int attempt = 0; attempt < 100; ++attempt) {
            json = CtlJson(args);
            if (pred(json))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return json;
    }

    std::filesystem::path m_base;
    std::filesystem::path m_state;
    std::filesystem::path m_card;
    std::unique_ptr<SimProcess> m_sim;
};

// Depth-first search of the window tree for the first window that pred accepts.
const nlohmann::json* FindWindowWhere(const nlohmann::json& windows,
                                      const std::function<bool(const nlohmann::json&)>& pred) {
    for (const auto& w : windows) {
        if (pred(w))
            return &w;
        // The children by reference: a pointer into a copy would dangle.
        const auto children = w.find("children");
        if (children != w.end())
            if (const auto* found = FindWindowWhere(*children, pred))
                return found;
    }
    return nullptr;
}

const nlohmann::json* FindWindow(const nlohmann::json& windows, const std::string& text) {
    return FindWindowWhere(windows,
                           [&](const nlohmann::json& w) { return w.value("text", "") == text; });
}

TEST_F(SimEndToEndTest, ScreenshotAndStatusShowTheLauncherFromOutside) {
    Start();
    EXPECT_NE(m_sim->Banner().find("socket " + (m_state / "control.sock").string()),
              std::string::npos)
        << m_sim->Banner();

    // The frame is shown once the launcher's start-up has run.
    const nlohmann::json status = CtlJsonUntil({"status"}, [](const nlohmann::json& s) {
        const nlohmann::json* frame = FindWindow(s["windows"], "AppFrame");
        return frame && (*frame)["visible"] == true;
    });
    EXPECT_EQ(status["speed"], kSpeed);
    EXPECT_TRUE(status["time_ms"].is_number_unsigned());
    const nlohmann::json* frame = FindWindow(status["windows"], "AppFrame");
    ASSERT_NE(frame, nullptr) << status.dump(2);
    EXPECT_EQ((*frame)["visible"], true) << frame->dump(2);
    ASSERT_FALSE((*frame)["children"].empty()) << "the frame holds no view: " << frame->dump(2);
    const nlohmann::json& view = (*frame)["children"][0];
    EXPECT_EQ(view["visible"], true);
    EXPECT_EQ(view["rect"], (*frame)["rect"]) << "the view fills the frame";

    // The screenshot holds the launcher's own pixels where its windows are: the clock draws red
    // digits on black in the bottom right corner, so a picture cut, flipped or with its colour
    // channels swapped shows something else there.
    ASSERT_EQ(m_sim->Ctl({"wait", "state=idle"}).exitCode, 0);
    const std::filesystem::path png = m_base / "screen.png";
    const SimProcess::Output shot = m_sim->Ctl({"screenshot", png.string()});
    ASSERT_EQ(shot.exitCode, 0) << shot.err;
    EXPECT_EQ(shot.out, "wrote " + png.string() + " (240x320)\n");
    const ScreenImage screen = ScreenImage::Read(png);
    ASSERT_EQ(screen.Width(), 240);
    ASSERT_EQ(screen.Height(), 320);
    const nlohmann::json idle = CtlJson({"status"});
    const nlohmann::json* clock = FindWindowWhere(
        idle["windows"], [](const nlohmann::json& w) { return w.value("id", -1) == kClockId; });
    ASSERT_NE(clock, nullptr);
    const nlohmann::json& r = (*clock)["rect"];
    EXPECT_GT(r[1].get<int>(), 300) << r;
    const std::vector<std::string> colours =
        screen.ColoursByCount(r[0].get<int>(), r[1].get<int>(), r[2].get<int>(), r[3].get<int>());
    ASSERT_GE(colours.size(), 2u) << r;
    EXPECT_EQ(colours[0], "#000000");
    EXPECT_EQ(colours[1], "#FF0000");
    // The picture above the clock is the launcher's background, not black.
    EXPECT_NE(screen.At(120, 10), "#000000");

    // The kit's message box on request is the gallery's: the launcher refuses it, saying so.
    const SimProcess::Output box = m_sim->Ctl({"msgbox", "0", "Hello"});
    EXPECT_NE(box.exitCode, 0);
    EXPECT_NE(box.err.find("--app gallery"), std::string::npos) << box.err;
}

TEST_F(SimEndToEndTest, KeysPressedThroughCtlAreDeliveredToAWindowAsTheScannerPostsThem) {
    // A low speed keeps the host's scheduling small against the scanner's 30 ms polls, so a busy
    // machine cannot swallow the polls of the hold.
    m_sim = std::make_unique<SimProcess>(m_state, m_card, 2);
    Start();
    // The scanner polls once the start-up is over.
    ASSERT_EQ(m_sim->Ctl({"wait", "state=idle"}).exitCode, 0);
    const std::uint64_t since = CtlJson({"events"})["last"];
    SimProcess::Output r = m_sim->Ctl({"key", "enter"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "pressed enter (code 11) for 100 ms\n");
    // Held on the keypad matrix until the window has its repeats: the launcher's scanner polls
    // every 30 ms and repeats the key from the 19th poll after the press on, so it sends
    // repeats 2, 3, ... (how many depends on how long the host takes to see them).
    r = m_sim->Ctl({"key-down", "down"});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    const auto delivered = [](const nlohmann::json& events) {
        std::vector<std::pair<int, int>> keys; // key code, repeat count
        for (const auto& e : events)
            if (e["kind"] == "keypad.delivered")
                keys.emplace_back(e["key"].get<int>(), e["repeat"].get<int>());
        return keys;
    };
    const std::vector<std::pair<int, int>> expected = {{11, 1}, {8, 1}, {8, 2}, {8, 3}};
    const nlohmann::json events =
        CtlJsonUntil({"events", "--since", std::to_string(since)}, [&](const nlohmann::json& e) {
            return delivered(e["events"]).size() >= expected.size();
        })["events"];
    r = m_sim->Ctl({"key-up", "down"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto keys = delivered(events);
    ASSERT_GE(keys.size(), expected.size()) << events.dump(1);
    EXPECT_EQ(std::vector(keys.begin(), keys.begin() + 4), expected) << events.dump(1);
    for (std::size_t i = 4; i < keys.size(); ++i)
        EXPECT_EQ(keys[i], std::make_pair(8, int(i))) << events.dump(1);
}

TEST_F(SimEndToEndTest, CoprocessorModelIsWatchedChangedAndBootedThroughCtl) {
    // A 5000-byte image (two blocks) on the card, bytes 0, 1, ... 250, 0, 1, ...
    std::filesystem::create_directories(m_card / "Norvane" / "Test");
    {
        std::ofstream image(m_card / "Norvane" / "Test" / "Test.bin", std::ios::binary);
        for (int i = 0; i < 5000; ++i)
            image.put(char(i % 251));
    }
    Start();
    // The launcher's start-up uses the co-processor first; its last query is the identity.
    CtlJsonUntil({"coproc"}, [](const nlohmann::json& c) {
        const nlohmann::json last = c["state"].value("last_command", nlohmann::json());
        return last.is_object() && last.value("name", "") == "GET_IDENTITY";
    });

    const std::string image = "\\Storage Card\\norvane\\TEST\\test.bin";
    SimProcess::Output r = m_sim->Ctl({"coproc", "boot", image});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "hold reset ok, boot handshake ok, download ok\n");
    const nlohmann::json loaded = CtlJson({"coproc"})["state"]["image"];
    EXPECT_EQ(loaded["size"], 5000);
    EXPECT_EQ(loaded["sha256"], "69dbee893909fa17d1be397e0c07691336fe42049c29d403467d3d4a1fc3b5a1");
    EXPECT_EQ(loaded["started"], true);

    r = m_sim->Ctl({"coproc", "set", "unplugged=1"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "set unplugged=1\n");
    r = m_sim->Ctl({"coproc", "boot", image});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "hold reset ok, boot handshake failed, download failed\n");

    r = m_sim->Ctl({"coproc", "set", "unplugged=0,no_such_setting=1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("no_such_setting"), std::string::npos) << r.err;
}

TEST_F(SimEndToEndTest, StopsCleanlyAndKeepsItsState) {
    struct Case {
        const char* how;
        std::function<void(SimProcess&)> stop;
    };
    const Case cases[] = {
        {"norvane-ctl quit",
         [](SimProcess& s) { EXPECT_EQ(s.Ctl({"quit"}).out, "the simulator is stopping\n"); }},
        {"SIGTERM", [](SimProcess& s) { s.Signal(SIGTERM); }},
        {"SIGINT", [](SimProcess& s) { s.Signal(SIGINT); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        std::filesystem::remove_all(m_state);
        m_sim = std::make_unique<SimProcess>(m_state, m_card, kSpeed);
        Start();
        c.stop(*m_sim);
        EXPECT_EQ(m_sim->Wait(), 0) << m_sim->ErrorOutput();
        EXPECT_FALSE(std::filesystem::exists(m_state / "control.sock"));
        EXPECT_EQ(
            ReadFile(m_state / "registry.reg").rfind("Windows Registry Editor Version 5.00", 0),
            0u);
        EXPECT_TRUE(std::filesystem::exists(m_state / "clock-offset"));
    }
}

TEST_F(SimEndToEndTest, RefusesToStartOnStateItCannotUseAndSaysWhy) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path& state, std::filesystem::path& card)> make;
        std::string message;
    };
    const Case cases[] = {
        {"registry that does not parse",
         [](const auto& state, auto&) {
             std::filesystem::create_directories(state);
             std::ofstream(state / "registry.reg")
                 << "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\I18N\n";
         },
         "registry.reg line 3"},
        {"missing card folder", [](const auto&, auto& card) { card /= "missing"; },
         "does not exist"},
        {"clock offset that is not a number",
         [](const auto& state, auto&) {
             std::filesystem::create_directories(state);
             std::ofstream(state / "clock-offset") << "soon\n";
         },
         "clock-offset does not hold a clock offset"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(m_state);
        std::filesystem::path card = m_card;
        c.make(m_state, card);
        const std::string registryBefore = ReadFile(m_state / "registry.reg");
        m_sim = std::make_unique<SimProcess>(m_state, card, kSpeed);
        EXPECT_FALSE(m_sim->Start());
        EXPECT_EQ(m_sim->Wait(), 1);
        EXPECT_NE(m_sim->ErrorOutput().find(c.message), std::string::npos) << m_sim->ErrorOutput();
        EXPECT_EQ(ReadFile(m_state / "registry.reg"), registryBefore);
    }
}

TEST_F(SimEndToEndTest, CtlWithoutASimulatorNamesTheSocketItTried) {
    const SimProcess::Output r = m_sim->Ctl({"status"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find((m_state / "control.sock").string()), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(r.out.empty());
}

} // namespace

namespace {

// The first row of a screen with a pixel that is not black; the height when there is none.
int FirstLitRow(const std::vector<std::uint32_t>& screen, int width) {
    const int height = int(screen.size()) / width;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (screen[std::size_t(y * width + x)] != 0)
                return y;
    return height;
}

std::vector<std::uint32_t> Row(const std::vector<std::uint32_t>& screen, int width, int y) {
    const auto begin = screen.begin() + std::ptrdiff_t(y) * width;
    return {begin, begin + width};
}

} // namespace

// The recording is timed in device time: at twice real time, 3 device seconds are 300
// centiseconds of frames, and the slide-in's steps 100 ms of device time apart are 10 cs apart.
TEST_F(SimEndToEndTest, RecordsTheSlideInAsAnAnimationInDeviceTime) {
    m_sim = std::make_unique<SimProcess>(m_state, m_card, 2);
    Start();
    const std::filesystem::path gifFile = m_base / "out.gif";
    SimProcess::Output recorded;
    std::atomic<bool> done{false};
    std::thread recorder([&] {
        recorded = m_sim->Ctl({"record", gifFile.string(), "--seconds", "3"});
        done = true;
    });
    // Other clients are served while the recording runs.
    bool servedDuring = false;
    while (!done && !servedDuring) {
        const SimProcess::Output events = m_sim->Ctl({"events"});
        ASSERT_EQ(events.exitCode, 0) << events.err;
        servedDuring = events.out.find("record.started") != std::string::npos &&
                       events.out.find("record.finished") == std::string::npos;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    recorder.join();
    EXPECT_TRUE(servedDuring);
    ASSERT_EQ(recorded.exitCode, 0) << recorded.err;
    EXPECT_EQ(recorded.out.rfind("wrote " + gifFile.string() + ": ", 0), 0u) << recorded.out;

    std::string error;
    const GifFrames gif = GifFrames::Read(gifFile, error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(gif.Width(), 240);
    ASSERT_EQ(gif.Height(), 320);
    EXPECT_EQ(gif.TotalDelayCs(), 300);

    // The slide-in: the picture's top row rises by whole steps from frame to frame, and the row
    // that was its top is its top again one step higher.
    std::vector<int> tops;
    std::vector<int> slideDelays;
    const GifFrames::Frame* before = nullptr;
    for (const GifFrames::Frame& frame : gif.Frames()) {
        const int top = FirstLitRow(frame.screen, 240);
        if (top == 0 || top == 320)
            continue;
        if (before) {
            const int was = tops.back();
            EXPECT_LT(top, was);
            EXPECT_EQ((was - top) % 20, 0) << was << " to " << top;
            EXPECT_EQ(Row(frame.screen, 240, top), Row(before->screen, 240, was));
        }
        tops.push_back(top);
        slideDelays.push_back(frame.delayCs);
        before = &frame;
    }
    ASSERT_GE(tops.size(), 5u) << "the slide-in is missing from the recording";
    // Each step is one frame shown for its device time; a late host makes one step longer,
    // the middle one stays 10 cs (a host-timed recording at speed 2 would show 5).
    std::sort(slideDelays.begin(), slideDelays.end());
    const int median = slideDelays[slideDelays.size() / 2];
    EXPECT_GE(median, 8);
    EXPECT_LE(median, 13);

    // Bad requests: one line, exit 1, and the simulator goes on.
    const std::vector<std::vector<std::string>> bad = {
        {"record", (m_base / "x.gif").string(), "--seconds", "0"},
        {"record", (m_base / "x.gif").string(), "--seconds", "-2"},
        {"record", (m_base / "x.gif").string(), "--seconds", "3601"},
        {"record", (m_base / "no-folder" / "x.gif").string(), "--seconds", "1"},
        {"record", m_base.string(), "--seconds", "1"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args[1] + " " + args[3]);
        const SimProcess::Output r = m_sim->Ctl(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.rfind("norvane-ctl: record: ", 0), 0u) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(m_base / "x.gif"));
    EXPECT_EQ(m_sim->Ctl({"status"}).exitCode, 0);

    // A recording in progress does not hold the simulator up when it quits: the recording is
    // refused and its unfinished file removed.
    const std::filesystem::path longFile = m_base / "long.gif";
    std::thread longRecorder([&] {
        recorded = m_sim->Ctl({"record", longFile.string(), "--seconds", "600"});
    });
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (m_sim->Ctl({"events"}).out.find(longFile.string()) != std::string::npos)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(m_sim->Stop(), 0) << m_sim->ErrorOutput();
    longRecorder.join();
    EXPECT_EQ(recorded.exitCode, 1);
    EXPECT_NE(recorded.err.find("shut down during the recording"), std::string::npos)
        << recorded.err;
    EXPECT_FALSE(std::filesystem::exists(longFile));
}
