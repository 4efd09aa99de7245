// Pictures: BMP and ICO decoding from bytes and resources, icon drawing through the mask, and
// image lists with a mask colour.
#include <algorithm>
#include <array>

#include <gtest/gtest.h>

#include "Canvas.h"
#include "platform/gdi/CImageList.h"
#include "platform/kernel/Resources.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr std::uint32_t kMaskGrey = 0x989898;

void Put16(Bytes& b, unsigned v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A DIB of 0x00RRGGBB pixels (listed top row first) at bpp bits per pixel; indexed formats get
// a palette of the colours in order of appearance. heightFactor 2 makes an icon image header.
Bytes Dib(int w, int h, int bpp, const std::vector<std::uint32_t>& rgb, bool topDown,
          int heightFactor = 1, std::uint32_t alphaFor32 = 0xFF) {
    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        for (std::uint32_t c : rgb) {
            if (std::find(palette.begin(), palette.end(), c) == palette.end()) {
                palette.push_back(c);
            }
        }
    }
    Bytes b;
    Put32(b, 40);
    Put32(b, std::uint32_t(w));
    Put32(b, std::uint32_t(topDown ? -h * heightFactor : h * heightFactor));
    Put16(b, 1);
    Put16(b, unsigned(bpp));
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, std::uint32_t(palette.size()));
    Put32(b, 0);
    for (std::uint32_t c : palette) {
        Put32(b, c);
    }
    const std::size_t stride = (std::size_t(w) * std::size_t(bpp) + 31) / 32 * 4;
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        Bytes line(stride, 0);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = rgb[std::size_t(y * w + x)];
            const auto index =
                std::uint8_t(std::find(palette.begin(), palette.end(), c) - palette.begin());
            switch (bpp) {
            case 4:
                line[std::size_t(x / 2)] |= std::uint8_t(index << (x % 2 ? 0 : 4));
                break;
            case 8:
                line[std::size_t(x)] = index;
                break;
            case 24:
                line[std::size_t(x) * 3] = std::uint8_t(c);
                line[std::size_t(x) * 3 + 1] = std::uint8_t(c >> 8);
                line[std::size_t(x) * 3 + 2] = std::uint8_t(c >> 16);
                break;
            default:
                for (int k = 0; k < 4; ++k) {
                    line[std::size_t(x) * 4 + std::size_t(k)] =
                        std::uint8_t(((c & 0xFFFFFF) | (alphaFor32 << 24)) >> (8 * k));
                }
            }
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    return b;
}

Bytes BmpFile(const Bytes& dib, std::size_t paletteBytes) {
    Bytes b{'B', 'M'};
    Put32(b, std::uint32_t(14 + dib.size()));
    Put32(b, 0);
    Put32(b, std::uint32_t(14 + 40 + paletteBytes));
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

struct IconImage {
    int size;
    std::vector<std::uint32_t> rgb;
    std::vector<bool> transparent;
    int bpp = 24;
    std::uint32_t alpha = 0; // for 32-bit images: the alpha of every pixel
};

Bytes Ico(const std::vector<IconImage>& images) {
    std::vector<Bytes> blobs;
    for (const IconImage& image : images) {
        Bytes blob = Dib(image.size, image.size, image.bpp, image.rgb, false, 2, image.alpha);
        const std::size_t stride = (std::size_t(image.size) + 31) / 32 * 4;
        for (int row = image.size - 1; row >= 0; --row) {
            Bytes line(stride, 0);
            for (int x = 0; x < image.size; ++x) {
                if (image.transparent[std::size_t(row * image.size + x)]) {
                    line[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
                }
            }
            blob.insert(blob.end(), line.begin(), line.end());
        }
        blobs.push_back(std::move(blob));
    }
    Bytes b;
    Put16(b, 0);
    Put16(b, 1);
    Put16(b, unsigned(images.size()));
    std::size_t offset = 6 + 16 * images.size();
    for (std::size_t i = 0; i < images.size(); ++i) {
        b.push_back(std::uint8_t(images[i].size));
        b.push_back(std::uint8_t(images[i].size));
        b.push_back(0);
        b.push_back(0);
        Put16(b, 1);
        Put16(b, unsigned(images[i].bpp));
        Put32(b, std::uint32_t(blobs[i].size()));
        Put32(b, std::uint32_t(offset));
        offset += blobs[i].size();
    }
    for (const Bytes& blob : blobs) {
        b.insert(b.end(), blob.begin(), blob.end());
    }
    return b;
}

// 3 x 2 pixels: the odd width pads 24-bit rows; rows differ so a flipped image shows.
const std::vector<std::uint32_t> kPattern = {0xFF0000, 0x00FF00,  0x0000FF,
                                             0x123456, kMaskGrey, 0xFFFFFF};

std::vector<COLORREF> PixelsOf(HBITMAP bitmap, int w, int h) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::vector<COLORREF> out;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            out.push_back(GetPixel(dc, x, y));
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return out;
}

std::vector<COLORREF> AsColorRefs(const std::vector<std::uint32_t>& rgb) {
    std::vector<COLORREF> out;
    for (std::uint32_t p : rgb) {
        out.push_back(RGB(BYTE(p >> 16), BYTE(p >> 8), BYTE(p)));
    }
    return out;
}

TEST(GdiPictures, BmpDecodesEveryStoredForm) {
    struct Case {
        const char* name;
        Bytes bytes;
        int bpp;
    };
    const Case cases[] = {
        {"8 bpp, bottom-up file", BmpFile(Dib(3, 2, 8, kPattern, false), 6 * 4), 8},
        {"24 bpp, top-down file", BmpFile(Dib(3, 2, 24, kPattern, true), 0), 24},
        {"24 bpp, bottom-up packed DIB", Dib(3, 2, 24, kPattern, false), 24},
        {"4 bpp, bottom-up file", BmpFile(Dib(3, 2, 4, kPattern, false), 6 * 4), 4},
        {"32 bpp, top-down packed DIB", Dib(3, 2, 32, kPattern, true), 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HBITMAP bitmap = GdiCreateBitmapFromBytes(c.bytes.data(), c.bytes.size());
        ASSERT_NE(bitmap, nullptr);
        BITMAP bm;
        ASSERT_GT(GetObject(bitmap, sizeof(bm), &bm), 0);
        EXPECT_EQ(bm.bmWidth, 3);
        EXPECT_EQ(bm.bmHeight, 2);
        EXPECT_EQ(bm.bmBitsPixel, c.bpp);
        EXPECT_EQ(PixelsOf(bitmap, 3, 2), AsColorRefs(kPattern));
        DeleteObject(bitmap);
    }
}

// CreateBitmap takes top-down rows padded only to a 16-bit boundary, not to 32 bits as a DIB's.
TEST(GdiPictures, CreateBitmapRowsAreWordAligned) {
    const struct {
        int width;
        UINT bpp;
        std::size_t stride;
    } cases[] = {{1, 24, 4}, {2, 24, 6}, {3, 24, 10}, {4, 24, 12}, {3, 32, 12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " pixels at " << c.bpp << " bpp");
        const int height = 2;
        // Exactly the bytes the rows need: reading past them would be reading past the buffer.
        Bytes bits(c.stride * height, 0xEE);
        std::vector<std::uint32_t> rgb;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const std::uint32_t colour = 0x102030u * std::uint32_t(y * c.width + x + 1);
                std::uint8_t* p =
                    bits.data() + c.stride * std::size_t(y) + std::size_t(x) * c.bpp / 8;
                p[0] = std::uint8_t(colour);
                p[1] = std::uint8_t(colour >> 8);
                p[2] = std::uint8_t(colour >> 16);
                rgb.push_back(colour & 0xFFFFFF);
            }
        }
        HBITMAP bitmap = CreateBitmap(c.width, height, 1, c.bpp, bits.data());
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(PixelsOf(bitmap, c.width, height), AsColorRefs(rgb));
        DeleteObject(bitmap);
    }
}

TEST(GdiPictures, DamagedBmpGivesNoBitmap) {
    const Bytes good = BmpFile(Dib(3, 2, 8, kPattern, false), 6 * 4);
    const auto with = [&](std::size_t at, std::uint32_t value) {
        Bytes b(good.begin(), good.begin() + std::ptrdiff_t(at));
        Put32(b, value);
        b.insert(b.end(), good.begin() + std::ptrdiff_t(at + 4), good.end());
        return b;
    };
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"cut short by one byte", Bytes(good.begin(), good.end() - 1)},
        {"no pixels at all", Bytes(good.begin(), good.begin() + 30)},
        {"zero width", with(18, 0)},
        {"huge size", with(18, 100000)},
        {"bits offset beyond the end", with(10, 5000)},
        {"run-length compression", with(30, 1)},
        {"palette larger than the bytes", with(46, 200)},
        {"not a picture", Bytes{'B', 'M', 1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GdiCreateBitmapFromBytes(c.bytes.data(), c.bytes.size()), nullptr);
    }
}

const std::map<COLORREF, char> kLegend = {
    {RGB(64, 64, 64), '.'}, {RGB(255, 0, 0), 'r'},     {RGB(0, 255, 0), 'g'},
    {RGB(0, 0, 255), 'b'},  {RGB(255, 255, 255), 'w'}, {RGB(0x98, 0x98, 0x98), 'm'},
};

// Red, green / blue, white, with the green corner masked out.
const IconImage kSmallIcon{
    2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, {false, true, false, false}};

TEST(GdiPictures, IconDrawsThroughItsMaskAtItsOwnOrAGivenSize) {
    const Bytes ico = Ico({kSmallIcon});
    HICON icon = GdiCreateIconFromBytes(ico.data(), ico.size(), 2, 2);
    ASSERT_NE(icon, nullptr);
    Canvas canvas(6, 6, RGB(64, 64, 64));
    EXPECT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_TRUE(DrawIconEx(canvas.dc(), 2, 2, icon, 4, 4, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.Picture(kLegend), (std::vector<std::string>{
                                           "r.....",
                                           "bw....",
                                           "..rr..",
                                           "..rr..",
                                           "..bbww",
                                           "..bbww",
                                       }));
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
}

TEST(GdiPictures, IconFlagsPositionAndFlickerFreeBrush) {
    const Bytes ico = Ico({kSmallIcon});
    HICON icon = GdiCreateIconFromBytes(ico.data(), ico.size(), 2, 2);
    ASSERT_NE(icon, nullptr);
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    std::map<COLORREF, char> legend = kLegend;
    legend[RGB(0, 0, 0)] = 'k';
    struct Case {
        const char* name;
        int x;
        int y;
        HBRUSH flickerFree;
        UINT flags;
        std::vector<std::string> picture;
    };
    const Case cases[] = {
        {"through the mask", 1, 1, nullptr, DI_NORMAL, {"...", ".r.", ".bw"}},
        {"partly off the top left", -1, -1, nullptr, DI_NORMAL, {"w..", "...", "..."}},
        {"image alone", 0, 0, nullptr, DI_IMAGE, {"rg.", "bw.", "..."}},
        {"mask alone", 0, 0, nullptr, DI_MASK, {"k..", "kk.", "..."}},
        {"over a brush", 1, 0, white, DI_NORMAL, {".rw", ".bw", "..."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(3, 3, RGB(64, 64, 64));
        EXPECT_TRUE(DrawIconEx(canvas.dc(), c.x, c.y, icon, 0, 0, 0, c.flickerFree, c.flags));
        EXPECT_EQ(canvas.Picture(legend), c.picture);
    }
    DestroyIcon(icon);
}

TEST(GdiPictures, IconPartialOpacityBlendsRoundedToNearest) {
    const IconImage half{1, {0xFF0000}, {false}, 32, 0x80};
    const Bytes ico = Ico({half});
    HICON icon = GdiCreateIconFromBytes(ico.data(), ico.size(), 1, 1);
    ASSERT_NE(icon, nullptr);
    Canvas canvas(1, 1, RGB(64, 64, 64));
    EXPECT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    // (255 * 128 + 64 * 127) / 255 = 159.9 and (64 * 127) / 255 = 31.9, both rounded up.
    EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), RGB(160, 32, 32));
    DestroyIcon(icon);
}

TEST(GdiPictures, IconTakesTheEntryClosestToTheSizeAsked) {
    const IconImage big{4, std::vector<std::uint32_t>(16, 0x0000FF), std::vector<bool>(16, false)};
    // A 32-bit entry whose alpha is zero throughout is drawn through its AND mask.
    const IconImage alpha{3,
                          std::vector<std::uint32_t>(9, 0x00FF00),
                          {true, false, false, false, false, false, false, false, false},
                          32,
                          0};
    const Bytes ico = Ico({kSmallIcon, big, alpha});
    struct Case {
        int ask;
        int size;
        COLORREF first;
    };
    const Case cases[] = {{2, 2, RGB(255, 0, 0)},
                          {4, 4, RGB(0, 0, 255)},
                          {5, 5, RGB(0, 0, 255)},
                          {3, 3, RGB(64, 64, 64)},
                          {0, 4, RGB(0, 0, 255)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ask);
        HICON icon = GdiCreateIconFromBytes(ico.data(), ico.size(), c.ask, c.ask);
        ASSERT_NE(icon, nullptr);
        SIZE size{};
        EXPECT_TRUE(GdiGetIconSize(icon, &size));
        EXPECT_EQ(size.cx, c.size);
        EXPECT_EQ(size.cy, c.size);
        Canvas canvas(6, 6, RGB(64, 64, 64));
        DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
        EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), c.first);
        DestroyIcon(icon);
    }
    const Bytes cut(ico.begin(), ico.begin() + 40);
    EXPECT_EQ(GdiCreateIconFromBytes(cut.data(), cut.size(), 2, 2), nullptr);
}

TEST(GdiPictures, BitmapsAndIconsLoadFromTheModuleResources) {
    static const Bytes bmp = BmpFile(Dib(3, 2, 8, kPattern, false), 6 * 4);
    static const Bytes damaged(bmp.begin(), bmp.begin() + 50);
    static const Bytes ico = Ico({kSmallIcon});
    static const std::array<RawResource, 3> raw = {
        RawResource{{2, {}}, {130, {}}, bmp},
        RawResource{{2, {}}, {131, {}}, damaged},
        RawResource{{14, {}}, {141, {}}, ico},
    };
    ResourceModuleData data;
    data.raw = raw;
    HINSTANCE module = RegisterResourceModule(L"\\Windows\\gditest.dll", data);
    ASSERT_NE(module, nullptr);

    HBITMAP bitmap = LoadBitmap(module, MAKEINTRESOURCE(130));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelsOf(bitmap, 3, 2), AsColorRefs(kPattern));
    DeleteObject(bitmap);
    EXPECT_EQ(LoadBitmap(module, MAKEINTRESOURCE(131)), nullptr);
    EXPECT_EQ(LoadBitmap(module, MAKEINTRESOURCE(132)), nullptr);

    HANDLE stretched = LoadImage(module, MAKEINTRESOURCE(130), IMAGE_BITMAP, 6, 4, 0);
    ASSERT_NE(stretched, nullptr);
    const std::vector<COLORREF> big = PixelsOf(static_cast<HBITMAP>(stretched), 6, 4);
    EXPECT_EQ(big[0], RGB(255, 0, 0));
    EXPECT_EQ(big[5], RGB(0, 0, 255));
    EXPECT_EQ(big[23], RGB(255, 255, 255));
    DeleteObject(stretched);

    HICON icon = static_cast<HICON>(LoadImage(module, MAKEINTRESOURCE(141), IMAGE_ICON, 4, 4, 0));
    ASSERT_NE(icon, nullptr);
    SIZE size{};
    GdiGetIconSize(icon, &size);
    EXPECT_EQ(size.cx, 4);
    DestroyIcon(icon);
    EXPECT_EQ(LoadImage(module, MAKEINTRESOURCE(142), IMAGE_ICON, 32, 32, 0), nullptr);
}

TEST(GdiPictures, ImageListDrawLeavesMaskColouredPixelsUntouched) {
    // Two 2 x 2 images side by side on the mask grey: a red diagonal and a blue one.
    const Bytes strip = BmpFile(
        Dib(4, 2, 24,
            {kMaskGrey, 0xFF0000, 0x0000FF, kMaskGrey, 0xFF0000, kMaskGrey, kMaskGrey, 0x0000FF},
            false),
        0);
    HBITMAP bitmap = GdiCreateBitmapFromBytes(strip.data(), strip.size());
    ASSERT_NE(bitmap, nullptr);

    HIMAGELIST masked = ImageList_Create(2, 2, ILC_MASK, 10, 1);
    EXPECT_EQ(ImageList_AddMasked(masked, bitmap, RGB(0x98, 0x98, 0x98)), 0);
    EXPECT_EQ(ImageList_GetImageCount(masked), 2);
    HIMAGELIST opaque = ImageList_Create(2, 2, ILC_COLOR, 10, 1);
    EXPECT_EQ(ImageList_AddMasked(opaque, bitmap, RGB(0x98, 0x98, 0x98)), 0);

    Canvas canvas(5, 2, kGreen);
    EXPECT_TRUE(ImageList_Draw(masked, 1, canvas.dc(), 0, 0, ILD_NORMAL));
    EXPECT_TRUE(ImageList_Draw(opaque, 1, canvas.dc(), 3, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_Draw(masked, 2, canvas.dc(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(canvas.Picture(kLegend), (std::vector<std::string>{"bggbm", "gbgmb"}));
    // Selected images are blended halfway toward the highlight colour (navy).
    ImageList_Draw(masked, 1, canvas.dc(), 0, 0, ILD_SELECTED);
    EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), RGB(0, 0, (255 + 128) / 2));
    EXPECT_EQ(GetPixel(canvas.dc(), 1, 0), kGreen);

    // Drawn partly off the canvas, blended 50 % and 25 % with the fractions cut off: red
    // gives 127.5 red and 64 blue, blue gives 223.25 blue.
    Canvas blended(2, 1, kGreen);
    EXPECT_TRUE(ImageList_Draw(masked, 0, blended.dc(), -1, 0, ILD_SELECTED));
    EXPECT_TRUE(ImageList_Draw(masked, 1, blended.dc(), 0, -1, ILD_FOCUS));
    EXPECT_EQ(blended.Pixels(), (std::vector<COLORREF>{RGB(127, 0, 64), RGB(0, 0, 223)}));

    // The list keeps its own copy: the bitmap may go.
    CBitmap* source = CBitmap::FromHandle(bitmap);
    CImageList list;
    ASSERT_TRUE(list.Create(2, 2, ILC_MASK, 10, 1));
    EXPECT_EQ(list.Add(source, RGB(0x98, 0x98, 0x98)), 0);
    EXPECT_EQ(list.GetImageCount(), 2);
    EXPECT_TRUE(DeleteObject(bitmap));
    Canvas again(2, 2, kGreen);
    CDC* dc = CDC::FromHandle(again.dc());
    EXPECT_TRUE(list.Draw(dc, 0, POINT{0, 0}, ILD_NORMAL));
    EXPECT_EQ(again.Picture(kLegend), (std::vector<std::string>{"gr", "rg"}));

    EXPECT_TRUE(ImageList_Destroy(masked));
    EXPECT_FALSE(ImageList_Destroy(masked));
    EXPECT_EQ(ImageList_GetImageCount(masked), 0);
    ImageList_Destroy(opaque);
}

} // namespace
