#include "platform/gdi/FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

const wchar_t kMissingText[] =
    L"font wenquanyi_13px.pcf not found: install the Debian package xfonts-wqy";

} // namespace

struct FontFace::FreeTypeState {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeTypeState() {
        if (face) {
            FT_Done_Face(face);
        }
        if (library) {
            FT_Done_FreeType(library);
        }
    }
};

FontFace* FontFace::System() {
    static FontFace face(kSystemFontPath);
    return face.Ok() ? &face : nullptr;
}

std::wstring FontFace::SystemError() {
    static FontFace* face = System();
    return face ? std::wstring() : std::wstring(kMissingText);
}

FontFace::FontFace(const std::string& path) : m_ft(std::make_unique<FreeTypeState>()) {
    if (FT_Init_FreeType(&m_ft->library) != 0 ||
        FT_New_Face(m_ft->library, path.c_str(), 0, &m_ft->face) != 0) {
        m_error = kMissingText;
        return;
    }
    FT_Face face = m_ft->face;
    // A bitmap font carries its strikes; the first is the 13-pixel one.
    if (face->num_fixed_sizes > 0) {
        FT_Select_Size(face, 0);
    } else {
        FT_Set_Pixel_Sizes(face, 0, 13);
    }
    m_ascent = int(face->size->metrics.ascender >> 6);
    m_descent = int(-(face->size->metrics.descender >> 6));
    m_face = face;
}

FontFace::~FontFace() = default;

const FontFace::Glyph& FontFace::GlyphOf(wchar_t c) {
    const auto it = m_glyphs.find(c);
    if (it != m_glyphs.end()) {
        return it->second;
    }
    Glyph glyph;
    FT_Face face = m_ft->face;
    if (c >= 0x20 && FT_Load_Char(face, FT_ULong(c),
                                  FT_LOAD_RENDER | FT_LOAD_MONOCHROME | FT_LOAD_TARGET_MONO) == 0) {
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.advance = int(slot->advance.x >> 6);
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.width = int(bitmap.width);
        glyph.height = int(bitmap.rows);
        glyph.ink.assign(std::size_t(glyph.width) * std::size_t(glyph.height), 0);
        for (int y = 0; y < glyph.height; ++y) {
            const unsigned char* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
            for (int x = 0; x < glyph.width; ++x) {
                const bool on = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                    ? (row[x / 8] & (0x80 >> (x % 8))) != 0
                                    : row[x] >= 128;
                glyph.ink[std::size_t(y) * std::size_t(glyph.width) + std::size_t(x)] = on ? 1 : 0;
            }
        }
    }
    return m_glyphs.emplace(c, std::move(glyph)).first->second;
}
