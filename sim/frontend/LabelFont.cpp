#include "sim/frontend/LabelFont.h"

LabelFont::LabelFont(const std::filesystem::path& fontFile) {
    if (FT_Init_FreeType(&m_library) != 0) {
        m_library = nullptr;
        return;
    }
    if (FT_New_Face(m_library, fontFile.c_str(), 0, &m_face) != 0) {
        m_face = nullptr;
        return;
    }
    // A bitmap font: use its first strike 1:1.
    if (m_face->num_fixed_sizes > 0)
        FT_Select_Size(m_face, 0);
}

LabelFont::~LabelFont() {
    if (m_face)
        FT_Done_Face(m_face);
    if (m_library)
        FT_Done_FreeType(m_library);
}

LabelFont::Picture LabelFont::Render(std::string_view text) const {
    Picture picture;
    if (!m_face)
        return picture;
    const int ascent = int(m_face->size->metrics.ascender >> 6);
    picture.height = int((m_face->size->metrics.ascender - m_face->size->metrics.descender) >> 6);
    for (const char c : text)
        if (FT_Load_Char(m_face, FT_ULong(static_cast<unsigned char>(c)), FT_LOAD_DEFAULT) == 0)
            picture.width += int(m_face->glyph->advance.x >> 6);
    if (picture.width <= 0 || picture.height <= 0)
        return {};
    picture.alpha.assign(std::size_t(picture.width) * std::size_t(picture.height), 0);

    int penX = 0;
    for (const char c : text) {
        if (FT_Load_Char(m_face, FT_ULong(static_cast<unsigned char>(c)),
                         FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
            continue;
        const FT_GlyphSlot g = m_face->glyph;
        const FT_Bitmap& bm = g->bitmap;
        for (int row = 0; row < int(bm.rows); ++row) {
            const int y = ascent - g->bitmap_top + row;
            if (y < 0 || y >= picture.height)
                continue;
            const unsigned char* line = bm.buffer + row * bm.pitch;
            for (int col = 0; col < int(bm.width); ++col) {
                const int x = penX + g->bitmap_left + col;
                if (x < 0 || x >= picture.width)
                    continue;
                const bool ink = bm.pixel_mode == FT_PIXEL_MODE_MONO
                                     ? (line[col >> 3] & (0x80 >> (col & 7))) != 0
                                     : line[col] >= 128;
                if (ink)
                    picture.alpha[std::size_t(y) * std::size_t(picture.width) + std::size_t(x)] =
                        255;
            }
        }
        penX += int(g->advance.x >> 6);
    }
    return picture;
}
