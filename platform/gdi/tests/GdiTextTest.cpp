// Text in the System face: DrawText's placement, wrapping, measuring and prefixes, compared
// with the same text drawn plainly where the placement arithmetic says it belongs.
#include <cwchar>

#include <gtest/gtest.h>

#include "Canvas.h"
#include "platform/gdi/FontFace.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class GdiText : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GdiFontError(), L"") << "the System font must be there"; }

    static SIZE Extent(const wchar_t* text) {
        Canvas probe(1, 1, kWhite);
        SIZE size{};
        EXPECT_TRUE(GetTextExtentPoint32(probe.dc(), text, int(std::wcslen(text)), &size));
        return size;
    }

    // The text drawn with DrawText into rect on a fresh canvas.
    static std::vector<COLORREF> Drawn(int w, int h, const wchar_t* text, RECT rect, UINT format,
                                       int* result = nullptr) {
        Canvas canvas(w, h, kWhite);
        SetBkMode(canvas.dc(), TRANSPARENT);
        const int r = DrawText(canvas.dc(), text, -1, &rect, format);
        if (result) {
            *result = r;
        }
        return canvas.Pixels();
    }

    // Lines drawn plainly with their top-left corners at the given points.
    static std::vector<COLORREF> Placed(int w, int h,
                                        std::vector<std::pair<const wchar_t*, POINT>> lines) {
        Canvas canvas(w, h, kWhite);
        SetBkMode(canvas.dc(), TRANSPARENT);
        for (const auto& [text, at] : lines) {
            TextOut(canvas.dc(), at.x, at.y, text, int(std::wcslen(text)));
        }
        return canvas.Pixels();
    }
};

TEST_F(GdiText, SingleLineAlignmentsPlaceTheTextByTheRectangle) {
    const SIZE s = Extent(L"Connecting ..");
    ASSERT_GT(s.cx, 0);
    ASSERT_GT(s.cy, 0);
    // A rectangle of odd spare width and height shows the truncation of the halves.
    const int w = s.cx + 21;
    const int h = s.cy + 9;
    const RECT box{0, 0, w, h};
    struct Case {
        UINT format;
        POINT at;
        int result;
    };
    const Case cases[] = {
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, {10, 4}, 4 + s.cy},
        {DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, {21, 9}, 9 + s.cy},
        {DT_LEFT | DT_TOP | DT_SINGLELINE, {0, 0}, s.cy},
        // Vertical placement needs DT_SINGLELINE: without it the text stays at the top.
        {DT_CENTER | DT_VCENTER, {10, 0}, s.cy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        int result = 0;
        EXPECT_EQ(Drawn(w, h, L"Connecting ..", box, c.format, &result),
                  Placed(w, h, {{L"Connecting ..", c.at}}));
        EXPECT_EQ(result, c.result);
    }
}

TEST_F(GdiText, OpaqueTextFillsItsCellsWithTheBackgroundColour) {
    const SIZE s = Extent(L"Exit");
    Canvas canvas(s.cx + 10, s.cy + 6, kWhite);
    SetBkColor(canvas.dc(), RGB(255, 0, 0));
    SetTextColor(canvas.dc(), RGB(0, 0, 255));
    RECT box{0, 0, s.cx + 10, s.cy + 6};
    DrawText(canvas.dc(), L"Exit", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const std::vector<COLORREF> pixels = canvas.Pixels();
    int ink = 0;
    for (int y = 0; y < s.cy + 6; ++y) {
        for (int x = 0; x < s.cx + 10; ++x) {
            const COLORREF p = pixels[std::size_t(y * (s.cx + 10) + x)];
            const bool cell = x >= 5 && x < 5 + s.cx && y >= 3 && y < 3 + s.cy;
            if (cell) {
                EXPECT_TRUE(p == RGB(255, 0, 0) || p == RGB(0, 0, 255)) << x << "," << y;
                ink += p == RGB(0, 0, 255);
            } else {
                EXPECT_EQ(p, kWhite) << x << "," << y;
            }
        }
    }
    EXPECT_GT(ink, 10);
}

TEST_F(GdiText, LineBreaksAndWordWrappingStackLines) {
    const SIZE s = Extent(L"aaa bbb");
    const int w = s.cx + 40;
    const int h = 4 * s.cy;
    EXPECT_EQ(Drawn(w, h, L"ab\ncd\r\nef", RECT{0, 0, w, h}, DT_LEFT),
              Placed(w, h, {{L"ab", {0, 0}}, {L"cd", {0, s.cy}}, {L"ef", {0, 2 * s.cy}}}));
    // The third word does not fit the width of two; the space at the break is dropped.
    EXPECT_EQ(Drawn(w, h, L"aaa bbb ccc", RECT{0, 0, s.cx, h}, DT_WORDBREAK),
              Placed(w, h, {{L"aaa bbb", {0, 0}}, {L"ccc", {0, s.cy}}}));
    // Chinese text breaks between any two characters.
    const SIZE two = Extent(L"斷線");
    EXPECT_EQ(Drawn(w, h, L"斷線斷線", RECT{0, 0, two.cx + 3, h}, DT_WORDBREAK),
              Placed(w, h, {{L"斷線", {0, 0}}, {L"斷線", {0, s.cy}}}));
    // DT_SINGLELINE keeps everything on one line.
    int result = 0;
    Drawn(w, h, L"ab\ncd", RECT{0, 0, w, h}, DT_SINGLELINE, &result);
    EXPECT_EQ(result, s.cy);
}

TEST_F(GdiText, CalcRectMeasuresWithoutDrawing) {
    const SIZE line = Extent(L"Load program failed");
    const SIZE word = Extent(L"Load");
    struct Case {
        const wchar_t* text;
        LONG width;
        UINT format;
        LONG right;
        LONG bottom;
    };
    const Case cases[] = {
        {L"Load program failed", 300, DT_SINGLELINE, line.cx, line.cy},
        {L"Load\nLoad program failed", 300, 0, line.cx, 2 * line.cy},
        {L"Load program failed", Extent(L"Load program").cx, DT_WORDBREAK,
         Extent(L"Load program").cx, 2 * line.cy},
        // Wrapped lines narrower than the rectangle: the widest line's width.
        {L"Load program failed", Extent(L"Load program").cx + 5, DT_WORDBREAK,
         Extent(L"Load program").cx, 2 * line.cy},
        // A word wider than the rectangle widens the result.
        {L"Load", word.cx - 5, DT_WORDBREAK, word.cx, line.cy},
        {L"", 300, DT_WORDBREAK, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " " << c.format);
        Canvas canvas(8, 8, kWhite);
        RECT r{3, 4, 3 + c.width, 400};
        const int height = DrawText(canvas.dc(), c.text, -1, &r, c.format | DT_CALCRECT);
        EXPECT_EQ(r.left, 3);
        EXPECT_EQ(r.top, 4);
        EXPECT_EQ(r.right, 3 + c.right);
        EXPECT_EQ(r.bottom, 4 + c.bottom);
        EXPECT_EQ(height, c.bottom);
        for (COLORREF p : canvas.Pixels()) {
            ASSERT_EQ(p, kWhite);
        }
    }
}

TEST_F(GdiText, AmpersandsFollowThePrefixRules) {
    const SIZE s = Extent(L"a&b");
    const int w = s.cx + 20;
    const int h = s.cy + 2;
    const RECT box{0, 0, w, h};
    EXPECT_EQ(Drawn(w, h, L"a&&b", box, DT_LEFT), Placed(w, h, {{L"a&b", {0, 0}}}));
    EXPECT_EQ(Drawn(w, h, L"a&&b", box, DT_NOPREFIX), Placed(w, h, {{L"a&&b", {0, 0}}}));

    // "&Open" shows "Open" with "O" underlined: the only other pixels lie in one row under
    // the baseline, below the "O".
    const std::vector<COLORREF> prefixed = Drawn(w, h, L"&Open", box, DT_LEFT);
    const std::vector<COLORREF> plain = Placed(w, h, {{L"Open", {0, 0}}});
    TEXTMETRIC tm;
    Canvas probe(1, 1, kWhite);
    GetTextMetrics(probe.dc(), &tm);
    const int oWidth = Extent(L"O").cx;
    int underline = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y * w + x);
            if (prefixed[i] != plain[i]) {
                EXPECT_EQ(y, tm.tmAscent + 1);
                EXPECT_LT(x, oWidth);
                ++underline;
            }
        }
    }
    EXPECT_GT(underline, 0);
    RECT measured{0, 0, 300, 300};
    DrawText(probe.dc(), L"&Open", -1, &measured, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(measured.right, Extent(L"Open").cx);
}

TEST_F(GdiText, ChineseGlyphsHaveInk) {
    for (const wchar_t* text : {L"斷", L"線", L"連"}) {
        const SIZE s = Extent(text);
        EXPECT_GE(s.cx, 12) << "a full-width character";
        Canvas canvas(s.cx, s.cy, kWhite);
        TextOut(canvas.dc(), 0, 0, text, 1);
        int ink = 0;
        for (COLORREF p : canvas.Pixels()) {
            ink += p == kBlack;
        }
        EXPECT_GT(ink, 15) << "glyph drawn";
    }
}

TEST_F(GdiText, ExtentsReportFitAndPartialWidths) {
    Canvas canvas(1, 1, kWhite);
    const SIZE abc = Extent(L"abc");
    int fit = -1;
    int dx[6] = {};
    SIZE size{};
    EXPECT_TRUE(GetTextExtentExPoint(canvas.dc(), L"abcdef", 6, abc.cx, &fit, dx, &size));
    EXPECT_EQ(fit, 3);
    EXPECT_EQ(dx[2], abc.cx);
    EXPECT_EQ(dx[0], Extent(L"a").cx);
    EXPECT_EQ(size.cx, Extent(L"abcdef").cx);
    TEXTMETRIC tm;
    EXPECT_TRUE(GetTextMetrics(canvas.dc(), &tm));
    EXPECT_EQ(tm.tmHeight, size.cy);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_GT(tm.tmAveCharWidth, 0);
}

TEST(GdiFont, MissingFontFileGivesTheInstallHint) {
    FontFace missing("/nonexistent/wenquanyi_13px.pcf");
    EXPECT_FALSE(missing.Ok());
    EXPECT_EQ(missing.Error(),
              L"font wenquanyi_13px.pcf not found: install the Debian package xfonts-wqy");
}

} // namespace
