// Shapes, lines, edges and focus rectangles on small bitmaps, pixel by pixel.
#include <algorithm>
#include <functional>
#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "Canvas.h"
#include "platform/gdi/CDC.h"

namespace {

constexpr COLORREF kGrey = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);

const std::map<COLORREF, char> kLegend = {
    {kGrey, '.'}, {RGB(0, 0, 0), 'k'}, {RGB(255, 255, 255), 'w'}, {kRed, 'r'},
    {kBlue, 'b'}, {kYellow, 'y'},      {RGB(192, 192, 192), 'l'}, {RGB(128, 128, 128), 'g'},
};

struct PictureCase {
    const char* name;
    int width;
    int height;
    std::function<void(HDC)> draw;
    std::vector<std::string> expected;
};

void CheckPictures(const std::vector<PictureCase>& cases) {
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(c.width, c.height, kGrey);
        c.draw(canvas.dc());
        EXPECT_EQ(canvas.Picture(kLegend), c.expected);
    }
}

TEST(GdiShapes, FilledShapesExcludeTheirRightAndBottomEdges) {
    CheckPictures({
        {"Rectangle, default pen and brush",
         7,
         5,
         [](HDC dc) { Rectangle(dc, 1, 1, 5, 4); },
         {".......", ".kkkk..", ".kwwk..", ".kkkk..", "......."}},
        {"Rectangle, null pen: one pixel less to the right and below",
         7,
         5,
         [](HDC dc) {
             SelectObject(dc, GetStockObject(NULL_PEN));
             Rectangle(dc, 1, 1, 5, 4);
         },
         {".......", ".www...", ".www...", ".......", "......."}},
        {"Rectangle, inverted corners are normalised",
         7,
         5,
         [](HDC dc) { Rectangle(dc, 5, 4, 1, 1); },
         {".......", ".kkkk..", ".kwwk..", ".kkkk..", "......."}},
        {"FillRect and FrameRect",
         7,
         5,
         [](HDC dc) {
             const RECT fill{1, 1, 4, 3};
             const RECT frame{0, 0, 6, 5};
             FillRect(dc, &fill, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
             FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
         },
         {"kkkkkk.", "kwww.k.", "kwww.k.", "k....k.", "kkkkkk."}},
        {"Ellipse, default pen and brush",
         6,
         6,
         [](HDC dc) { Ellipse(dc, 0, 0, 5, 5); },
         {".kkk..", "kwwwk.", "kwwwk.", "kwwwk.", ".kkk..", "......"}},
        {"A three-pixel pen is centred on the outline",
         10,
         10,
         [](HDC dc) {
             HPEN pen = CreatePen(PS_SOLID, 3, kRed);
             HGDIOBJ old = SelectObject(dc, pen);
             SelectObject(dc, GetStockObject(NULL_BRUSH));
             Rectangle(dc, 2, 2, 8, 8);
             SelectObject(dc, old);
             DeleteObject(pen);
         },
         {"..........", ".rrrrrrrr.", ".rrrrrrrr.", ".rrrrrrrr.", ".rrr..rrr.", ".rrr..rrr.",
          ".rrrrrrrr.", ".rrrrrrrr.", ".rrrrrrrr.", ".........."}},
    });
}

// The launcher's battery gauge at 18 x 9, half full, with its warning badge: terminal, body,
// fill, a yellow disc without outline and the exclamation mark's bar and dot.
TEST(GdiShapes, BatteryGaugeWorkedExampleDrawsExactly) {
    Canvas canvas(18, 9, kGrey);
    CDC dc;
    ASSERT_TRUE(dc.Attach(canvas.dc()));
    CBrush inside(RGB(255, 255, 255));
    CPen outline(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush* oldBrush = dc.SelectObject(&inside);
    CPen* oldPen = dc.SelectObject(&outline);
    dc.Rectangle(0, 1, 2, 7);
    dc.Rectangle(1, 0, 17, 8);
    dc.FillSolidRect(CRect(8, 1, 16, 7), kBlue);
    dc.SelectStockObject(NULL_PEN);
    CBrush badge(kYellow);
    dc.SelectObject(&badge);
    dc.Ellipse(10, 1, 18, 9);
    CPen mark(PS_SOLID, 1, RGB(0, 0, 0));
    dc.SelectObject(&mark);
    dc.MoveTo(14, 3);
    dc.LineTo(14, 6);
    dc.MoveTo(14, 7);
    dc.LineTo(14, 8);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
    dc.Detach();

    EXPECT_EQ(canvas.Picture(kLegend), (std::vector<std::string>{
                                           ".kkkkkkkkkkkkkkkk.",
                                           "kkwwwwwwbbbbyyybk.",
                                           "kkwwwwwwbbbyyyyyk.",
                                           "kkwwwwwwbbyyyykyy.",
                                           "kkwwwwwwbbyyyykyy.",
                                           "kkwwwwwwbbyyyykyy.",
                                           "kkwwwwwwbbbyyyyyk.",
                                           ".kkkkkkkkkkkyykkk.",
                                           "..................",
                                       }));
}

TEST(GdiShapes, EllipseFillsItsBoxLessTheExcludedEdges) {
    const RECT boxes[] = {{0, 0, 5, 5}, {1, 2, 9, 6}, {2, 1, 4, 8}, {0, 0, 12, 3}};
    for (const bool nullPen : {false, true}) {
        for (const RECT& box : boxes) {
            SCOPED_TRACE(testing::Message() << "null pen " << nullPen << " box " << box.left << ","
                                            << box.top << "," << box.right << "," << box.bottom);
            Canvas canvas(14, 10, kGrey);
            if (nullPen) {
                SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
            }
            Ellipse(canvas.dc(), box.left, box.top, box.right, box.bottom);
            RECT ink{100, 100, -1, -1};
            const auto picture = canvas.Picture(kLegend);
            for (int y = 0; y < 10; ++y) {
                for (int x = 0; x < 14; ++x) {
                    if (picture[std::size_t(y)][std::size_t(x)] != '.') {
                        ink = RECT{std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                                   std::max<LONG>(ink.right, x), std::max<LONG>(ink.bottom, y)};
                    }
                }
            }
            const int shrink = nullPen ? 2 : 1;
            EXPECT_EQ(ink.left, box.left);
            EXPECT_EQ(ink.top, box.top);
            EXPECT_EQ(ink.right, box.right - shrink);
            EXPECT_EQ(ink.bottom, box.bottom - shrink);
        }
    }
}

TEST(GdiShapes, LinesExcludeTheirEndPoint) {
    using Points = std::set<std::pair<int, int>>;
    struct LineCase {
        POINT from;
        POINT to;
        Points expected;
    };
    const LineCase cases[] = {
        {{1, 1}, {5, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {{5, 2}, {1, 2}, {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
        {{0, 0}, {0, 3}, {{0, 0}, {0, 1}, {0, 2}}},
        {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {{6, 0}, {0, 2}, {{6, 0}, {5, 0}, {4, 1}, {3, 1}, {2, 1}, {1, 2}}},
        {{2, 2}, {2, 2}, {}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.from.x << "," << c.from.y << " to " << c.to.x << "," << c.to.y);
        Canvas canvas(8, 4, kGrey);
        MoveToEx(canvas.dc(), c.from.x, c.from.y, nullptr);
        LineTo(canvas.dc(), c.to.x, c.to.y);
        Points drawn;
        const auto picture = canvas.Picture(kLegend);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 8; ++x) {
                if (picture[std::size_t(y)][std::size_t(x)] == 'k') {
                    drawn.insert({x, y});
                }
            }
        }
        EXPECT_EQ(drawn, c.expected);
        POINT now;
        MoveToEx(canvas.dc(), 0, 0, &now);
        EXPECT_EQ(now.x, c.to.x);
        EXPECT_EQ(now.y, c.to.y);
    }
}

TEST(GdiShapes, DrawEdgeUsesTheSystemColoursOfEachStyle) {
    const auto edge = [](UINT style, UINT flags) {
        return [style, flags](HDC dc) {
            RECT r{0, 0, 6, 5};
            DrawEdge(dc, &r, style, flags);
        };
    };
    CheckPictures({
        {"raised",
         6,
         5,
         edge(EDGE_RAISED, BF_RECT),
         {"lllllk", "lwwwgk", "lw..gk", "lggggk", "kkkkkk"}},
        {"sunken",
         6,
         5,
         edge(EDGE_SUNKEN, BF_RECT),
         {"gggggw", "gkkklw", "gk..lw", "gllllw", "wwwwww"}},
        {"etched",
         6,
         5,
         edge(EDGE_ETCHED, BF_RECT),
         {"gggggw", "gwwwgw", "gw..gw", "gggggw", "wwwwww"}},
        {"raised, top only",
         6,
         5,
         edge(EDGE_RAISED, BF_TOP),
         {"llllll", "wwwwww", "......", "......", "......"}},
        {"raised with the middle",
         6,
         5,
         edge(EDGE_RAISED, BF_RECT | BF_MIDDLE),
         {"lllllk", "lwwwgk", "lwllgk", "lggggk", "kkkkkk"}},
    });
    Canvas canvas(6, 5, kGrey);
    RECT r{0, 0, 6, 5};
    DrawEdge(canvas.dc(), &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 4);
    EXPECT_EQ(r.bottom, 3);
}

TEST(GdiShapes, FocusRectInvertsEveryOtherFramePixelAndUndoesItself) {
    Canvas canvas(6, 4, RGB(255, 255, 255));
    const RECT r{0, 0, 6, 4};
    const std::map<COLORREF, char> legend = {{RGB(255, 255, 255), '.'}, {RGB(0, 0, 0), 'k'}};
    DrawFocusRect(canvas.dc(), &r);
    EXPECT_EQ(canvas.Picture(legend),
              (std::vector<std::string>{"k.k.k.", ".....k", "k.....", ".k.k.k"}));
    DrawFocusRect(canvas.dc(), &r);
    EXPECT_EQ(canvas.Picture(legend),
              (std::vector<std::string>{"......", "......", "......", "......"}));
}

TEST(GdiShapes, RoundRectCutsItsCorners) {
    CheckPictures({
        {"8 x 6 box with 4 x 4 corners",
         9,
         7,
         [](HDC dc) { RoundRect(dc, 0, 0, 8, 6, 4, 4); },
         {".kkkkkk..", "kwwwwwwk.", "kwwwwwwk.", "kwwwwwwk.", "kwwwwwwk.", ".kkkkkk..",
          "........."}},
        {"12 x 9 box with 8 x 8 corners, pen and brush of one colour (a rounded button face)",
         14,
         11,
         [](HDC dc) {
             HPEN pen = CreatePen(PS_SOLID, 1, kRed);
             HBRUSH brush = CreateSolidBrush(kRed);
             HGDIOBJ oldPen = SelectObject(dc, pen);
             HGDIOBJ oldBrush = SelectObject(dc, brush);
             RoundRect(dc, 1, 1, 13, 10, 8, 8);
             SelectObject(dc, oldBrush);
             SelectObject(dc, oldPen);
             DeleteObject(brush);
             DeleteObject(pen);
         },
         {"..............", "...rrrrrrrr...", "..rrrrrrrrrr..", ".rrrrrrrrrrrr.", ".rrrrrrrrrrrr.",
          ".rrrrrrrrrrrr.", ".rrrrrrrrrrrr.", ".rrrrrrrrrrrr.", "..rrrrrrrrrr..", "...rrrrrrrr...",
          ".............."}},
    });
}

// A two-pixel pen (the kit's tick) paints the 2 x 2 square up and to the left of each point of
// the line; a line's end point stays out, so the second stroke starts where the first ended.
TEST(GdiShapes, TwoPixelPenPaintsASquareAtEachPointOfThePolyline) {
    CheckPictures({
        {"down-right, then up-right",
         10,
         7,
         [](HDC dc) {
             HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
             HGDIOBJ old = SelectObject(dc, pen);
             MoveToEx(dc, 2, 3, nullptr);
             LineTo(dc, 4, 5);
             LineTo(dc, 8, 1);
             SelectObject(dc, old);
             DeleteObject(pen);
         },
         {"..........", "......kk..", ".kk..kkk..", ".kkkkkk...", "..kkkk....", "...kk.....",
          ".........."}},
        {"a horizontal stroke is two rows deep, above its own row",
         8,
         4,
         [](HDC dc) {
             HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
             HGDIOBJ old = SelectObject(dc, pen);
             MoveToEx(dc, 2, 2, nullptr);
             LineTo(dc, 6, 2);
             SelectObject(dc, old);
             DeleteObject(pen);
         },
         {"........", ".kkkkk..", ".kkkkk..", "........"}},
    });
}

} // namespace
