// The program list that the catalogue build gives: the ten built-in programs with their icons,
// then the catalogue's extra programs in file order, or a failure text in the caption line with
// an empty list; and the start-up thread that runs the build.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/tests/LauncherViewTest.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/Framebuffer.h"
#include "platform/gdi/ImageList.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelTime.h"
#include "res/resource.h"

namespace {

using Row = std::vector<std::wstring>; // text, program, bin, para

const std::wstring kCard = L"\\Storage Card\\Norvane\\";

struct BuiltIn {
    const wchar_t* text;
    std::wstring program;
    std::wstring bin;
    UINT bitmap;
};

const std::vector<BuiltIn> kBuiltIns = {
    {L"Zentra", kCard + L"Zentra\\Zentra.exe", kCard + L"Zentra\\Zentra.bin", IDB_ZENTRA},
    {L"Quilbar", kCard + L"Quilbar\\QbRun.exe", kCard + L"Quilbar\\QbRun.bin", IDB_QUILBAR},
    {L"Ovik", kCard + L"Ovik\\Ovik.exe", kCard + L"Ovik\\Ovik.bin", IDB_OVIK},
    {L"Marl Sweep", kCard + L"MarlSweep\\MarlSweep.exe", kCard + L"MarlSweep\\MarlSweep.bin",
     IDB_MARL_SWEEP},
    {L"Pell Gather", kCard + L"PellGather\\PellGather.exe", kCard + L"PellGather\\PellGather.bin",
     IDB_PELL_GATHER},
    {L"Tersen", kCard + L"Tersen\\Tersen.exe", kCard + L"Tersen\\Tersen.bin", IDB_TERSEN},
    {L"Roundel Probe", kCard + L"RoundelProbe\\RoundelProbe.exe",
     kCard + L"RoundelProbe\\RoundelProbe.bin", IDB_ROUNDEL_PROBE},
    {L"Kest", kCard + L"Kest\\Kest.exe", kCard + L"Kest\\Kest.bin", IDB_KEST},
    {L"Pell Tape", kCard + L"PellTape\\PellTape.exe", kCard + L"PellTape\\PellTape.bin",
     IDB_PELL_TAPE},
    {L"Varnet", kCard + L"Varnet\\Varnet.exe", kCard + L"Varnet\\Varnet.bin", IDB_VARNET},
};

struct CatalogueCase {
    const char* name;
    std::string ini;
    std::wstring zentraPara;
    // Extra programs after the built-in rows: text, program, bin, para.
    std::vector<Row> extras;
};

void PrintTo(const CatalogueCase& c, std::ostream* os) {
    *os << c.name;
}

class CatalogueList : public LauncherViewTest,
                      public ::testing::WithParamInterface<CatalogueCase> {};

TEST_P(CatalogueList, BuiltInRowsThenExtraSectionsInFileOrder) {
    const CatalogueCase& c = GetParam();
    device.WriteCard("Norvane\\App\\NorvaneApp.ini", c.ini);
    device.BootLauncherImage();

    view->BuildCatalogue();

    const std::vector<Row> expectedExtras = c.extras;
    const auto items = ReadList();
    ASSERT_EQ(items.size(), kBuiltIns.size() + expectedExtras.size());
    for (std::size_t row = 0; row < items.size(); ++row) {
        SCOPED_TRACE(row);
        Row expected;
        if (row < kBuiltIns.size())
            expected = {kBuiltIns[row].text, kBuiltIns[row].program, kBuiltIns[row].bin,
                        row == 0 ? c.zentraPara : L""};
        else
            expected = expectedExtras[row - kBuiltIns.size()];
        EXPECT_EQ((Row{items[row].text, items[row].program, items[row].bin, items[row].para}),
                  expected);
        EXPECT_EQ(items[row].image, int(row));
    }
    const auto built = Events("catalogue.built");
    ASSERT_EQ(built.size(), 1u);
    EXPECT_EQ(built[0].fields["items"], items.size());
    // The status the simulator shows lists the same items.
    const auto status = LauncherTestDevice::Picture().Describe();
    ASSERT_EQ(status["items"].size(), items.size());
    EXPECT_EQ(status["items"].back()["text"], CString(items.back().text).ToUtf8());
}

INSTANTIATE_TEST_SUITE_P(
    Catalogues, CatalogueList,
    ::testing::Values(
        CatalogueCase{"OnlyComments", "# no programs\n#[Extra]\n", L"", {}},
        CatalogueCase{"ExtrasReservedAndBuiltInNames",
                      "[Noise Map]\r\n"
                      "Program = \\Storage Card\\Noise\\Noise.exe\r\n"
                      "Bin = \\Storage Card\\Noise\\Noise.bin\r\n"
                      "Para = -a \"b c\"\r\n"
                      "[Zentra]\nPara = -mode fast\n"
                      "[System]\nProgram=\\Storage Card\\Sys.exe\n"
                      "[Quilbar]\nProgram=q.exe\n[Ovikon]\nProgram=o.exe\n[Kest]\nProgram=k.exe\n"
                      "[Ovik]\nProgram=\\Storage Card\\Ovik2.exe\n"
                      "[Varnet]\nProgram=v.exe\nBin=v.bin\n"
                      "[ Zentra ]\nProgram=z.exe\n",
                      L"-mode fast",
                      {{L"Noise Map", L"\\Storage Card\\Noise\\Noise.exe",
                        L"\\Storage Card\\Noise\\Noise.bin", L"-a \"b c\""},
                       {L"Ovik", L"\\Storage Card\\Ovik2.exe", L"", L""},
                       {L"Varnet", L"v.exe", L"v.bin", L""},
                       {L" Zentra ", L"z.exe", L"", L""}}},
        // Each of the nine built-in section names keeps its section out of the list; the
        // near misses around them are extra programs, only "System" is reserved.
        CatalogueCase{"EveryBuiltInSectionAndItsNearMisses",
                      "[Zentra]\nProgram=a.exe\n[Quilbar]\nProgram=a.exe\n[Ovikon]\nProgram=a.exe\n"
                      "[Marl Sweep]\nProgram=a.exe\n[Pell Gather]\nProgram=a.exe\n"
                      "[Tersen]\nProgram=a.exe\n[Roundel Probe]\nProgram=a.exe\n"
                      "[Kest]\nProgram=a.exe\n[Pell Tape]\nProgram=a.exe\n[System]\nProgram=a.exe\n"
                      "[Ovik]\nProgram=o.exe\n[Varnet]\nProgram=v.exe\n[Systems]\nProgram=s.exe\n"
                      "[MarlSweep]\nProgram=m.exe\n[Pell]\nProgram=p.exe\n[Kest2]\nProgram=k.exe\n",
                      L"",
                      {{L"Ovik", L"o.exe", L"", L""},
                       {L"Varnet", L"v.exe", L"", L""},
                       {L"Systems", L"s.exe", L"", L""},
                       {L"MarlSweep", L"m.exe", L"", L""},
                       {L"Pell", L"p.exe", L"", L""},
                       {L"Kest2", L"k.exe", L"", L""}}},
        CatalogueCase{"NamesCompareWithCase",
                      "[system]\nProgram=s.exe\n[zentra]\nPara=ignored\n",
                      L"",
                      {{L"system", L"s.exe", L"", L""}, {L"zentra", L"", L"", L"ignored"}}},
        // The last line counts without a line feed after it.
        CatalogueCase{"LastLineWithoutLineFeed",
                      "[Last]\nBin=\\Storage Card\\L.bin\nProgram=\\Storage Card\\L.exe",
                      L"",
                      {{L"Last", L"\\Storage Card\\L.exe", L"\\Storage Card\\L.bin", L""}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Each row's icon is its program's bitmap, with the grey background masked out.
TEST_F(LauncherViewTest, RowsShowTheirProgramsBitmaps) {
    device.WriteCard("Norvane\\App\\NorvaneApp.ini", "[Extra]\nProgram=e.exe\n");
    device.BootLauncherImage();
    view->BuildCatalogue();

    const auto images =
        reinterpret_cast<HIMAGELIST>(SendMessage(List(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
    ASSERT_EQ(ImageList_GetImageCount(images), 11);
    std::vector<UINT> bitmaps;
    for (const BuiltIn& b : kBuiltIns)
        bitmaps.push_back(b.bitmap);
    bitmaps.push_back(IDB_EXTRA_PROGRAM);

    CDC screen;
    screen.Attach(GetDC(nullptr));
    for (std::size_t i = 0; i < bitmaps.size(); ++i) {
        SCOPED_TRACE(bitmaps[i]);
        CDC fromList;
        CDC fromResource;
        fromList.CreateCompatibleDC(&screen);
        fromResource.CreateCompatibleDC(&screen);
        CBitmap listCanvas;
        CBitmap picture;
        listCanvas.CreateCompatibleBitmap(&screen, 50, 50);
        ASSERT_TRUE(picture.LoadBitmap(bitmaps[i]));
        CBitmap* oldList = fromList.SelectObject(&listCanvas);
        CBitmap* oldPicture = fromResource.SelectObject(&picture);
        fromList.FillSolidRect(0, 0, 50, 50, 0x00989898);
        ImageList_Draw(images, int(i), fromList, 0, 0, 0);
        int differing = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x)
                differing += fromList.GetPixel(x, y) != fromResource.GetPixel(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0);
        fromList.SelectObject(oldList);
        fromResource.SelectObject(oldPicture);
    }
    ReleaseDC(nullptr, screen.Detach());
}

struct FailureCase {
    const char* name;
    bool catalogue;
    bool coprocessor;
    const char* caption;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class CatalogueFailure : public LauncherViewTest,
                         public ::testing::WithParamInterface<FailureCase> {};

// The caption shows why the list is empty, and the list draws again afterwards.
TEST_P(CatalogueFailure, CaptionTellsAndListStaysEmpty) {
    const FailureCase& c = GetParam();
    if (c.catalogue)
        device.WriteCard("Norvane\\App\\NorvaneApp.ini", "[Extra]\nProgram=e.exe\n");
    device.BootLauncherImage();
    if (!c.coprocessor)
        device.Coproc("unplugged=1");
    RECT list;
    GetWindowRect(List(), &list);
    // Paint a colour the list never uses where it has no item, to see whether it draws again.
    HDC screen = GetDC(nullptr);
    const RECT probe{list.right - 10, list.bottom - 10, list.right - 2, list.bottom - 2};
    CDC::FromHandle(screen)->FillSolidRect(&probe, 0x00FF00FF);
    ReleaseDC(nullptr, screen);

    view->BuildCatalogue();
    UpdateWindow(List());

    EXPECT_TRUE(ReadList().empty());
    EXPECT_EQ(CString(WindowText(Caption())).ToUtf8(), c.caption);
    EXPECT_EQ(Framebuffer::Instance().Pixel(probe.left + 2, probe.top + 2), 0x989898u);
    EXPECT_EQ(Exchanges("GET_IDENTITY"), c.catalogue && c.coprocessor ? 1 : 0);
    const auto built = Events("catalogue.built");
    ASSERT_EQ(built.size(), 1u);
    EXPECT_EQ(built[0].fields["error"], c.caption);
    EXPECT_EQ(LauncherTestDevice::Picture().Describe()["caption"], c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CatalogueFailure,
    ::testing::Values(FailureCase{"NoCatalogue", false, true, "Load ini failed"},
                      FailureCase{"NoCoprocessor", true, false, "Disconnected"},
                      FailureCase{"NeitherThere", false, false, "Load ini failed"}),
    [](const auto& info) { return std::string(info.param.name); });

// The start-up thread in its order: reset held 200 ms, boot, the launcher's image, 200 ms, then
// battery, clock, catalogue and product type; the launcher is idle afterwards.
TEST_F(LauncherViewTest, StartupBootsLoadsAndFillsTheList) {
    device.WriteCard("Norvane\\App\\NorvaneApp.ini", "[Extra]\nProgram=e.exe\n");
    device.Coproc("clock=2009-03-04 05:06:07");
    // Running from an earlier boot, so that holding the reset is seen as a change of the line.
    device.BootLauncherImage();
    recorder.exchanges.clear();
    recorder.edges.clear();
    EXPECT_EQ(LauncherTestDevice::Picture().Describe()["state"], "starting");

    EXPECT_EQ(QCaldroAppView::StartupThreadProc(view), 0u);

    std::vector<std::string> commands = recorder.Commands();
    const std::vector<std::string> expected = {"LOAD_HEADER",  "LOAD_BLOCK",  "LOAD_BLOCK",
                                               "START",        "GET_BATTERY", "GET_CLOCK",
                                               "GET_IDENTITY", "GET_IDENTITY"};
    EXPECT_EQ(commands, expected);
    EXPECT_EQ(LauncherTestDevice::TheBoard().Image(), device.LauncherImage());
    EXPECT_TRUE(LauncherTestDevice::TheBoard().ImageStarted());

    // The reset line is released 200 ms after it was pulled low.
    std::vector<std::uint64_t> falls, rises;
    for (const auto& e : recorder.edges)
        if (e.gpio == CoprocModel::kResetLine)
            (e.level ? rises : falls).push_back(e.us);
    ASSERT_FALSE(falls.empty());
    ASSERT_FALSE(rises.empty());
    EXPECT_EQ(rises.front() - falls.front(), 200000u);

    const auto downloads = Events("image.download");
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(downloads[0].fields["path"], "\\Storage Card\\Norvane\\App\\NorvaneApp.bin");
    EXPECT_EQ(downloads[0].fields["size"], LauncherTestDevice::kLauncherImageSize);
    EXPECT_EQ(downloads[0].fields["ok"], true);

    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_EQ(now.wYear, 2009);
    EXPECT_EQ(now.wDay, 4);
    EXPECT_EQ(ReadList().size(), 11u);
    EXPECT_EQ(LauncherTestDevice::GetString(L"HARDWARE", L"Product"), L"Norvane");
    EXPECT_EQ(LauncherTestDevice::Picture().Describe()["state"], "idle");
    const auto states = Events("launcher.state");
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back().fields["state"], "idle");
}

} // namespace
