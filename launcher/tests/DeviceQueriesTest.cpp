// What the launcher does with the co-processor's answers: the battery gauge, the device clock
// and the product type in the registry, each through the co-processor model.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/tests/LauncherViewTest.h"
#include "platform/gdi/Framebuffer.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelTime.h"
#include "res/resource.h"

namespace {

class DeviceQueries : public LauncherViewTest {
protected:
    void SetUp() override {
        LauncherViewTest::SetUp();
        device.BootLauncherImage();
    }

    // The gauge's pixels on screen once it has painted what it was told.
    std::vector<std::uint32_t> Gauge() const {
        HWND gauge = GetDlgItem(view->GetSafeHwnd(), IDC_BATTERY);
        UpdateWindow(gauge);
        RECT r;
        GetWindowRect(gauge, &r);
        std::vector<std::uint32_t> pixels;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                pixels.push_back(Framebuffer::Instance().Pixel(x, y));
        return pixels;
    }

    std::vector<std::uint32_t> ShowBattery(const std::string& settings) {
        device.Coproc(settings);
        view->UpdateBattery(true);
        return Gauge();
    }
};

// The gauge's place and size in the view, in the view's client pixels.
TEST_F(DeviceQueries, GaugeHasItsPlaceInTheView) {
    HWND gauge = GetDlgItem(view->GetSafeHwnd(), IDC_BATTERY);
    RECT r;
    ASSERT_TRUE(GetWindowRect(gauge, &r));
    MapWindowPoints(nullptr, view->GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 164);
    EXPECT_EQ(r.top, 305);
    EXPECT_EQ(r.right, 164 + 18);
    EXPECT_EQ(r.bottom, 305 + 9);
}

// Levels past either end show a full or an empty gauge; a level that is not a number is empty.
TEST_F(DeviceQueries, BatteryLevelIsClampedAndNotANumberIsEmpty) {
    const auto full = ShowBattery("battery_level=1.0");
    const auto half = ShowBattery("battery_level=0.5");
    const auto empty = ShowBattery("battery_level=0.0");
    ASSERT_NE(full, empty);
    ASSERT_NE(half, empty);
    const struct {
        const char* level;
        const std::vector<std::uint32_t>& shows;
    } cases[] = {{"1.5", full}, {"-0.2", empty}, {"nan", empty}, {"-nan", empty}, {"inf", full}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        ShowBattery("battery_level=0.5");
        EXPECT_EQ(ShowBattery(std::string("battery_level=") + c.level), c.shows);
    }
}

TEST_F(DeviceQueries, BatteryWarningRedrawAndFailedQuery) {
    const auto plain = ShowBattery("battery_level=0.5");
    const auto warned = ShowBattery("battery_warning=1");
    EXPECT_NE(warned, plain);

    // Without a redraw the gauge shows the change only at its next paint.
    device.Coproc("battery_warning=0");
    view->UpdateBattery(false);
    EXPECT_EQ(Gauge(), warned);
    InvalidateRect(GetDlgItem(view->GetSafeHwnd(), IDC_BATTERY), nullptr, TRUE);
    EXPECT_EQ(Gauge(), plain);

    // A query that fails leaves the gauge as it was.
    EXPECT_EQ(ShowBattery("battery_level=1.0,unplugged=1"), plain);
}

// The charging and warning flags are bytes of their own: each reaches the gauge alone.
TEST_F(DeviceQueries, ChargingAndWarningComeFromTheirOwnBytes) {
    const struct {
        const char* settings;
        bool charging;
        bool warning;
    } cases[] = {{"charging=1,battery_warning=0", true, false},
                 {"charging=0,battery_warning=1", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        device.Coproc(c.settings);
        view->UpdateBattery(true);
        const auto shown = Events("gauge.changed").back();
        EXPECT_EQ(shown.fields["charging"], c.charging);
        EXPECT_EQ(shown.fields["warning"], c.warning);
    }
}

TEST_F(DeviceQueries, ClockSetsTheLocalTime) {
    device.Coproc("clock=2008-11-13 09:30:05");
    view->SyncCurrentTime();
    SYSTEMTIME t{};
    GetLocalTime(&t);
    EXPECT_EQ((std::vector<int>{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                                t.wMilliseconds}),
              (std::vector<int>{2008, 11, 13, 9, 30, 5, 0}));
    EXPECT_EQ(Events("clock.set").size(), 1u);
}

// A date that cannot exist, or no answer, leaves the device clock as it was.
TEST_F(DeviceQueries, ImpossibleDateLeavesTheClockUntouched) {
    const char* cases[] = {"clock=2008-13-01 10:00:00",
                           "clock=2008-11-00 10:00:00",
                           "clock=2007-02-31 10:00:00",
                           "clock=2009-02-29 10:00:00",
                           "clock=2008-11-13 24:00:00",
                           "clock=2008-11-13 09:60:00",
                           "clock=2008-11-13 09:30:05,unplugged=1"};
    for (const char* settings : cases) {
        SCOPED_TRACE(settings);
        device.Coproc("unplugged=0");
        const std::int64_t offset = DeviceClock::Instance().LocalOffsetMs();
        device.Coproc(settings);
        view->SyncCurrentTime();
        EXPECT_EQ(DeviceClock::Instance().LocalOffsetMs(), offset);
        EXPECT_TRUE(Events("clock.set").empty());
    }
    // The leap day that does exist is taken (the co-processor, unplugged meanwhile, boots again).
    device.Coproc("unplugged=0,clock=2008-02-29 23:59:59");
    device.BootLauncherImage();
    view->SyncCurrentTime();
    EXPECT_EQ(Events("clock.set").size(), 1u);
}

struct ProductCase {
    const char* name;
    std::optional<std::wstring> present;
    const char* settings;
    std::optional<std::wstring> product;
    int identityQueries;
    bool flushed;
};

void PrintTo(const ProductCase& c, std::ostream* os) {
    *os << c.name;
}

class ProductType : public DeviceQueries, public ::testing::WithParamInterface<ProductCase> {};

TEST_P(ProductType, WrittenOnceWhenMissing) {
    const ProductCase& c = GetParam();
    if (c.present)
        LauncherTestDevice::SetString(L"HARDWARE", L"Product", *c.present);
    device.Coproc(c.settings);
    recorder.exchanges.clear();

    view->RecordProductType();

    EXPECT_EQ(LauncherTestDevice::GetString(L"HARDWARE", L"Product"), c.product);
    EXPECT_EQ(Exchanges("GET_IDENTITY"), c.identityQueries);
    EXPECT_EQ(Events("registry.flushed").size(), c.flushed ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Products, ProductType,
    ::testing::Values(
        ProductCase{"PresentIsKept", L"Whatever it says", "product_code=6", L"Whatever it says", 0,
                    false},
        ProductCase{"Norvane", std::nullopt, "product_code=5", L"Norvane", 1, true},
        ProductCase{"Caldro", std::nullopt, "product_code=6", L"Caldro", 1, true},
        ProductCase{"UnknownCodeFlushesOnly", std::nullopt, "product_code=7", std::nullopt, 1,
                    true},
        // A value too long for the 260-byte buffer cannot be read, so it counts as missing.
        ProductCase{"TooLongIsReplaced", std::wstring(80, L'x'), "product_code=6", L"Caldro", 1,
                    true},
        ProductCase{"NoAnswer", std::nullopt, "unplugged=1", std::nullopt, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
