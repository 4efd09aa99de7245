// Renders the short labels of the drawn keypad with FreeType in the device's bitmap font, so
// the window front end needs no font library of its own. Only the window front end uses it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

class LabelFont {
public:
    struct Picture {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> alpha; // width * height, 0 = clear, 255 = ink
    };

    explicit LabelFont(const std::filesystem::path& fontFile);
    ~LabelFont();
    LabelFont(const LabelFont&) = delete;
    LabelFont& operator=(const LabelFont&) = delete;

    bool IsLoaded() const { return m_face != nullptr; }
    // The text (ASCII) on one line; an empty picture when the font did not load.
    Picture Render(std::string_view text) const;

private:
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};
