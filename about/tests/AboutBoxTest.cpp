// The About box on the test device under the manual clock: the firmware line from the
// co-processor's reply (or none when it does not answer), the software text from the
// executable's version resource with the fixed date, the title in the language in force, the
// focus on OK, and the fixed version of files whose version resource cannot be read.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "about/FixedVersion.h"
#include "about/QAboutDlg.h"
#include "launcher/tests/LauncherTestDevice.h"
#include "platform/gdi/Framebuffer.h"
#include "platform/kernel/Resources.h"
#include "res/resource.h"
#include "testsupport/ManualClock.h"

namespace {

class AboutBox : public ManualClock {
protected:
    void SetUp() override {
        ManualClock::SetUp();
        device.BootLauncherImage();
    }

    // The box, opened as a modeless dialog so that the test can look at it while it is open.
    void Open() { ASSERT_TRUE(box.Create(IDD_ABOUTBOX)); }

    std::vector<std::wstring> FirmwareLines() {
        std::vector<std::wstring> lines;
        for (int i = 0; i < box.m_firmwareList.GetCount(); ++i) {
            CString line;
            box.m_firmwareList.GetText(i, line);
            lines.push_back(line.Str());
        }
        return lines;
    }

    static std::wstring TextOf(HWND hwnd) {
        wchar_t text[256] = {};
        GetWindowText(hwnd, text, 256);
        return text;
    }

    LauncherTestDevice device;
    QAboutDlg box;
};

TEST_F(AboutBox, FirmwareLineShowsReplyBytesSixToNineAsUnsignedNumbers) {
    const struct {
        const char* setting;
        std::wstring line;
    } cases[] = {
        {"firmware_version=1.0.3.12", L"Firmware version 1.0.3.12"},
        {"firmware_version=255.128.9.200", L"Firmware version 255.128.9.200"},
    };
    for (const auto& c : cases) {
        device.Coproc(c.setting);
        QAboutDlg one;
        ASSERT_TRUE(one.Create(IDD_ABOUTBOX));
        ASSERT_EQ(one.m_firmwareList.GetCount(), 1) << c.setting;
        CString line;
        one.m_firmwareList.GetText(0, line);
        EXPECT_EQ(line.Str(), c.line) << c.setting;
    }
}

TEST_F(AboutBox, ACoprocessorThatDoesNotAnswerLeavesTheListEmptyAfterAbout200Ms) {
    device.Coproc("unplugged=1");
    RestartStopwatch();
    Open();
    EXPECT_TRUE(FirmwareLines().empty());
    EXPECT_GE(ElapsedUs(), 200'000u);
    EXPECT_LE(ElapsedUs(), 230'000u);
    EXPECT_TRUE(IsWindow(box.m_hWnd)) << "the box opens all the same";
    EXPECT_EQ(GetFocus(), box.m_okButton.m_hWnd);
}

TEST_F(AboutBox, SoftwareTextIsTheExecutablesFileVersionWithTheBuildDate) {
    Open();
    EXPECT_EQ(box.m_strVersion.Str(), L"App\nV1.2.2 (Build 12)\n2008/11/13");
    EXPECT_EQ(TextOf(GetDlgItem(box.m_hWnd, IDC_ABOUT_VERSION)), box.m_strVersion.Str())
        << "the text is in control 1020";

    // Each number from its own half of the two version words.
    VS_FIXEDFILEINFO version{};
    version.dwFileVersionMS = (10u << 16) | 20u;
    version.dwFileVersionLS = (30u << 16) | 40u;
    EXPECT_EQ(QAboutDlg::SoftwareText(version).Str(), L"App\nV10.20.30 (Build 40)\n2008/11/13");
}

TEST_F(AboutBox, TitleIsWhiteOnNavyInTheLanguageInForceAndOkHasTheFocus) {
    for (const auto& [language, title] :
         {std::pair<DWORD, std::wstring>{1033, L"About NorvaneApp"}, {1028, L"關於 NorvaneApp"}}) {
        LauncherTestDevice::SetLanguage(language);
        QAboutDlg one;
        ASSERT_TRUE(one.Create(IDD_ABOUTBOX));
        EXPECT_EQ(TextOf(one.m_titleLabel.m_hWnd), title);
        EXPECT_EQ(GetFocus(), one.m_okButton.m_hWnd);
        ShowWindow(one.m_hWnd, SW_SHOW);
        UpdateWindow(one.m_titleLabel.m_hWnd);
        RECT r;
        GetWindowRect(one.m_titleLabel.m_hWnd, &r);
        int navy = 0, white = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const std::uint32_t p = Framebuffer::Instance().Pixel(x, y);
                navy += p == 0x000080;
                white += p == 0xFFFFFF;
            }
        EXPECT_EQ(Framebuffer::Instance().Pixel(r.left, r.top), 0x000080u);
        EXPECT_GT(navy, white);
        EXPECT_GT(white, 20) << "the title's text";
    }
    LauncherTestDevice::SetLanguage(1033);
}

// Modules whose version block cannot be read: the fixed version is all zero and reported so.
TEST_F(AboutBox, UnreadableVersionGivesFalseAndZerosAndTheBoxShowsVersionZero) {
    static const BYTE tooShort[] = {0x02, 0x00, 0x00, 0x00};
    // A root that claims 60 bytes: its key fits, its fixed part does not.
    static const BYTE cut[] = {60, 0, 52, 0, 0, 0, 'V', 0, 0, 0, 0, 0};
    static const RawResource tooShortRaw[] = {{{16, {}}, {1, {}}, tooShort}};
    static const RawResource cutRaw[] = {{{16, {}}, {1, {}}, cut}};
    static const ResourceModuleData tooShortModule{{}, {}, tooShortRaw};
    static const ResourceModuleData cutModule{{}, {}, cutRaw};
    ASSERT_NE(RegisterResourceModule(L"\\Windows\\TooShort.dll", tooShortModule), nullptr);
    ASSERT_NE(RegisterResourceModule(L"\\Windows\\Cut.dll", cutModule), nullptr);
    device.WriteCard("Norvane\\Zentra\\Zentra.exe", "no resources here");

    for (LPCTSTR path :
         {L"\\Windows\\TooShort.dll", L"\\Windows\\Cut.dll",
          L"\\Storage Card\\Norvane\\Zentra\\Zentra.exe", L"\\Windows\\Missing.exe"}) {
        VS_FIXEDFILEINFO out;
        std::memset(&out, 0xAB, sizeof out);
        EXPECT_FALSE(GetFileFixedVersion(out, path)) << path;
        const VS_FIXEDFILEINFO zero{};
        EXPECT_EQ(std::memcmp(&out, &zero, sizeof out), 0) << path;
    }
    EXPECT_EQ(QAboutDlg::SoftwareText(VS_FIXEDFILEINFO{}).Str(),
              L"App\nV0.0.0 (Build 0)\n2008/11/13");

    // The executable's own reads, and only its numbers.
    VS_FIXEDFILEINFO exe{};
    ASSERT_TRUE(GetExeFixedVersion(exe, nullptr));
    EXPECT_EQ(exe.dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(exe.dwFileVersionMS, (1u << 16) | 2u);
    EXPECT_EQ(exe.dwFileVersionLS, (2u << 16) | 12u);
    VS_FIXEDFILEINFO none;
    EXPECT_FALSE(GetExeFixedVersion(none, reinterpret_cast<HMODULE>(std::uintptr_t(0x1234))))
        << "a module that is not registered";
}

} // namespace
