// The window's screenshot key: a PNG of the screen saved beside the state directory (which may
// be a temporary one, removed at exit) under the first name of the series not yet taken.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class ScreenshotFile {
public:
    // Tries <state>-screen-1.png, -2, ... up to this many.
    static constexpr int kMaxNumber = 9999;

    // Saves the picture (width x height pixels, 0x00RRGGBB); the file written, or an empty
    // path with the error.
    static std::filesystem::path Save(const std::filesystem::path& stateDir,
                                      const std::vector<std::uint32_t>& pixels, int width,
                                      int height, std::string& error);
};
