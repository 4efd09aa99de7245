// A recording read back with giflib, for tests: each frame as the whole screen it leaves (frames
// store only the rectangle that changed), with its delay and its rectangle.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class GifFrames {
public:
    struct Frame {
        std::vector<std::uint32_t> screen; // 0x00RRGGBB, row by row
        int delayCs = 0;
        int left = 0, top = 0, width = 0, height = 0;
        int colours = 0; // entries of its colour table
    };

    // Empty, with error set, when the file is not a GIF giflib can read.
    static GifFrames Read(const std::filesystem::path& file, std::string& error);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::vector<Frame>& Frames() const { return m_frames; }
    int TotalDelayCs() const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<Frame> m_frames;
};
