// The simulator's picture of the launcher, folded from the event log: the list with its focus,
// texts on screen, the running program, and everything forgotten when the view goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/kernel/EventLog.h"
#include "sim/status/LauncherPicture.h"

namespace {

void Record(const std::string& kind, nlohmann::json fields = nlohmann::json::object()) {
    EventLog::Instance().Record(kind, std::move(fields));
}

void ListOf(const std::vector<std::string>& names) {
    Record("list.cleared");
    for (std::size_t i = 0; i < names.size(); ++i)
        Record("list.item", {{"index", i},
                             {"text", names[i]},
                             {"program", "\\" + names[i] + ".exe"},
                             {"image", ""},
                             {"parameters", ""}});
}

class LauncherPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        EventLog::Instance().Clear();
        Record("launcher.state", {{"state", "starting"}});
        Record("caption.shown", {{"text", "Norvane"}});
        ListOf({"Zentra", "Quilbar", "Ovik"});
    }
};

TEST_F(LauncherPictureTest, TheFocusFollowsGainAndLossInEitherOrder) {
    LauncherPicture picture;
    struct Step {
        int index;
        bool focused;
        nlohmann::json focus;
    };
    const Step steps[] = {
        {0, true, 0},        {0, false, nullptr},
        {1, true, 1},        {2, true, 2}, // gained before the old item is told it lost
        {1, false, 2},                     // the loss of an item no longer focused changes nothing
        {2, false, nullptr},               // and the loss of the focused item leaves none
    };
    for (const Step& s : steps) {
        Record("list.focus", {{"index", s.index}, {"focused", s.focused}});
        const nlohmann::json d = picture.Describe();
        EXPECT_EQ(d["focus"], s.focus) << s.index << (s.focused ? " gained" : " lost");
        for (std::size_t i = 0; i < d["items"].size(); ++i)
            EXPECT_EQ(d["items"][i]["focused"], s.focus == nlohmann::json(i));
    }
    Record("list.focus", {{"index", 1}, {"focused", true}});
    ListOf({"Kest"});
    EXPECT_TRUE(picture.Describe()["focus"].is_null()) << "a list filled anew has no focus";
}

TEST_F(LauncherPictureTest, TextsAndTheRunningProgramLastUntilTheirEnd) {
    LauncherPicture picture;
    const auto field = [&picture](const char* name) { return picture.Describe()[name]; };
    EXPECT_EQ(field("caption"), "Norvane");
    EXPECT_EQ(field("state"), "starting");
    EXPECT_TRUE(field("progress").is_null());
    Record("progress.shown", {{"text", "Connecting .."}});
    EXPECT_EQ(field("progress"), "Connecting ..");
    Record("progress.hidden");
    EXPECT_TRUE(field("progress").is_null());
    Record("progress.shown", {{"text", "Loading Program .."}});
    Record("program.started", {{"program", "\\Zentra.exe"}, {"parameters", "-go"}});
    Record("screen.text", {{"lines", {"Zentra"}}});
    EXPECT_TRUE(field("progress").is_null()) << "a program painted the whole screen";
    EXPECT_EQ(field("running"),
              (nlohmann::json{{"program", "\\Zentra.exe"}, {"parameters", "-go"}}));
    Record("program.ended");
    EXPECT_TRUE(field("running").is_null());
    Record("caption.shown", {{"text", "Disconnected"}});
    EXPECT_EQ(field("caption"), "Disconnected");
    Record("gauge.changed", {{"level", 0.5}, {"charging", true}, {"warning", false}});
    EXPECT_EQ(picture.Gauge()["level"], 0.5);
}

TEST_F(LauncherPictureTest, AClosedViewShowsNothingAndAPictureMadeLaterSeesTheSame) {
    LauncherPicture early;
    Record("list.focus", {{"index", 1}, {"focused", true}});
    Record("progress.shown", {{"text", "Exit Program"}});
    Record("program.started", {{"program", "\\Ovik.exe"}, {"parameters", ""}});
    const nlohmann::json open = early.Describe();
    EXPECT_EQ(open["items"].size(), 3u);
    EXPECT_EQ(open["items"][2]["program"], "\\Ovik.exe");
    EXPECT_EQ(LauncherPicture().Describe(), open) << "a later picture reads the log from its start";

    Record("launcher.state", {{"state", "closed"}});
    const nlohmann::json closed = early.Describe();
    EXPECT_EQ(closed["state"], "closed");
    EXPECT_EQ(closed["caption"], "");
    EXPECT_TRUE(closed["items"].empty());
    EXPECT_TRUE(closed["focus"].is_null());
    EXPECT_TRUE(closed["progress"].is_null());
    EXPECT_TRUE(closed["running"].is_null());
}

} // namespace
