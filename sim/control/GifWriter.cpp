#include "sim/control/GifWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <gif_lib.h>

#include "sim/control/GifPalette.h"

namespace {

std::uint64_t Centiseconds(std::uint64_t us) {
    return (us + 5000) / 10000;
}

// The smallest rectangle that holds every pixel in which the pictures differ; nullopt when
// they are equal.
struct Rect {
    int left, top, right, bottom;
};
std::optional<Rect> Difference(const std::vector<std::uint32_t>& a,
                               const std::vector<std::uint32_t>& b, int width, int height) {
    Rect r{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(width) + std::size_t(x);
            if (a[i] == b[i])
                continue;
            r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
                 std::max(r.bottom, y + 1)};
        }
    if (r.left >= r.right)
        return std::nullopt;
    return r;
}

} // namespace

GifWriter::~GifWriter() {
    if (m_gif)
        EGifCloseFile(m_gif, nullptr);
}

std::string GifWriter::GifError(const std::string& doing) const {
    return doing + ": " + GifErrorString(m_gif ? m_gif->Error : E_GIF_ERR_WRITE_FAILED);
}

std::string GifWriter::Open(const std::filesystem::path& file, std::uint64_t durationUs) {
    m_durationCs = Centiseconds(durationUs);
    if (m_durationCs < kMinDelayCs)
        return "a recording lasts at least " + std::to_string(kMinDelayCs * 10) + " ms";
    // Opened here rather than by giflib, which would make the file readable by its owner only.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return "cannot write " + file.string() + ": " + std::strerror(errno);
    int error = 0;
    m_gif = EGifOpenFileHandle(fd, &error);
    if (!m_gif) {
        ::close(fd);
        return "cannot write " + file.string() + ": " + GifErrorString(error);
    }
    EGifSetGifVersion(m_gif, true);
    if (EGifPutScreenDesc(m_gif, m_width, m_height, 8, 0, nullptr) == GIF_ERROR)
        return GifError("writing the screen size");
    // The application extension that makes viewers play the recording in a loop.
    static const GifByteType kLoop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(m_gif, 11, "NETSCAPE2.0") == GIF_ERROR ||
        EGifPutExtensionBlock(m_gif, sizeof kLoop, kLoop) == GIF_ERROR ||
        EGifPutExtensionTrailer(m_gif) == GIF_ERROR)
        return GifError("writing the loop extension");
    return {};
}

std::string GifWriter::Add(const std::vector<std::uint32_t>& pixels, std::uint64_t timeUs) {
    if (!m_gif)
        return "the recording is not open";
    if (pixels.size() != std::size_t(m_width) * std::size_t(m_height))
        return "picture size does not match the recording's";
    if (!m_pending) {
        m_pending = Pending{pixels, 0};
        return {};
    }
    if (pixels == m_pending->pixels)
        return {};
    // A change so close to the end that its frame would be too short shows a little earlier.
    const std::uint64_t at =
        std::max(m_pending->startCs, std::min(Centiseconds(timeUs), m_durationCs - kMinDelayCs));
    if (at - m_pending->startCs < kMinDelayCs) {
        m_pending->pixels = pixels;
        return {};
    }
    if (std::string e = WritePending(at - m_pending->startCs); !e.empty())
        return e;
    m_pending = Pending{pixels, at};
    return {};
}

std::string GifWriter::Finish() {
    if (!m_gif)
        return "the recording is not open";
    if (m_pending)
        if (std::string e = WritePending(m_durationCs - m_pending->startCs); !e.empty())
            return e;
    int error = 0;
    const int result = EGifCloseFile(m_gif, &error);
    m_gif = nullptr;
    if (result == GIF_ERROR)
        return std::string("closing the file: ") + GifErrorString(error);
    return {};
}

std::string GifWriter::WritePending(std::uint64_t delayCs) {
    const std::vector<std::uint32_t>& pixels = m_pending->pixels;
    // Only the rectangle that changed is stored; the rest stays from the frames before. An
    // unchanged picture (it changed and changed back) still needs a frame for its time: one
    // pixel.
    Rect r{0, 0, m_width, m_height};
    if (!m_shown.empty()) {
        const auto changed = Difference(m_shown, pixels, m_width, m_height);
        r = changed ? *changed : Rect{0, 0, 1, 1};
    }
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const GifPalette palette = GifPalette::Of(pixels.data(), m_width, r.left, r.top, w, h);

    // Delays are 16 bits: a longer still picture is split into frames of the longest delay.
    constexpr std::uint64_t kMaxDelayCs = 0xFFFF;
    for (bool first = true; first || delayCs > 0; first = false) {
        const std::uint64_t delay = std::min(delayCs, kMaxDelayCs);
        delayCs -= delay;
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSE_DO_NOT;
        control.UserInputFlag = false;
        control.DelayTime = int(delay);
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType extension[4];
        const std::size_t length = EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_ERROR)
            return GifError("writing a frame's delay");

        std::vector<GifColorType> colours;
        for (const std::uint32_t c : palette.Colours())
            colours.push_back({GifByteType(c >> 16), GifByteType(c >> 8), GifByteType(c)});
        ColorMapObject* map = GifMakeMapObject(int(colours.size()), colours.data());
        if (!map)
            return "out of memory for a colour table";
        const int put = EGifPutImageDesc(m_gif, r.left, r.top, w, h, false, map);
        GifFreeMapObject(map);
        if (put == GIF_ERROR)
            return GifError("writing a frame");
        std::vector<GifPixelType> line(std::size_t(w), 0);
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x)
                line[std::size_t(x - r.left)] =
                    palette.IndexOf(pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)]);
            if (EGifPutLine(m_gif, line.data(), w) == GIF_ERROR)
                return GifError("writing a frame");
        }
        ++m_frames;
        if (!palette.Exact())
            ++m_approximate;
    }
    m_shown = pixels;
    return {};
}
