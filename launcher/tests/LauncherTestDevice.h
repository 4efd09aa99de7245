// The device a launcher test runs on: the simulated board (one for the whole test program, as
// the process-wide co-processor link stays bound to the first board it meets), a storage card
// and state folder of the test's own holding the launcher's image, an empty registry in English,
// the launcher's resources, and the co-processor model back at its defaults.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel/WinTypes.h"
#include "sim/board/Board.h"
#include "sim/status/LauncherPicture.h"
#include "testsupport/StorageTempDir.h"

class LauncherTestDevice {
public:
    // Size of the launcher's own image on the card.
    static constexpr std::size_t kLauncherImageSize = 5000;

    LauncherTestDevice();
    LauncherTestDevice(const LauncherTestDevice&) = delete;
    LauncherTestDevice& operator=(const LauncherTestDevice&) = delete;

    static Board& TheBoard();
    // What the launcher told the event log about itself, as the simulator's status shows it;
    // one for the whole test program, following the log from its start.
    static LauncherPicture& Picture();

    // Co-processor settings as "key=value,..." (CoprocModel::Set); the test fails on an error.
    void Coproc(const std::string& settings);

    // Writes bytes to the card at a path below the card's root written with backslashes
    // ("Norvane\\App\\NorvaneApp.ini") and returns the device path of the file.
    std::wstring WriteCard(const std::string& cardPath, const std::string& bytes);
    std::wstring WriteCard(const std::string& cardPath, const std::vector<std::uint8_t>& bytes);
    // Puts the test program (it writes its arguments to ArgsFile() and exits) on the card.
    std::wstring InstallProgram(const std::string& cardPath);
    std::filesystem::path ArgsFile() const { return m_dir.Path() / "args.json"; }
    // The arguments the test program was last started with (argv[0] left out); empty when it
    // has not run.
    std::vector<std::string> ProgramArguments() const;
    std::filesystem::path StateDir() const { return m_dir.Path() / "state"; }

    // Reset, boot and the launcher's image, as the start-up leaves the co-processor.
    void BootLauncherImage();
    std::vector<std::uint8_t> LauncherImage() const;

    // HKLM values as the launcher reads them.
    static void SetDword(const wchar_t* key, const wchar_t* value, DWORD data);
    static void SetString(const wchar_t* key, const wchar_t* value, const std::wstring& data);
    // The REG_SZ value, or nothing when it is missing or of another type.
    static std::optional<std::wstring> GetString(const wchar_t* key, const wchar_t* value);
    // Writes HKLM\I18N "Language" and reads it into the launcher's language.
    static void SetLanguage(DWORD languageId);

    static std::vector<std::uint8_t> Pattern(std::size_t size, std::uint32_t seed);

private:
    StorageTempDir m_dir;
};
