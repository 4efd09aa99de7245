// Writes a recording of the device's screen as an animated GIF while the pictures come: a frame
// for each picture that differs from the one before, shown until the next, with delays in
// centiseconds that add up to exactly the recording's length.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct GifFileType;

class GifWriter {
public:
    // The shortest delay a frame gets. Browsers show a frame of 0 or 1 centisecond for 10, which
    // would slow the playback down; a picture that is up for less gives way to the next one.
    static constexpr std::uint64_t kMinDelayCs = 2;

    GifWriter(int width, int height) : m_width(width), m_height(height) {}
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // Creates the file for a recording of durationUs (at least kMinDelayCs). Empty on success,
    // else the error.
    std::string Open(const std::filesystem::path& file, std::uint64_t durationUs);
    // The picture on the screen from timeUs after the start of the recording on (the first
    // picture counts from the start whatever its time). A picture equal to the one before adds
    // nothing. Empty on success, else the error; the recording is then unusable.
    std::string Add(const std::vector<std::uint32_t>& pixels, std::uint64_t timeUs);
    // Writes the last frame and closes the file. Empty on success, else the error.
    std::string Finish();

    // Frames written so far, and how many of them had more than 256 colours.
    int Frames() const { return m_frames; }
    int ApproximateFrames() const { return m_approximate; }

private:
    struct Pending {
        std::vector<std::uint32_t> pixels;
        std::uint64_t startCs = 0;
    };

    std::string WritePending(std::uint64_t delayCs);
    std::string GifError(const std::string& doing) const;

    int m_width;
    int m_height;
    GifFileType* m_gif = nullptr;
    std::uint64_t m_durationCs = 0;
    std::optional<Pending> m_pending;
    std::vector<std::uint32_t> m_shown; // the screen as the frames written so far leave it
    int m_frames = 0;
    int m_approximate = 0;
};
