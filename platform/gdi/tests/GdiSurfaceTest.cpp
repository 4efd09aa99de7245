// Screen contexts, clipping, blits and handles: what the window layer and the launcher's
// painting rely on.
#include <gtest/gtest.h>

#include "Canvas.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/Framebuffer.h"

namespace {

constexpr std::uint32_t kScreenGrey = 0x404040;

class GdiSurface : public testing::Test {
protected:
    void SetUp() override { Framebuffer::Instance().Clear(kScreenGrey); }
    static std::uint32_t Pixel(int x, int y) { return Framebuffer::Instance().Pixel(x, y); }
};

TEST_F(GdiSurface, ScreenContextDrawsAtItsOriginInsideItsClipOnly) {
    // A client area at (10, 20) of which two pieces are visible (one overlapped, one below).
    HDC dc = GdiCreateSurfaceDC(POINT{10, 20}, {RECT{10, 20, 14, 22}, RECT{12, 24, 16, 25}});
    ASSERT_NE(dc, nullptr);
    const std::uint64_t before = Framebuffer::Instance().ChangeCount();
    const RECT everything{-50, -50, 100, 100};
    EXPECT_TRUE(FillRect(dc, &everything, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
    EXPECT_GT(Framebuffer::Instance().ChangeCount(), before);
    for (int y = 18; y < 27; ++y) {
        for (int x = 8; x < 18; ++x) {
            const bool inside =
                (x >= 10 && x < 14 && y >= 20 && y < 22) || (x >= 12 && x < 16 && y == 24);
            EXPECT_EQ(Pixel(x, y), inside ? 0xFFFFFFu : kScreenGrey) << x << "," << y;
        }
    }
    // Logical (0, 0) is the client's top-left corner; colours land as 0x00RRGGBB.
    EXPECT_EQ(SetPixel(dc, 1, 1, RGB(0x12, 0x34, 0x56)), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(Pixel(11, 21), 0x123456u);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(SetPixel(dc, 0, 3, RGB(1, 2, 3)), CLR_INVALID); // (10, 23) is clipped away
    EXPECT_EQ(Pixel(10, 23), kScreenGrey);
    EXPECT_TRUE(GdiReleaseDC(dc));
}

TEST_F(GdiSurface, OverlappingClipRectanglesInvertOnlyOnce) {
    HDC dc = GdiCreateSurfaceDC(POINT{0, 0}, {RECT{0, 0, 8, 8}, RECT{4, 0, 12, 8}});
    const RECT r{0, 0, 12, 1};
    DrawFocusRect(dc, &r);
    for (int x = 0; x < 12; ++x) {
        EXPECT_EQ(Pixel(x, 0), x % 2 == 0 ? (kScreenGrey ^ 0xFFFFFFu) : kScreenGrey) << x;
    }
    GdiReleaseDC(dc);
}

TEST_F(GdiSurface, IntersectClipRectNarrowsDrawing) {
    HDC dc = GdiCreateSurfaceDC(POINT{5, 5}, {RECT{0, 0, 240, 320}});
    EXPECT_EQ(IntersectClipRect(dc, 2, 2, 4, 3), SIMPLEREGION);
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.bottom, 3);
    const RECT all{0, 0, 20, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(Pixel(7, 7), 0u);
    EXPECT_EQ(Pixel(8, 7), 0u);
    EXPECT_EQ(Pixel(9, 7), kScreenGrey);
    EXPECT_EQ(Pixel(7, 8), kScreenGrey);
    GdiReleaseDC(dc);
}

TEST_F(GdiSurface, BitBltToTheScreenIsClippedAtItsEdges) {
    Canvas picture(10, 10, RGB(0, 0, 0));
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            SetPixel(picture.dc(), x, y, RGB(x, y, 7));
        }
    }
    HDC screen = GdiCreateSurfaceDC(POINT{0, 0}, {RECT{0, 0, 240, 320}});
    EXPECT_TRUE(BitBlt(screen, -3, 315, 10, 10, picture.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(screen, 236, -4, 10, 10, picture.dc(), 0, 0, SRCCOPY));
    for (int y = 315; y < 320; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(Pixel(x, y), (std::uint32_t(x + 3) << 16) | (std::uint32_t(y - 315) << 8) | 7)
                << x << "," << y;
        }
    }
    EXPECT_EQ(Pixel(7, 319), kScreenGrey);
    EXPECT_EQ(Pixel(236, 0), (0u << 16) | (4u << 8) | 7);
    EXPECT_EQ(Pixel(239, 5), (3u << 16) | (9u << 8) | 7);
    EXPECT_EQ(Pixel(239, 6), kScreenGrey);
    EXPECT_EQ(Pixel(235, 0), kScreenGrey);
    GdiReleaseDC(screen);
}

TEST_F(GdiSurface, BitBltLeavesPixelsWithoutSourceAlone) {
    Canvas picture(4, 4, RGB(255, 255, 255));
    HDC screen = GdiCreateSurfaceDC(POINT{0, 0}, {RECT{0, 0, 240, 320}});
    EXPECT_TRUE(BitBlt(screen, 0, 0, 4, 4, picture.dc(), -2, 0, SRCCOPY));
    EXPECT_EQ(Pixel(1, 0), kScreenGrey);
    EXPECT_EQ(Pixel(2, 0), 0xFFFFFFu);
    EXPECT_EQ(Pixel(3, 3), 0xFFFFFFu);
    GdiReleaseDC(screen);
}

TEST_F(GdiSurface, BitBltWithinTheScreenReadsThePixelsAsTheyWere) {
    HDC screen = GdiCreateSurfaceDC(POINT{0, 0}, {RECT{0, 0, 240, 320}});
    for (int x = 0; x < 6; ++x) {
        SetPixel(screen, x, 0, RGB(x, 0, 0));
    }
    // Scroll right by two within one row: every pixel must come from the original row.
    EXPECT_TRUE(BitBlt(screen, 2, 0, 6, 1, screen, 0, 0, SRCCOPY));
    for (int x = 2; x < 8; ++x) {
        EXPECT_EQ(Pixel(x, 0), std::uint32_t(x - 2) << 16) << x;
    }
    GdiReleaseDC(screen);
}

TEST_F(GdiSurface, BitBltRasterOpsCombineEachPixel) {
    // Three pixels from a two-pixel source one to the left: the first has no source, so the
    // operations that read the source leave it alone; the fourth lies outside the blit.
    Canvas source(2, 1, RGB(0, 0, 0));
    SetPixel(source.dc(), 0, 0, RGB(0x35, 0xAA, 0x5C));
    SetPixel(source.dc(), 1, 0, RGB(0xC0, 0xFF, 0xEE));
    HBRUSH pattern = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    constexpr COLORREF d = RGB(0x0F, 0xF0, 0x33);
    constexpr COLORREF p = RGB(0x12, 0x34, 0x56);
    constexpr COLORREF white = RGB(0xFF, 0xFF, 0xFF);
    constexpr COLORREF inverse = RGB(0xF0, 0x0F, 0xCC);
    struct Case {
        const char* name;
        DWORD rop;
        bool hollow;
        BOOL ok;
        std::vector<COLORREF> pixels;
    };
    const Case cases[] = {
        {"SRCCOPY", SRCCOPY, false, TRUE, {d, RGB(0x35, 0xAA, 0x5C), RGB(0xC0, 0xFF, 0xEE), d}},
        {"SRCAND", SRCAND, false, TRUE, {d, RGB(0x05, 0xA0, 0x10), RGB(0x00, 0xF0, 0x22), d}},
        {"SRCPAINT", SRCPAINT, false, TRUE, {d, RGB(0x3F, 0xFA, 0x7F), RGB(0xCF, 0xFF, 0xFF), d}},
        {"SRCINVERT", SRCINVERT, false, TRUE, {d, RGB(0x3A, 0x5A, 0x6F), RGB(0xCF, 0x0F, 0xDD), d}},
        {"DSTINVERT", DSTINVERT, false, TRUE, {inverse, inverse, inverse, d}},
        {"BLACKNESS", BLACKNESS, false, TRUE, {0, 0, 0, d}},
        {"WHITENESS", WHITENESS, false, TRUE, {white, white, white, d}},
        {"PATCOPY", PATCOPY, false, TRUE, {p, p, p, d}},
        {"PATCOPY, hollow brush", PATCOPY, true, TRUE, {d, d, d, d}},
        {"unknown operation", 0x00C000CA, false, FALSE, {d, d, d, d}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas target(4, 1, d);
        SelectObject(target.dc(), c.hollow ? GetStockObject(NULL_BRUSH) : pattern);
        EXPECT_EQ(BitBlt(target.dc(), 0, 0, 3, 1, source.dc(), -1, 0, c.rop), c.ok);
        EXPECT_EQ(target.Pixels(), c.pixels);
        SelectObject(target.dc(), GetStockObject(WHITE_BRUSH));
    }
    DeleteObject(pattern);
}

TEST_F(GdiSurface, StaleAndWrongHandlesFailCleanly) {
    HDC dc = GdiCreateSurfaceDC(POINT{0, 0}, {RECT{0, 0, 240, 320}});
    ASSERT_TRUE(GdiReleaseDC(dc));
    const RECT r{0, 0, 4, 4};
    EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_FALSE(Rectangle(dc, 0, 0, 4, 4));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_FALSE(GdiReleaseDC(dc));
    EXPECT_EQ(Pixel(0, 0), kScreenGrey);

    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, pen);
    EXPECT_EQ(old, GetStockObject(BLACK_PEN));
    EXPECT_FALSE(DeleteObject(pen)); // still selected
    EXPECT_EQ(SelectObject(mem, old), pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(SelectObject(mem, pen), nullptr);
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))); // stock objects stay
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
    EXPECT_TRUE(DeleteDC(mem));
    EXPECT_FALSE(DeleteDC(mem));

    // A bitmap goes into one memory context at a time.
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(a, 2, 2);
    EXPECT_NE(SelectObject(a, bitmap), nullptr);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr);
    DeleteDC(a);
    DeleteDC(b);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST_F(GdiSurface, NewContextHasThePlatformDefaults) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetTextColor(dc, RGB(9, 9, 9)), RGB(0, 0, 0));
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 7, 3);
    BITMAP bm;
    EXPECT_EQ(GetObject(bitmap, sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 7);
    EXPECT_EQ(bm.bmHeight, 3);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(GdiSurface, FrameworkWrappersReturnThePreviousObjects) {
    Canvas canvas(4, 4, RGB(0, 0, 0));
    CDC* dc = CDC::FromHandle(canvas.dc());
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(CDC::FromHandle(canvas.dc()), dc);
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* stock = dc->SelectObject(&pen);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(stock->GetSafeHandle(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc->SelectObject(stock), &pen); // the attached wrapper itself comes back
    // FillSolidRect leaves the background colour set, as the framework does.
    dc->FillSolidRect(0, 0, 2, 2, RGB(0, 255, 0));
    EXPECT_EQ(dc->GetBkColor(), RGB(0, 255, 0));
    EXPECT_EQ(dc->GetPixel(1, 1), RGB(0, 255, 0));
    EXPECT_EQ(dc->GetPixel(2, 2), RGB(0, 0, 0));

    CRect r(0, 0, 10, 6);
    r.DeflateRect(2, 1);
    EXPECT_EQ(r, CRect(2, 1, 8, 5));
    EXPECT_EQ(r.Width(), 6);
    EXPECT_TRUE(r.PtInRect(CPoint(2, 1)));
    EXPECT_FALSE(r.PtInRect(CPoint(8, 1)));
    CRect overlap;
    EXPECT_FALSE(overlap.IntersectRect(CRect(0, 0, 2, 2), CRect(2, 0, 4, 2)));
    EXPECT_TRUE(overlap.IntersectRect(CRect(0, 0, 3, 3), CRect(2, 1, 4, 2)));
    EXPECT_EQ(overlap, CRect(2, 1, 3, 2));
}

TEST(GdiSysColor, DeviceFlagIsMaskedOff) {
    const std::pair<int, COLORREF> cases[] = {
        {COLOR_BTNFACE, RGB(192, 192, 192)},      {COLOR_BTNTEXT, RGB(0, 0, 0)},
        {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)}, {COLOR_BTNSHADOW, RGB(128, 128, 128)},
        {COLOR_GRAYTEXT, RGB(128, 128, 128)},     {COLOR_WINDOW, RGB(255, 255, 255)},
        {COLOR_HIGHLIGHT, RGB(0, 0, 128)},        {COLOR_STATIC, RGB(192, 192, 192)},
        {COLOR_3DDKSHADOW, RGB(0, 0, 0)},         {COLOR_3DLIGHT, RGB(192, 192, 192)},
    };
    for (const auto& [index, colour] : cases) {
        EXPECT_EQ(GetSysColor(index), colour) << index;
        EXPECT_EQ(GetSysColor(index | SYS_COLOR_INDEX_FLAG), colour) << index;
    }
}

} // namespace
