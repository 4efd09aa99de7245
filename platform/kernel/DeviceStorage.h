// The device's file system on the host: the storage card is a host folder mapped to
// "\Storage Card", every other device path lives under <state>/root. Device paths use
// backslashes and match case-insensitively, as on the card's FAT file system, and a path that
// would leave its root (.. past the root, a symlink pointing out, a host path) is refused.
// While the card is out of its slot (CardSlot), "\Storage Card" is gone from the device.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/kernel/WinTypes.h"

class DeviceStorage {
public:
    // Sets the roots of the running device. Either may be empty: device paths under an empty
    // root are refused.
    static void Configure(const std::filesystem::path& stateDir,
                          const std::filesystem::path& cardDir);
    static std::filesystem::path StateDir();
    static std::filesystem::path CardDir();

    // The host path of an absolute device path ("\Storage Card\Norvane\App\NorvaneApp.ini"),
    // canonical and inside its root, or nothing when the path is refused. Components that exist
    // are matched case-insensitively; the rest are kept as written, so the result may name a
    // file that does not exist yet.
    // A path on the card is refused while the card is out. When refusal is given, a refused
    // path sets it to the last error of the file call that asked: while the card is out its
    // folder is missing from the root, so the folder itself is not found (ERROR_FILE_NOT_FOUND)
    // and a path inside it has no folder to lead through (ERROR_PATH_NOT_FOUND); any other
    // refused path is ERROR_FILE_NOT_FOUND.
    static std::optional<std::filesystem::path> Resolve(LPCTSTR devicePath,
                                                        DWORD* refusal = nullptr);

    // Whether an absolute device path names the card's folder or a path inside it.
    static bool IsOnCard(LPCTSTR devicePath);
};
