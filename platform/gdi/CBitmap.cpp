#include "platform/gdi/CBitmap.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/HandleWrappers.h"
#include "platform/kernel/Resources.h"

BOOL CBitmap::LoadBitmap(UINT id) {
    return LoadBitmap(MAKEINTRESOURCE(id));
}

BOOL CBitmap::LoadBitmap(LPCTSTR name) {
    return Attach(::LoadBitmap(AfxGetResourceHandle(), name));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc ? dc->GetSafeHdc() : nullptr, width, height));
}

CBitmap* CBitmap::FromHandle(HBITMAP bitmap) {
    return HandleWrappers::FromHandle<CGdiObject, CBitmap>(bitmap);
}
