// The simulator's pictures of the kit's buttons and of the gallery, folded from the event log:
// each button's latest check state, and the gallery's page and last command, whether the
// records came before the picture was made or after.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/kernel/EventLog.h"
#include "sim/status/ButtonPicture.h"
#include "sim/status/GalleryPicture.h"

namespace {

void Record(const std::string& kind, nlohmann::json fields) {
    EventLog::Instance().Record(kind, std::move(fields));
}

void Checked(std::uintptr_t hwnd, int id, int checked) {
    Record("button.checked", {{"id", id}, {"hwnd", hwnd}, {"checked", checked}});
}

class KitPicturesTest : public ::testing::Test {
protected:
    void SetUp() override { EventLog::Instance().Clear(); }
};

TEST_F(KitPicturesTest, EachButtonShowsItsLatestCheckStateUntilItsWindowGoes) {
    Checked(0x10020, 7, 1); // before the picture: taken in when it is made
    ButtonPicture picture;
    Checked(0x10030, 8, 1);
    Checked(0x10030, 8, 0);
    EXPECT_TRUE(picture.Checked(0x10020));
    EXPECT_FALSE(picture.Checked(0x10030)) << "the later record wins";
    EXPECT_FALSE(picture.Checked(0x10040)) << "a button that said nothing is unchecked";

    Record("window.destroyed", {{"hwnd", 0x10020}, {"class", "Button"}, {"id", 7}, {"text", ""}});
    EXPECT_FALSE(picture.Checked(0x10020));
    Record("window.destroyed", {{"hwnd", 0x10050}, {"class", "Dialog"}, {"id", 0}, {"text", ""}});
    Checked(0x10030, 8, 1);
    EXPECT_TRUE(picture.Checked(0x10030)) << "another window's end changes nothing";
}

TEST_F(KitPicturesTest, TheGalleryShowsItsPageAndLastCommand) {
    GalleryPicture picture;
    EXPECT_TRUE(picture.Describe().is_null()) << "no gallery before its first page";

    Record("gallery.page", {{"index", 0}, {"title", "1/3 Labels and gauge"}});
    nlohmann::json shown = picture.Describe();
    EXPECT_EQ(shown["page"]["index"], 0);
    EXPECT_TRUE(shown["command"].is_null());

    Record("gallery.command", {{"source", "button"}, {"id", 1201}, {"text", "Default"}});
    Record("gallery.page", {{"index", 2}, {"title", "3/3 Menus"}});
    Record("gallery.command", {{"source", "menu"}, {"id", 2000}, {"text", "Plain"}});
    shown = picture.Describe();
    EXPECT_EQ(shown["page"]["title"], "3/3 Menus");
    EXPECT_EQ(shown["command"]["source"], "menu");
    EXPECT_EQ(shown["command"]["text"], "Plain");

    GalleryPicture later; // made after all of it, it has the same picture
    EXPECT_EQ(later.Describe(), shown);
}

} // namespace
