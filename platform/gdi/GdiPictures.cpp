// Pictures: bitmaps and icons from the program's resources or from bytes, and icon drawing.
#include <span>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DibDecoder.h"
#include "platform/gdi/GdiRegistry.h"
#include "platform/gdi/IconDecoder.h"
#include "platform/gdi/Raster.h"
#include "platform/kernel/Resources.h"
#include "platform/kernel/ThreadControl.h"

namespace {

std::span<const std::uint8_t> ResourceBytes(HINSTANCE instance, LPCTSTR name, LPCTSTR type) {
    HRSRC found = FindResource(instance, name, type);
    if (!found) {
        return {};
    }
    const void* data = LockResource(LoadResource(instance, found));
    if (!data) {
        return {};
    }
    return {static_cast<const std::uint8_t*>(data), SizeofResource(instance, found)};
}

HBITMAP InsertBitmap(std::shared_ptr<BitmapObject> bitmap) {
    if (!bitmap) {
        return nullptr;
    }
    std::lock_guard lock(GdiRegistry::Lock());
    return static_cast<HBITMAP>(GdiRegistry::Insert(std::move(bitmap)));
}

HICON InsertIcon(std::shared_ptr<IconObject> icon) {
    if (!icon) {
        return nullptr;
    }
    std::lock_guard lock(GdiRegistry::Lock());
    return static_cast<HICON>(GdiRegistry::Insert(std::move(icon)));
}

} // namespace

HBITMAP GdiCreateBitmapFromBytes(const BYTE* data, std::size_t size) {
    PlatformCheckpoint();
    if (!data) {
        return nullptr;
    }
    return InsertBitmap(DibDecoder::DecodeBmp({data, size}));
}

HICON GdiCreateIconFromBytes(const BYTE* data, std::size_t size, int cx, int cy) {
    PlatformCheckpoint();
    if (!data) {
        return nullptr;
    }
    return InsertIcon(IconDecoder::Decode({data, size}, cx, cy));
}

BOOL GdiGetIconSize(HICON icon, SIZE* size) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    const auto object = GdiRegistry::GetAs<IconObject>(icon);
    if (!object || !size) {
        return FALSE;
    }
    *size = SIZE{object->width, object->height};
    return TRUE;
}

HBITMAP LoadBitmap(HINSTANCE instance, LPCTSTR name) {
    PlatformCheckpoint();
    const auto bytes = ResourceBytes(instance, name, RT_BITMAP);
    return bytes.empty() ? nullptr : InsertBitmap(DibDecoder::DecodeBmp(bytes));
}

HANDLE LoadImage(HINSTANCE instance, LPCTSTR name, UINT type, int cx, int cy, UINT flags) {
    PlatformCheckpoint();
    if (type == IMAGE_ICON) {
        const auto bytes = ResourceBytes(instance, name, RT_GROUP_ICON);
        if (bytes.empty()) {
            return nullptr;
        }
        if ((flags & LR_DEFAULTSIZE) != 0) {
            cx = cx > 0 ? cx : DEFAULT_ICON_SIZE;
            cy = cy > 0 ? cy : DEFAULT_ICON_SIZE;
        }
        return InsertIcon(IconDecoder::Decode(bytes, cx, cy));
    }
    if (type == IMAGE_BITMAP) {
        const auto bytes = ResourceBytes(instance, name, RT_BITMAP);
        auto bitmap = bytes.empty() ? nullptr : DibDecoder::DecodeBmp(bytes);
        if (bitmap && cx > 0 && cy > 0 && (cx != bitmap->width || cy != bitmap->height)) {
            bitmap = DibDecoder::Scale(*bitmap, cx, cy);
        }
        return InsertBitmap(std::move(bitmap));
    }
    return nullptr;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFree,
                UINT flags) {
    (void)step; // animated cursors only
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    const auto dc = GdiRegistry::GetDC(hdc);
    auto image = GdiRegistry::GetAs<IconObject>(icon);
    if (!dc || !image) {
        return FALSE;
    }
    cx = cx > 0 ? cx : image->width;
    cy = cy > 0 ? cy : image->height;
    if (cx != image->width || cy != image->height) {
        image = DibDecoder::Scale(*image, cx, cy);
    }
    Raster raster(*dc);
    // With a flicker-free brush the icon is drawn over that brush's colour, not over the target.
    if (flickerFree) {
        const auto brush = GdiRegistry::GetAs<BrushObject>(flickerFree);
        if (brush && !brush->hollow) {
            raster.Fill(x, y, x + cx, y + cy, ToPixel(brush->colour));
        }
    }
    const bool useMask = (flags & DI_MASK) != 0;
    const bool useImage = (flags & DI_IMAGE) != 0;
    raster.Blit(x, y, cx, cy, [&](std::uint32_t& d, std::size_t i) {
        const unsigned alpha = image->alpha[i];
        if (!useImage) {
            d = alpha ? 0 : d; // the mask alone: opaque pixels black, the rest untouched
        } else if (!useMask || alpha == 255) {
            d = image->pixels[i];
        } else if (alpha != 0) {
            d = Raster::Mix(d, image->pixels[i], alpha, 255, Raster::Rounding::Nearest);
        }
    });
    return TRUE;
}

BOOL DestroyIcon(HICON icon) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    if (!GdiRegistry::GetAs<IconObject>(icon)) {
        return FALSE;
    }
    return GdiRegistry::Erase(icon) ? TRUE : FALSE;
}
