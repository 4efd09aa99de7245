// Remote connections requested by other programs through WM_COPYDATA: which image an open
// request loads, how its UTF-16 string is bounded by cbData, the notice on screen, the battery
// timer held off, and the requests that change nothing.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/tests/LauncherViewTest.h"
#include "res/resource.h"

namespace {

using namespace std::string_literals;

constexpr DWORD kOpen = 100;
constexpr DWORD kClose = 101;

// A string as another program's WCHAR buffer holds it: 2-byte little-endian units.
std::vector<BYTE> Utf16(const std::u16string& text) {
    std::vector<BYTE> bytes;
    for (char16_t unit : text) {
        bytes.push_back(BYTE(unit & 0xFF));
        bytes.push_back(BYTE(unit >> 8));
    }
    return bytes;
}

struct OpenCase {
    const char* name;
    std::u16string data;         // the buffer's units, terminators included
    std::optional<DWORD> cbData; // default: the whole buffer
    bool nullData;
    std::string text;  // as the request was read
    std::string image; // the path downloaded
    int loads;         // 0: nothing (the reset leaves no program); 1: Tersen's image; 2: the other
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class Remote : public LauncherViewTest {
protected:
    void SetUp() override {
        LauncherViewTest::SetUp();
        device.WriteCard("Norvane\\Tersen\\Tersen.bin", kTersen);
        device.WriteCard("Other\\remote.bin", kOther);
        device.WriteCard("Norvane\\App\\NorvaneApp.ini",
                         "[NoImage]\nProgram=\\Storage Card\\NoImage.exe\n");
        QCaldroAppView::StartupThreadProc(view);
        view->SetTimer(QCaldroAppView::kBatteryTimerId, QCaldroAppView::kBatteryPeriodMs, nullptr);
        timerSetUs = NowUs();
        m_downloadsBefore = Events("image.download").size();
        recorder.exchanges.clear();
    }

    LRESULT Send(DWORD code, const std::u16string& text) {
        const std::vector<BYTE> bytes = Utf16(text + u'\0');
        return CopyData(code, bytes.data(), DWORD(bytes.size()));
    }

    // The downloads since the start-up's own.
    std::vector<std::pair<std::string, bool>> Downloads() const {
        std::vector<std::pair<std::string, bool>> out;
        const auto all = Events("image.download");
        for (std::size_t i = m_downloadsBefore; i < all.size(); ++i)
            out.emplace_back(all[i].fields["path"], all[i].fields["ok"]);
        return out;
    }

    std::vector<std::string> Results() const {
        std::vector<std::string> out;
        for (const auto& e : Events("remote.request"))
            out.push_back(std::to_string(e.fields["code"].get<int>()) + " " +
                          e.fields["result"].get<std::string>());
        return out;
    }

    // The Remote Connection notice on screen, or NULL.
    static HWND Notice() {
        HWND dialog = FindWindow(L"Dialog", nullptr);
        return dialog && IsWindowVisible(dialog) && GetDlgItem(dialog, IDC_REMOTE_TEXT) ? dialog
                                                                                        : nullptr;
    }

    bool BatteryReadWithin30s() {
        recorder.exchanges.clear();
        PumpFor(30100);
        return Exchanges("GET_BATTERY") > 0;
    }

    std::vector<std::uint8_t> Image() const { return LauncherTestDevice::TheBoard().Image(); }

    // When the fixture armed the battery timer.
    std::uint64_t timerSetUs = 0;
    const std::vector<std::uint8_t> kTersen = LauncherTestDevice::Pattern(1500, 4);
    const std::vector<std::uint8_t> kOther = LauncherTestDevice::Pattern(1200, 5);

private:
    std::size_t m_downloadsBefore = 0;
};

class RemoteOpen : public Remote, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(RemoteOpen, LoadsTheRequestedImageUntilClosed) {
    const OpenCase& c = GetParam();
    const std::vector<BYTE> bytes = Utf16(c.data);
    const DWORD cbData = c.cbData.value_or(DWORD(bytes.size()));

    EXPECT_EQ(CopyData(kOpen, c.nullData ? nullptr : bytes.data(), cbData), 0);

    const auto opened = Events("remote.request");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].fields["text"], c.text);
    EXPECT_EQ(opened[0].fields["result"], "opened");
    EXPECT_EQ(Downloads(), (std::vector<std::pair<std::string, bool>>{{c.image, c.loads != 0}}));
    const std::vector<std::vector<std::uint8_t>> images = {{}, kTersen, kOther};
    EXPECT_EQ(Image(), images[std::size_t(c.loads)]);
    ASSERT_NE(Notice(), nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(Notice(), IDC_REMOTE_TEXT)), L"Remote Connection");
    EXPECT_EQ(LauncherTestDevice::Picture().Describe()["state"], "remote");
    EXPECT_FALSE(BatteryReadWithin30s());

    EXPECT_EQ(CopyData(kClose, nullptr, 0), 0);

    EXPECT_EQ(Notice(), nullptr);
    EXPECT_EQ(Downloads().back(),
              (std::pair<std::string, bool>{"\\Storage Card\\Norvane\\App\\NorvaneApp.bin", true}));
    EXPECT_EQ(Image(), device.LauncherImage());
    EXPECT_EQ(LauncherTestDevice::Picture().Describe()["state"], "idle");
    // The close armed the timer again just before it said so.
    EXPECT_TRUE(BatteryReadAtThirtySeconds(Events("remote.request").back().timeMs * 1000));
}

const std::string kTersenBin = "\\Storage Card\\Norvane\\Tersen\\Tersen.bin";

INSTANTIATE_TEST_SUITE_P(
    Requests, RemoteOpen,
    ::testing::Values(
        OpenCase{"ListedName", u"Tersen\0"s, {}, false, "Tersen", kTersenBin, 1},
        OpenCase{"UnlistedNameIsAPath",
                 u"\\Storage Card\\Other\\remote.bin\0"s,
                 {},
                 false,
                 "\\Storage Card\\Other\\remote.bin",
                 "\\Storage Card\\Other\\remote.bin",
                 2},
        OpenCase{"MissingFile",
                 u"\\Storage Card\\Other\\none.bin\0"s,
                 {},
                 false,
                 "\\Storage Card\\Other\\none.bin",
                 "\\Storage Card\\Other\\none.bin",
                 0},
        OpenCase{"PathLeavingTheCard",
                 u"\\Storage Card\\..\\state\\registry.reg\0"s,
                 {},
                 false,
                 "\\Storage Card\\..\\state\\registry.reg",
                 "\\Storage Card\\..\\state\\registry.reg",
                 0},
        OpenCase{"HostPath", u"/etc/hostname\0"s, {}, false, "/etc/hostname", "/etc/hostname", 0},
        OpenCase{"ListedWithoutImage", u"NoImage\0"s, {}, false, "NoImage", "", 0},
        // The string ends at cbData when no terminator comes first, and at the terminator when it
        // does; an odd last byte is no unit.
        OpenCase{"NoTerminatorWithinCbData", u"TersenXY\0"s, 12, false, "Tersen", kTersenBin, 1},
        OpenCase{"CbDataCutsTheName", u"Tersen\0"s, 8, false, "Ters", "Ters", 0},
        OpenCase{"OddCbData", u"Tersen\0"s, 13, false, "Tersen", kTersenBin, 1},
        OpenCase{"TerminatorFirst", u"Tersen\0Kest\0"s, {}, false, "Tersen", kTersenBin, 1},
        OpenCase{"NoData", u"Tersen\0"s, {}, true, "", "", 0},
        OpenCase{"ZeroBytes", u"Tersen\0"s, 0, false, "", "", 0},
        OpenCase{"SurrogatePair",
                 u"Gr\U0001F600\0"s,
                 {},
                 false,
                 "Gr\xF0\x9F\x98\x80",
                 "Gr\xF0\x9F\x98\x80",
                 0},
        // The pair's low half lies past cbData: the high half alone is no character.
        OpenCase{"CbDataEndsOnAHighSurrogate", u"Gr\U0001F600\0"s, 6, false, "Gr\xEF\xBF\xBD",
                 "Gr\xEF\xBF\xBD", 0},
        OpenCase{
            "LoneSurrogate", u"Gr\xD83D!\0"s, {}, false, "Gr\xEF\xBF\xBD!", "Gr\xEF\xBF\xBD!", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// While a connection is open, another open changes nothing; a close without a connection and
// unknown codes change nothing either. Every request answers 0.
TEST_F(Remote, RequestsThatChangeNothing) {
    EXPECT_EQ(Send(kClose, u""), 0);
    EXPECT_EQ(Send(102, u"Tersen"), 0);
    EXPECT_TRUE(Downloads().empty());
    EXPECT_TRUE(recorder.Commands().empty());

    EXPECT_EQ(Send(kOpen, u"Tersen"), 0);
    const HWND notice = Notice();
    EXPECT_EQ(Send(kOpen, u"\\Storage Card\\Other\\remote.bin"), 0);
    EXPECT_EQ(Notice(), notice);
    EXPECT_EQ(Image(), kTersen);
    EXPECT_EQ(Downloads().size(), 1u);

    EXPECT_EQ(Send(kClose, u""), 0);
    EXPECT_EQ(Results(), (std::vector<std::string>{"101 ignored", "102 ignored", "100 opened",
                                                   "100 ignored", "101 closed"}));
}

// A close request without a connection leaves the battery timer as it was: it still reads the
// battery every 30000 ms counted from when it was set, not from the request.
TEST_F(Remote, CloseWithoutConnectionKeepsTheBatteryTimer) {
    PumpFor(10000);
    EXPECT_EQ(Send(kClose, u""), 0);
    PumpFor(DWORD((timerSetUs + 60100000 - NowUs()) / 1000));

    std::vector<std::uint64_t> readsMs;
    for (const CoprocExchange& e : recorder.exchanges)
        if (e.commandName == "GET_BATTERY")
            readsMs.push_back((e.timeUs - timerSetUs) / 1000);
    ASSERT_EQ(readsMs.size(), 2u);
    for (std::size_t i = 0; i < readsMs.size(); ++i) {
        SCOPED_TRACE(i);
        // The timer is looked at when the loop next runs, every 20 ms.
        EXPECT_GE(readsMs[i], 30000u * (i + 1));
        EXPECT_LT(readsMs[i], 30000u * (i + 1) + 50);
    }
}

TEST_F(Remote, NoticeSpeaksTheLanguageInForce) {
    LauncherTestDevice::SetLanguage(1028);
    Send(kOpen, u"Tersen");
    ASSERT_NE(Notice(), nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(Notice(), IDC_REMOTE_TEXT)), L"遠端連線");
    Send(kClose, u"");
}

// A view closed during a connection takes its notice with it.
TEST_F(Remote, ClosingTheViewRemovesTheNotice) {
    Send(kOpen, u"Tersen");
    ASSERT_NE(Notice(), nullptr);
    view->DestroyWindow();
    view = nullptr;
    EXPECT_EQ(Notice(), nullptr);
    EXPECT_EQ(LauncherTestDevice::Picture().Describe()["state"], "closed");
}

} // namespace
