#include "platform/gdi/ImageList.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiRegistry.h"
#include "platform/gdi/ImageListObject.h"
#include "platform/gdi/Raster.h"
#include "platform/kernel/ThreadControl.h"

namespace {

template <class R, class F> R WithList(HIMAGELIST list, R fallback, F&& f) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    const auto object = GdiRegistry::GetAs<ImageListObject>(list);
    return object ? f(*object) : fallback;
}

} // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
    (void)initial; // room is made as images come
    (void)grow;
    PlatformCheckpoint();
    if (cx <= 0 || cy <= 0 || std::int64_t(cx) * cy > (1 << 24)) {
        return nullptr;
    }
    std::lock_guard lock(GdiRegistry::Lock());
    return static_cast<HIMAGELIST>(
        GdiRegistry::Insert(std::make_shared<ImageListObject>(cx, cy, (flags & ILC_MASK) != 0)));
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    if (!GdiRegistry::GetAs<ImageListObject>(list)) {
        return FALSE;
    }
    return GdiRegistry::Erase(list) ? TRUE : FALSE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
    return WithList(list, -1, [&](ImageListObject& object) {
        const auto bitmap = GdiRegistry::GetAs<BitmapObject>(image);
        const auto maskBitmap = GdiRegistry::GetAs<BitmapObject>(mask);
        if (!bitmap || (mask && !maskBitmap)) {
            return -1;
        }
        return object.Add(*bitmap, [&](int x, int y) {
            return maskBitmap && x < maskBitmap->width && y < maskBitmap->height &&
                   maskBitmap->At(x, y) != 0;
        });
    });
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask) {
    return WithList(list, -1, [&](ImageListObject& object) {
        const auto bitmap = GdiRegistry::GetAs<BitmapObject>(image);
        if (!bitmap) {
            return -1;
        }
        const std::uint32_t key = ToPixel(mask & 0x00FFFFFF);
        return object.Add(*bitmap, [&](int x, int y) { return bitmap->At(x, y) == key; });
    });
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT style) {
    return WithList(list, FALSE, [&](ImageListObject& object) {
        const auto dc = GdiRegistry::GetDC(hdc);
        if (!dc || index < 0 || index >= int(object.images.size())) {
            return FALSE;
        }
        const ImageListObject::Image& image = object.images[std::size_t(index)];
        const unsigned blend = (style & ILD_BLEND50) ? 50 : (style & ILD_BLEND25) ? 25 : 0;
        const std::uint32_t highlight = ToPixel(SystemColour(COLOR_HIGHLIGHT));
        Raster raster(*dc);
        raster.Blit(x, y, object.cx, object.cy, [&](std::uint32_t& d, std::size_t i) {
            if (!image.transparent[i]) {
                d = blend ? Raster::Mix(image.pixels[i], highlight, blend, 100,
                                        Raster::Rounding::Down)
                          : image.pixels[i];
            }
        });
        return TRUE;
    });
}

int ImageList_GetImageCount(HIMAGELIST list) {
    return WithList(list, 0, [](ImageListObject& object) { return int(object.images.size()); });
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    return WithList(list, FALSE, [&](ImageListObject& object) {
        if (!cx || !cy) {
            return FALSE;
        }
        *cx = object.cx;
        *cy = object.cy;
        return TRUE;
    });
}
