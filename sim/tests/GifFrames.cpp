#include "GifFrames.h"

#include <gif_lib.h>

GifFrames GifFrames::Read(const std::filesystem::path& file, std::string& error) {
    GifFrames result;
    int code = 0;
    GifFileType* gif = DGifOpenFileName(file.c_str(), &code);
    if (!gif) {
        error = GifErrorString(code);
        return result;
    }
    if (DGifSlurp(gif) == GIF_ERROR) {
        error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &code);
        return result;
    }
    result.m_width = gif->SWidth;
    result.m_height = gif->SHeight;
    std::vector<std::uint32_t> screen(std::size_t(gif->SWidth) * std::size_t(gif->SHeight), 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        if (!map || d.Left + d.Width > gif->SWidth || d.Top + d.Height > gif->SHeight) {
            error = "frame " + std::to_string(i) + " has no colours or lies off the screen";
            DGifCloseFile(gif, &code);
            return {};
        }
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const GifColorType c =
                    map->Colors[image.RasterBits[std::size_t(y) * std::size_t(d.Width) +
                                                 std::size_t(x)]];
                screen[std::size_t(d.Top + y) * std::size_t(gif->SWidth) +
                       std::size_t(d.Left + x)] =
                    std::uint32_t(c.Red) << 16 | std::uint32_t(c.Green) << 8 | c.Blue;
            }
        result.m_frames.push_back(
            {screen, control.DelayTime, d.Left, d.Top, d.Width, d.Height, map->ColorCount});
    }
    DGifCloseFile(gif, &code);
    return result;
}

int GifFrames::TotalDelayCs() const {
    int total = 0;
    for (const Frame& frame : m_frames)
        total += frame.delayCs;
    return total;
}
