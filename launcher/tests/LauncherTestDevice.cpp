#include "launcher/tests/LauncherTestDevice.h"

#include <fstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/QLanguage.h"
#include "launcher/QCaldroAppView.h"
#include "link/QCoprocLink.h"
#include "platform/kernel/DeviceStorage.h"
#include "platform/kernel/Registry.h"
#include "res/NorvaneAppResources.h"

namespace {

// The co-processor model's defaults, set again before every test: nothing fails, full answers.
constexpr const char* kModelDefaults =
    "unplugged=0,never_ready=0,never_released=0,boot_missing=0,bad_checksums=0,boot_late_ms=0,"
    "status.LOAD_HEADER=0,battery_level=0.8,battery_charging=0,battery_warning=0,"
    "clock=2024-06-01 12:00:00,product_code=5";

std::filesystem::path CardFile(const std::filesystem::path& card, const std::string& cardPath) {
    std::string relative = cardPath;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    return card / relative;
}

} // namespace

LauncherTestDevice::LauncherTestDevice() {
    TheBoard();
    std::filesystem::create_directories(m_dir.Path() / "card");
    std::filesystem::create_directories(StateDir());
    DeviceStorage::Configure(StateDir(), m_dir.Path() / "card");
    Registry::Instance().Load(StateDir() / "registry.reg");
    RegisterNorvaneAppResources();
    SetLanguage(1033);
    Coproc(kModelDefaults);
    WriteCard("Norvane\\App\\NorvaneApp.bin", Pattern(kLauncherImageSize, 1));
}

LauncherPicture& LauncherTestDevice::Picture() {
    static LauncherPicture picture;
    return picture;
}

Board& LauncherTestDevice::TheBoard() {
    static Board board;
    return board;
}

void LauncherTestDevice::Coproc(const std::string& settings) {
    ASSERT_EQ(TheBoard().Configure(settings), "") << settings;
}

std::wstring LauncherTestDevice::WriteCard(const std::string& cardPath, const std::string& bytes) {
    return WriteCard(cardPath, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

std::wstring LauncherTestDevice::WriteCard(const std::string& cardPath,
                                           const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path file = CardFile(m_dir.Path() / "card", cardPath);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return L"\\Storage Card\\" + std::wstring(cardPath.begin(), cardPath.end());
}

std::wstring LauncherTestDevice::InstallProgram(const std::string& cardPath) {
    const std::filesystem::path file = CardFile(m_dir.Path() / "card", cardPath);
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::copy_file(ECHO_ARGS_PATH, file,
                               std::filesystem::copy_options::overwrite_existing);
    ::setenv("ECHO_ARGS_OUT", ArgsFile().c_str(), 1);
    return L"\\Storage Card\\" + std::wstring(cardPath.begin(), cardPath.end());
}

std::vector<std::string> LauncherTestDevice::ProgramArguments() const {
    std::ifstream in(ArgsFile());
    if (!in)
        return {};
    std::vector<std::string> args = nlohmann::json::parse(in).get<std::vector<std::string>>();
    args.erase(args.begin());
    return args;
}

void LauncherTestDevice::BootLauncherImage() {
    QCoprocLink& link = QCoprocLink::Instance();
    ASSERT_TRUE(link.ResetAndSync());
    ASSERT_TRUE(link.DownloadImage(QCaldroAppView::kLauncherImage));
}

std::vector<std::uint8_t> LauncherTestDevice::LauncherImage() const {
    return Pattern(kLauncherImageSize, 1);
}

void LauncherTestDevice::SetDword(const wchar_t* key, const wchar_t* value, DWORD data) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                             &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueEx(handle, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(handle);
}

void LauncherTestDevice::SetString(const wchar_t* key, const wchar_t* value,
                                   const std::wstring& data) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                             &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueEx(handle, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                  DWORD((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

std::optional<std::wstring> LauncherTestDevice::GetString(const wchar_t* key,
                                                          const wchar_t* value) {
    HKEY handle = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, key, 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = REG_NONE;
    DWORD size = 0;
    std::optional<std::wstring> text;
    if (RegQueryValueEx(handle, value, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_SZ && size % sizeof(wchar_t) == 0 && size > 0) {
        std::wstring data(size / sizeof(wchar_t), L'\0');
        RegQueryValueEx(handle, value, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        data.pop_back();
        text = data;
    }
    RegCloseKey(handle);
    return text;
}

void LauncherTestDevice::SetLanguage(DWORD languageId) {
    SetDword(L"I18N", L"Language", languageId);
    ReadLanguage(GetLanguage());
}

std::vector<std::uint8_t> LauncherTestDevice::Pattern(std::size_t size, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t x = seed;
    for (std::uint8_t& b : bytes) {
        x = x * 1664525u + 1013904223u;
        b = std::uint8_t(x >> 24);
    }
    return bytes;
}
