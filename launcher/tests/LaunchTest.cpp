// The launch sequence of the focused program: progress texts, the program's image, the program
// started and waited for with a real child process, and the launcher restored after every
// outcome.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/tests/LauncherViewTest.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/user/CWnd.h"

namespace {

const std::string kLauncherBin = "\\Storage Card\\Norvane\\App\\NorvaneApp.bin";
const std::string kZentraBin = "\\Storage Card\\Norvane\\Zentra\\Zentra.bin";
const std::string kQuilbarBin = "\\Storage Card\\Norvane\\Quilbar\\QbRun.bin";

constexpr int kZentra = 0;
constexpr int kQuilbar = 1; // its image is on the card, its executable is not
constexpr int kNoImage = 10;

struct LaunchCase {
    const char* name;
    int focused;
    const char* settings; // co-processor faults during the launch
    DWORD language;       // in the registry when the launch begins; the launcher still has 1033
    std::vector<std::string> progress;
    std::vector<std::pair<std::string, bool>> downloads;
    std::string started; // the program's device path, empty when none starts
    std::vector<std::string> arguments;
};

void PrintTo(const LaunchCase& c, std::ostream* os) {
    *os << c.name;
}

class Launch : public LauncherViewTest, public ::testing::WithParamInterface<LaunchCase> {
protected:
    void SetUp() override {
        LauncherViewTest::SetUp();
        device.InstallProgram("Norvane\\Zentra\\Zentra.exe");
        device.WriteCard("Norvane\\Zentra\\Zentra.bin", LauncherTestDevice::Pattern(3000, 2));
        device.WriteCard("Norvane\\Quilbar\\QbRun.bin", LauncherTestDevice::Pattern(2000, 3));
        device.InstallProgram("Tools\\Probe.exe");
        device.WriteCard("Norvane\\App\\NorvaneApp.ini",
                         "[Zentra]\nPara=-f \"two words\" x\n"
                         "[NoImage]\nProgram=\\Storage Card\\Tools\\Probe.exe\n");
        QCaldroAppView::StartupThreadProc(view);
        recorder.exchanges.clear();
    }

    // The downloads since the start-up's own.
    std::vector<std::pair<std::string, bool>> Downloads() const {
        std::vector<std::pair<std::string, bool>> out;
        const auto all = Events("image.download");
        for (const auto& e : std::vector(all.begin() + 1, all.end()))
            out.emplace_back(e.fields["path"], e.fields["ok"]);
        return out;
    }

    // When the text was last shown.
    std::uint64_t ProgressTime(const std::string& text) const {
        std::optional<std::uint64_t> shown;
        for (const auto& e : Events("progress.shown"))
            if (e.fields["text"] == text)
                shown = e.timeMs;
        EXPECT_TRUE(shown) << "never shown: " << text;
        return shown.value_or(0);
    }

    // The launcher's states since the view was made.
    std::vector<std::string> States() const {
        std::vector<std::string> states;
        for (const auto& e : Events("launcher.state"))
            states.push_back(e.fields["state"]);
        return states;
    }

    // The battery timer runs, armed at armedUs: the battery is read when its 30 s are up.
    bool BatteryTimerRuns(std::uint64_t armedUs) {
        device.Coproc("unplugged=0,status.LOAD_HEADER=0");
        device.BootLauncherImage();
        return BatteryReadAtThirtySeconds(armedUs);
    }
    // When the launch's restore armed the timer: just before the launcher went back to idle.
    std::uint64_t IdleAgainUs() const { return Events("launcher.state").back().timeMs * 1000; }
};

TEST_P(Launch, ShowsLoadsRunsAndRestores) {
    const LaunchCase& c = GetParam();
    FocusItem(c.focused);
    // A tap elsewhere does not matter: the focused item is launched.
    const int tapped = (c.focused + 5) % 11;
    LauncherTestDevice::SetDword(L"I18N", L"Language", c.language);
    if (*c.settings)
        device.Coproc(c.settings);

    EXPECT_EQ(DoubleClick(tapped), 0);

    EXPECT_EQ(ProgressTexts(), c.progress);
    EXPECT_EQ(Downloads(), c.downloads);
    const auto started = Events("process.started");
    if (c.started.empty()) {
        EXPECT_TRUE(started.empty());
    } else {
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0].fields["path"], c.started);
        EXPECT_EQ(device.ProgramArguments(), c.arguments);
        EXPECT_EQ(Events("process.ended").size(), 1u);
    }
    if (c.downloads.back().second) {
        EXPECT_EQ(LauncherTestDevice::TheBoard().Image(), device.LauncherImage());
    }

    // Restored, whatever the outcome.
    EXPECT_EQ(GetFocus(), List());
    EXPECT_EQ(States(), (std::vector<std::string>{"starting", "idle", "launching", "idle"}));
    EXPECT_TRUE(LauncherTestDevice::Picture().Describe()["running"].is_null());
    EXPECT_TRUE(BatteryTimerRuns(IdleAgainUs()));
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, Launch,
    ::testing::Values(LaunchCase{"WithImage",
                                 kZentra,
                                 "",
                                 1033,
                                 {"Connecting ..", "Loading Program ..", "Exit Program"},
                                 {{kZentraBin, true}, {kLauncherBin, true}},
                                 "\\Storage Card\\Norvane\\Zentra\\Zentra.exe",
                                 {"-f", "two words", "x"}},
                      LaunchCase{"WithoutImage",
                                 kNoImage,
                                 "",
                                 1033,
                                 {"Connecting ..", "Loading Program ..", "Exit Program"},
                                 {{kLauncherBin, true}},
                                 "\\Storage Card\\Tools\\Probe.exe",
                                 {}},
                      LaunchCase{"MissingExecutable",
                                 kQuilbar,
                                 "",
                                 1033,
                                 {"Connecting ..", "Loading Program ..", "Exit Program"},
                                 {{kQuilbarBin, true}, {kLauncherBin, true}},
                                 "",
                                 {}},
                      LaunchCase{"Disconnected",
                                 kZentra,
                                 "unplugged=1",
                                 1033,
                                 {"Connecting ..", "Disconnected", "Exit Program"},
                                 {{kLauncherBin, false}},
                                 "",
                                 {}},
                      LaunchCase{"ImageRefused",
                                 kZentra,
                                 "status.LOAD_HEADER=7",
                                 1033,
                                 {"Connecting ..", "Loading Program ..", "Load program failed",
                                  "Exit Program"},
                                 {{kZentraBin, false}, {kLauncherBin, false}},
                                 "",
                                 {}},
                      // The language is read again only when the program has ended.
                      LaunchCase{"ExitTextInTheNewLanguage",
                                 kNoImage,
                                 "",
                                 1028,
                                 {"Connecting ..", "Loading Program ..", "關閉程式"},
                                 {{kLauncherBin, true}},
                                 "\\Storage Card\\Tools\\Probe.exe",
                                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A failure text stays one second; a missing executable goes on to the restore at once.
TEST_F(Launch, FailureTextsStayOneSecond) {
    FocusItem(kZentra);
    device.Coproc("unplugged=1");
    DoubleClick(kZentra);
    EXPECT_EQ(ProgressTime("Exit Program") - ProgressTime("Disconnected"), 1000u);

    device.Coproc("unplugged=0,status.LOAD_HEADER=7");
    DoubleClick(kZentra);
    EXPECT_EQ(ProgressTime("Exit Program") - ProgressTime("Load program failed"), 1000u);
}

TEST_F(Launch, MissingExecutableRestoresAtOnce) {
    FocusItem(kQuilbar);
    DoubleClick(kQuilbar);
    EXPECT_LT(ProgressTime("Exit Program") - ProgressTime("Loading Program .."), 1000u);
}

// Without a focused item nothing happens: the battery timer keeps running.
TEST_F(Launch, NoFocusedItemDoesNothing) {
    const std::uint64_t armedUs = NowUs();
    view->SetTimer(QCaldroAppView::kBatteryTimerId, QCaldroAppView::kBatteryPeriodMs, nullptr);
    DoubleClick(3);
    EXPECT_TRUE(ProgressTexts().empty());
    EXPECT_EQ(States(), (std::vector<std::string>{"starting", "idle"}));
    EXPECT_TRUE(recorder.Commands().empty());
    EXPECT_TRUE(BatteryTimerRuns(armedUs));
}

} // namespace
