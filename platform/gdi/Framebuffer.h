// The device's LCD: a persistent 240 x 320 framebuffer of 0x00RRGGBB pixels. Device contexts
// draw into it; front ends read snapshots and redraw when the change counter has moved.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

class Framebuffer {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 320;

    static Framebuffer& Instance();

    // A copy of every pixel, row by row from the top, and the change counter it belongs to.
    struct Snapshot {
        std::vector<std::uint32_t> pixels;
        std::uint64_t changeCount = 0;
    };
    Snapshot Take() const;
    std::uint64_t ChangeCount() const;
    std::uint32_t Pixel(int x, int y) const;

    // Paints the whole screen one colour (power-on state, test fixtures).
    void Clear(std::uint32_t rgb);

    // For the drawing layer: the pixel store, to be used while Mutex() is held, and the note
    // that something has been drawn.
    std::mutex& Mutex() const { return m_mutex; }
    std::uint32_t* PixelsLocked() { return m_pixels.data(); }
    void MarkChangedLocked() { ++m_changeCount; }

private:
    Framebuffer();

    mutable std::mutex m_mutex;
    std::vector<std::uint32_t> m_pixels;
    std::uint64_t m_changeCount = 0;
};
