#include "platform/gdi/CImageList.h"

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) {
        return FALSE;
    }
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Attach(HIMAGELIST list) {
    if (!list || m_hImageList) {
        return FALSE;
    }
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask) {
    return ImageList_Add(m_hImageList, bitmap ? HBITMAP(*bitmap) : nullptr,
                         mask ? HBITMAP(*mask) : nullptr);
}

int CImageList::Add(CBitmap* bitmap, COLORREF mask) {
    return ImageList_AddMasked(m_hImageList, bitmap ? HBITMAP(*bitmap) : nullptr, mask);
}

BOOL CImageList::Draw(CDC* dc, int image, POINT at, UINT style) {
    return ImageList_Draw(m_hImageList, image, dc ? dc->GetSafeHdc() : nullptr, at.x, at.y, style);
}
