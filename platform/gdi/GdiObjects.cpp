// GDI objects: creation, selection, deletion, queries, and the system colours.
#include <algorithm>
#include <cstring>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiRegistry.h"
#include "platform/gdi/HandleWrappers.h"
#include "platform/kernel/ThreadControl.h"

namespace {

template <class T> T* ToHandle(void* h) {
    return reinterpret_cast<T*>(h);
}

} // namespace

HGDIOBJ GetStockObject(int object) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    const auto stock = GdiRegistry::Stock(object);
    return stock && object != GdiRegistry::kDefaultBitmap
               ? static_cast<HGDIOBJ>(GdiRegistry::HandleOf(stock.get()))
               : nullptr;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    const auto dc = GdiRegistry::GetDC(hdc);
    const auto obj = GdiRegistry::Get(object);
    if (!dc || !obj) {
        return nullptr;
    }
    const auto previous = dc->Select(obj);
    return previous ? static_cast<HGDIOBJ>(GdiRegistry::HandleOf(previous.get())) : nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
    PlatformCheckpoint();
    {
        std::lock_guard lock(GdiRegistry::Lock());
        const auto obj = GdiRegistry::Get(object);
        if (!obj || obj->Type() == 0) {
            return FALSE;
        }
        if (obj->stock) {
            return TRUE;
        }
        // An object still selected into a context cannot be deleted.
        if (obj->selections > 0) {
            return FALSE;
        }
        GdiRegistry::Erase(object);
    }
    HandleWrappers::Forget(object);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ object) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    if (const auto obj = GdiRegistry::Get(object)) {
        return obj->Type();
    }
    if (const auto dc = GdiRegistry::GetDC(reinterpret_cast<HDC>(object))) {
        return dc->IsScreen() ? OBJ_DC : OBJ_MEMDC;
    }
    return 0;
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    const auto obj = GdiRegistry::Get(object);
    if (!obj) {
        return 0;
    }
    const auto copyOut = [&](const auto& value) {
        if (!buffer) {
            return int(sizeof(value));
        }
        const int n = std::min(size, int(sizeof(value)));
        if (n <= 0) {
            return 0;
        }
        std::memcpy(buffer, &value, std::size_t(n));
        return n;
    };
    if (const auto bitmap = std::dynamic_pointer_cast<BitmapObject>(obj)) {
        BITMAP bm;
        bm.bmWidth = bitmap->width;
        bm.bmHeight = bitmap->height;
        bm.bmBitsPixel = WORD(bitmap->bitsPerPixel);
        bm.bmPlanes = 1;
        bm.bmWidthBytes = ((bitmap->width * bitmap->bitsPerPixel + 15) / 16) * 2;
        return copyOut(bm);
    }
    if (const auto pen = std::dynamic_pointer_cast<PenObject>(obj)) {
        LOGPEN lp;
        lp.lopnStyle = UINT(pen->style);
        lp.lopnWidth.x = pen->width;
        lp.lopnColor = pen->colour;
        return copyOut(lp);
    }
    if (const auto brush = std::dynamic_pointer_cast<BrushObject>(obj)) {
        LOGBRUSH lb;
        lb.lbStyle = brush->hollow ? BS_NULL : BS_SOLID;
        lb.lbColor = brush->colour;
        return copyOut(lb);
    }
    if (const auto font = std::dynamic_pointer_cast<FontObject>(obj)) {
        return copyOut(font->logFont);
    }
    return 0;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    const auto dc = GdiRegistry::GetDC(hdc);
    const auto obj = dc ? dc->Current(type) : nullptr;
    return obj ? static_cast<HGDIOBJ>(GdiRegistry::HandleOf(obj.get())) : nullptr;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    PlatformCheckpoint();
    if (style != PS_SOLID && style != PS_NULL) {
        return nullptr;
    }
    std::lock_guard lock(GdiRegistry::Lock());
    // Width 0 is a one-pixel pen, as on the platform.
    return ToHandle<HPEN__>(
        GdiRegistry::Insert(std::make_shared<PenObject>(style, std::max(width, 1), colour)));
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    return ToHandle<HBRUSH__>(
        GdiRegistry::Insert(std::make_shared<BrushObject>(false, colour & 0x00FFFFFF)));
}

HFONT CreateFontIndirect(const LOGFONT* font) {
    PlatformCheckpoint();
    if (!font) {
        return nullptr;
    }
    std::lock_guard lock(GdiRegistry::Lock());
    return ToHandle<HFONT__>(GdiRegistry::Insert(std::make_shared<FontObject>(*font)));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCTSTR face) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = BYTE(italic);
    lf.lfUnderline = BYTE(underline);
    lf.lfStrikeOut = BYTE(strikeOut);
    lf.lfCharSet = BYTE(charSet);
    lf.lfOutPrecision = BYTE(outPrecision);
    lf.lfClipPrecision = BYTE(clipPrecision);
    lf.lfQuality = BYTE(quality);
    lf.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (face) {
        for (int i = 0; i < LF_FACESIZE - 1 && face[i]; ++i) {
            lf.lfFaceName[i] = face[i];
        }
    }
    return CreateFontIndirect(&lf);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    PlatformCheckpoint();
    std::lock_guard lock(GdiRegistry::Lock());
    const auto dc = GdiRegistry::GetDC(hdc);
    if (!dc || width < 0 || height < 0 || std::int64_t(width) * height > (1 << 24)) {
        return nullptr;
    }
    // A bitmap compatible with a memory context takes that context's bitmap format; the screen
    // is 32 bits per pixel.
    const int bpp = dc->IsScreen() ? 32 : dc->Bitmap()->bitsPerPixel;
    return ToHandle<HBITMAP__>(
        GdiRegistry::Insert(std::make_shared<BitmapObject>(width, height, bpp)));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    PlatformCheckpoint();
    if (width <= 0 || height <= 0 || planes != 1 || std::int64_t(width) * height > (1 << 24) ||
        (bitsPerPixel != 24 && bitsPerPixel != 32)) {
        return nullptr;
    }
    auto bitmap = std::make_shared<BitmapObject>(width, height, int(bitsPerPixel));
    if (bits) {
        const auto* bytes = static_cast<const BYTE*>(bits);
        // The rows of a device-dependent bitmap are padded to 16 bits only.
        const std::size_t stride = (std::size_t(width) * bitsPerPixel + 15) / 16 * 2;
        for (int y = 0; y < height; ++y) {
            const BYTE* row = bytes + stride * std::size_t(y);
            for (int x = 0; x < width; ++x) {
                const BYTE* p = row + std::size_t(x) * (bitsPerPixel / 8);
                bitmap->At(x, y) = (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
            }
        }
    }
    std::lock_guard lock(GdiRegistry::Lock());
    return ToHandle<HBITMAP__>(GdiRegistry::Insert(std::move(bitmap)));
}
