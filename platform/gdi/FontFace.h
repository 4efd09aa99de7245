// The device's one typeface: the WenQuanYi 13-pixel bitmap font (Latin and Traditional Chinese)
// read through FreeType, its strike rendered 1:1 without smoothing. Glyphs are cached.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class FontFace {
public:
    static constexpr const char* kSystemFontPath = "/usr/share/fonts/X11/misc/wenquanyi_13px.pcf";

    // The System font, loaded on first use; null when it cannot be loaded (see SystemError).
    // Callers hold the drawing layer's lock.
    static FontFace* System();
    static std::wstring SystemError();

    // Loads the font file at path; Error() says why when it failed.
    explicit FontFace(const std::string& path);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    bool Ok() const { return m_face != nullptr; }
    const std::wstring& Error() const { return m_error; }

    struct Glyph {
        int advance = 0;
        int left = 0; // from the pen position to the bitmap's first column
        int top = 0;  // from the baseline up to the bitmap's first row
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> ink; // width x height, 1 where the glyph is drawn
    };
    // Control characters have no glyph and no width.
    const Glyph& GlyphOf(wchar_t c);
    int Advance(wchar_t c) { return GlyphOf(c).advance; }

    int Ascent() const { return m_ascent; }
    int Descent() const { return m_descent; }
    int Height() const { return m_ascent + m_descent; }

private:
    struct FreeTypeState;
    std::unique_ptr<FreeTypeState> m_ft;
    void* m_face = nullptr;
    std::wstring m_error;
    int m_ascent = 0;
    int m_descent = 0;
    std::unordered_map<wchar_t, Glyph> m_glyphs;
};
