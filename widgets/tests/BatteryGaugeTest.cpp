// The battery gauge on the screen: its picture pixel by pixel at the launcher's 18 x 9 size for
// the levels, flags and clamps the battery query gives it, and its charging sweep in device
// time.
#include <cmath>
#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "WidgetScreen.h"
#include "widgets/QBatteryGauge.h"

namespace {

constexpr int kGaugeId = 1003;
// Where the launcher view places its gauge.
constexpr RECT kLauncherGauge{164, 305, 164 + 18, 305 + 9};

const std::map<COLORREF, char> kLegend = {
    {RGB(192, 192, 192), '.'}, // the button face of the background
    {RGB(0, 0, 0), 'k'},       // outline (button text) and the badge's mark
    {RGB(255, 255, 255), 'w'}, {RGB(0, 0, 255), 'b'},
    {RGB(255, 0, 0), 'r'},     {RGB(255, 255, 0), 'y'},
};

// Terminal (0, 1, 2, 7), body (1, 0, 17, 8); the fill ends one pixel inside the body.
const std::vector<std::string> kEmpty = {
    ".kkkkkkkkkkkkkkkk.", "kkwwwwwwwwwwwwwwk.", "kkwwwwwwwwwwwwwwk.",
    "kkwwwwwwwwwwwwwwk.", "kkwwwwwwwwwwwwwwk.", "kkwwwwwwwwwwwwwwk.",
    "kkwwwwwwwwwwwwwwk.", ".kkkkkkkkkkkkkkkk.", "..................",
};
// Level 0.5: fill (8, 1, 16, 7).
const std::vector<std::string> kHalfBlue = {
    ".kkkkkkkkkkkkkkkk.", "kkwwwwwwbbbbbbbbk.", "kkwwwwwwbbbbbbbbk.",
    "kkwwwwwwbbbbbbbbk.", "kkwwwwwwbbbbbbbbk.", "kkwwwwwwbbbbbbbbk.",
    "kkwwwwwwbbbbbbbbk.", ".kkkkkkkkkkkkkkkk.", "..................",
};
const std::vector<std::string> kHalfRed = {
    ".kkkkkkkkkkkkkkkk.", "kkwwwwwwrrrrrrrrk.", "kkwwwwwwrrrrrrrrk.",
    "kkwwwwwwrrrrrrrrk.", "kkwwwwwwrrrrrrrrk.", "kkwwwwwwrrrrrrrrk.",
    "kkwwwwwwrrrrrrrrk.", ".kkkkkkkkkkkkkkkk.", "..................",
};
// Level 1.0: fill (2, 1, 16, 7), the whole inside.
const std::vector<std::string> kFullBlue = {
    ".kkkkkkkkkkkkkkkk.", "kkbbbbbbbbbbbbbbk.", "kkbbbbbbbbbbbbbbk.",
    "kkbbbbbbbbbbbbbbk.", "kkbbbbbbbbbbbbbbk.", "kkbbbbbbbbbbbbbbk.",
    "kkbbbbbbbbbbbbbbk.", ".kkkkkkkkkkkkkkkk.", "..................",
};
const std::vector<std::string> kFullRed = {
    ".kkkkkkkkkkkkkkkk.", "kkrrrrrrrrrrrrrrk.", "kkrrrrrrrrrrrrrrk.",
    "kkrrrrrrrrrrrrrrk.", "kkrrrrrrrrrrrrrrk.", "kkrrrrrrrrrrrrrrk.",
    "kkrrrrrrrrrrrrrrk.", ".kkkkkkkkkkkkkkkk.", "..................",
};
// The badge over the half fill: disc (10, 1, 18, 9) drawn without outline, the bar in column 14
// over rows 3 to 5, row 6 yellow, the dot in row 7.
const std::vector<std::string> kHalfBlueWarning = {
    ".kkkkkkkkkkkkkkkk.", "kkwwwwwwbbbbyyybk.", "kkwwwwwwbbbyyyyyk.",
    "kkwwwwwwbbyyyykyy.", "kkwwwwwwbbyyyykyy.", "kkwwwwwwbbyyyykyy.",
    "kkwwwwwwbbbyyyyyk.", ".kkkkkkkkkkkyykkk.", "..................",
};

struct PictureCase {
    const char* name;
    float level;
    BOOL charging;
    BOOL warning;
    const std::vector<std::string>& expected;
};

TEST(BatteryGauge, PaintsTheBatteryPixelByPixel) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const PictureCase cases[] = {
        {"half, not charging: blue from the right", 0.5f, FALSE, FALSE, kHalfBlue},
        {"half, charging: red", 0.5f, TRUE, FALSE, kHalfRed},
        {"full: the whole inside", 1.0f, FALSE, FALSE, kFullBlue},
        {"full and charging", 1.0f, TRUE, FALSE, kFullRed},
        {"empty: no fill at all", 0.0f, FALSE, FALSE, kEmpty},
        {"a fill width that truncates to 0", 0.06f, TRUE, FALSE, kEmpty},
        {"below 0 clamps to empty", -0.3f, FALSE, FALSE, kEmpty},
        {"above 1 clamps to full", 1.7f, FALSE, FALSE, kFullBlue},
        {"not a number counts as empty", nan, TRUE, FALSE, kEmpty},
        {"warning badge over the fill", 0.5f, FALSE, TRUE, kHalfBlueWarning},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        WidgetScreen screen;
        QBatteryGauge gauge;
        ASSERT_TRUE(gauge.SubclassWindow(screen.AddStatic(kGaugeId, kLauncherGauge)));
        // The battery query's order: warning and level without repaint, then charging with it.
        gauge.SetWarning(c.warning, FALSE);
        gauge.SetLevel(c.level, FALSE);
        gauge.SetCharging(c.charging, TRUE);
        screen.Pump();
        EXPECT_EQ(WidgetScreen::Picture(kLauncherGauge, kLegend), c.expected);
    }
}

TEST(BatteryGauge, SettersWithoutRepaintWaitForTheNextPaint) {
    WidgetScreen screen;
    QBatteryGauge gauge;
    ASSERT_TRUE(gauge.SubclassWindow(screen.AddStatic(kGaugeId, kLauncherGauge)));
    screen.Pump();
    ASSERT_EQ(WidgetScreen::Picture(kLauncherGauge, kLegend), kEmpty);

    gauge.SetWarning(TRUE, FALSE);
    gauge.SetLevel(0.5f, FALSE);
    gauge.SetCharging(FALSE, FALSE);
    screen.Pump();
    EXPECT_EQ(WidgetScreen::Picture(kLauncherGauge, kLegend), kEmpty);

    gauge.Invalidate();
    screen.Pump();
    EXPECT_EQ(WidgetScreen::Picture(kLauncherGauge, kLegend), kHalfBlueWarning);
}

// A wider gauge, so that every step of the sweep moves the fill: 194 x 10 gives a body 173
// pixels wide whose fill is trunc(173 x level) pixels, and 171 (the whole inside) when full.
constexpr RECT kWideGauge{20, 40, 20 + 194, 40 + 10};

int FillWidth() {
    int width = 0;
    for (int x = kWideGauge.left; x < kWideGauge.right; ++x) {
        const COLORREF c = WidgetScreen::Pixel(x, kWideGauge.top + 3);
        width += c == RGB(255, 0, 0) || c == RGB(0, 0, 255);
    }
    return width;
}

struct SweepCase {
    const char* name;
    float measured;
    std::vector<int> widths; // the first one painted at once, then one per 200 ms tick
};

TEST(BatteryGauge, ChargingSweepsUpToFullAndStartsAgain) {
    const SweepCase cases[] = {
        // 0.6, 0.65, 0.7, 0.75, 0.8, 0.85, 0.9, 0.95, 1.0, 0.6, 0.65, ...
        {"from 0.6", 0.6f, {103, 112, 121, 129, 138, 147, 155, 164, 171, 103, 112, 121}},
        // 0.95, 1.0, 0.95, 1.0, ...
        {"from 0.95", 0.95f, {164, 171, 164, 171, 164}},
        // 0.0 draws no fill, then 0.05 ...
        {"from empty", 0.0f, {0, 8, 17, 25}},
    };
    for (const SweepCase& c : cases) {
        SCOPED_TRACE(c.name);
        WidgetScreen screen;
        QBatteryGauge gauge;
        ASSERT_TRUE(gauge.SubclassWindow(screen.AddStatic(kGaugeId, kWideGauge)));
        gauge.SetLevel(c.measured, FALSE);
        gauge.SetCharging(TRUE, TRUE);
        screen.Pump();
        std::vector<int> widths = {FillWidth()};
        for (std::size_t tick = 1; tick < c.widths.size(); ++tick) {
            // Nothing until the period has passed, then exactly one tick.
            EXPECT_TRUE(MessagesFor(screen.Run(199), gauge, WM_TIMER).empty());
            EXPECT_EQ(MessagesFor(screen.Run(1), gauge, WM_TIMER).size(), 1u);
            widths.push_back(FillWidth());
        }
        EXPECT_EQ(widths, c.widths);
    }
}

TEST(BatteryGauge, SweepTimerChain) {
    struct StopCase {
        const char* name;
        std::function<void(QBatteryGauge&, WidgetScreen&)> act;
        int ticks; // timer messages in the following second
        int width; // fill width afterwards
        COLORREF fill;
    };
    const StopCase cases[] = {
        {"charging a full battery: the first tick ends the chain",
         [](QBatteryGauge& g, WidgetScreen&) {
             g.SetLevel(1.0f, FALSE);
             g.SetCharging(TRUE, TRUE);
         },
         1, 171, RGB(255, 0, 0)},
        {"charging stops: the fill stays where the sweep was",
         [](QBatteryGauge& g, WidgetScreen& s) {
             g.SetLevel(0.6f, FALSE);
             g.SetCharging(TRUE, TRUE);
             s.Run(200);
             s.Run(200);
             g.SetCharging(FALSE, TRUE);
         },
         0, 121, RGB(0, 0, 255)},
        {"a new level restarts from the measurement",
         [](QBatteryGauge& g, WidgetScreen& s) {
             g.SetLevel(0.6f, FALSE);
             g.SetCharging(TRUE, TRUE);
             s.Run(200);
             s.Run(200);
             g.SetLevel(0.3f, FALSE);
             g.SetCharging(FALSE, TRUE);
         },
         0, 51, RGB(0, 0, 255)},
        {"a timer message of another id leaves the sweep alone",
         [](QBatteryGauge& g, WidgetScreen&) {
             g.SetLevel(0.6f, FALSE);
             g.SetCharging(TRUE, TRUE);
             g.SendMessage(WM_TIMER, 7);
         },
         5, 147, RGB(255, 0, 0)},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        WidgetScreen screen;
        QBatteryGauge gauge;
        ASSERT_TRUE(gauge.SubclassWindow(screen.AddStatic(kGaugeId, kWideGauge)));
        c.act(gauge, screen);
        screen.Pump();
        int ticks = 0;
        for (int i = 0; i < 5; ++i) {
            ticks += int(MessagesFor(screen.Run(200), gauge, WM_TIMER).size());
        }
        EXPECT_EQ(ticks, c.ticks);
        EXPECT_EQ(FillWidth(), c.width);
        EXPECT_EQ(WidgetScreen::Pixel(kWideGauge.left + 170, kWideGauge.top + 3), c.fill);
    }
}

} // namespace
