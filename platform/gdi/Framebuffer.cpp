#include "platform/gdi/Framebuffer.h"

#include <algorithm>

Framebuffer& Framebuffer::Instance() {
    static Framebuffer framebuffer;
    return framebuffer;
}

Framebuffer::Framebuffer() : m_pixels(std::size_t(kWidth) * kHeight, 0) {}

Framebuffer::Snapshot Framebuffer::Take() const {
    std::lock_guard lock(m_mutex);
    return Snapshot{m_pixels, m_changeCount};
}

std::uint64_t Framebuffer::ChangeCount() const {
    std::lock_guard lock(m_mutex);
    return m_changeCount;
}

std::uint32_t Framebuffer::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) {
        return 0;
    }
    std::lock_guard lock(m_mutex);
    return m_pixels[std::size_t(y) * kWidth + std::size_t(x)];
}

void Framebuffer::Clear(std::uint32_t rgb) {
    std::lock_guard lock(m_mutex);
    std::fill(m_pixels.begin(), m_pixels.end(), rgb);
    ++m_changeCount;
}
