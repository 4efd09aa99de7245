#include "widgets/QOwnerDrawMenu.h"

#include <cstdint>

#include "platform/kernel/EventLog.h"
#include "widgets/QCheckTick.h"

namespace {

constexpr COLORREF kFace = 0x00F5F5F5;           // light grey
constexpr COLORREF kTitleFace = 0x00808000;      // teal
constexpr COLORREF kSelectionFrame = 0x00C40000; // blue
constexpr COLORREF kSelectionFace = 0x00FFC4C4;  // light blue
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;

const QMenuItemData* RecordOf(DWORD_PTR data) {
    return reinterpret_cast<const QMenuItemData*>(data);
}

// The centre of a rectangle: the integer means of its opposite edges.
POINT Centre(LPCRECT rect) {
    return POINT{(rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2};
}

} // namespace

QOwnerDrawMenu::QOwnerDrawMenu() {
    m_imageList.Create(16, 16, ILC_MASK, 0, 1);
}

QOwnerDrawMenu::~QOwnerDrawMenu() {
    m_imageList.DeleteImageList();
    if (m_hMenu)
        DestroyMenu();
}

void QOwnerDrawMenu::MeasureItem(LPMEASUREITEMSTRUCT measureItem) {
    const QMenuItemData* record = RecordOf(measureItem->itemData);
    const CString text = record ? record->m_text : CString();
    HDC hdc = ::GetDC(nullptr);
    SIZE extent{};
    ::GetTextExtentExPoint(hdc, text.GetString(), text.GetLength(), 0, nullptr, nullptr, &extent);
    if (measureItem->itemID == MENU_TITLE_ID) {
        measureItem->itemHeight = 16;
        measureItem->itemWidth = UINT(extent.cx);
    } else {
        MENUITEMINFO info;
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_TYPE;
        const bool known = GetMenuItemInfo(measureItem->itemID, &info, FALSE) != FALSE;
        measureItem->itemHeight = known && (info.fType & MFT_SEPARATOR) ? 5 : 18;
        measureItem->itemWidth = UINT(extent.cx + (known && info.hSubMenu ? 36 : 21));
    }
    ::ReleaseDC(nullptr, hdc);
}

void QOwnerDrawMenu::DrawItem(LPDRAWITEMSTRUCT drawItem) {
    CDC* pDC = CDC::FromHandle(drawItem->hDC);
    CRect rect(drawItem->rcItem);
    const QMenuItemData* record = RecordOf(drawItem->itemData);
    const CString text = record ? record->m_text : CString();
    const int image = record ? record->m_image : -1;
    MENUITEMINFO info;
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE;
    const bool known = GetMenuItemInfo(drawItem->itemID, &info, FALSE) != FALSE;

    if (drawItem->itemID == MENU_TITLE_ID) {
        DrawTitleItem(pDC, text, &rect);
        return;
    }
    CRect column(rect.left + 1, rect.top, rect.left + 20, rect.bottom);
    pDC->FillSolidRect(&rect, kFace);
    pDC->FillSolidRect(&column, ::GetSysColor(COLOR_BTNFACE));
    if (known && (info.fType & MFT_SEPARATOR)) {
        rect.DeflateRect(2, 0);
        rect.top += rect.Height() / 2;
        pDC->DrawEdge(&rect, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool grayed = (drawItem->itemState & ODS_GRAYED) != 0;
    if (drawItem->itemState & ODS_SELECTED) {
        rect.DeflateRect(1, 1);
        CBrush frame(kSelectionFrame);
        pDC->FrameRect(&rect, &frame);
        rect.DeflateRect(1, 1);
        pDC->FillSolidRect(&rect, grayed ? kFace : kSelectionFace);
        column.DeflateRect(1, 1);
    }
    if (image >= 0)
        DrawImage(pDC, image, &column);
    else if (known && (info.fState & MFS_CHECKED) && !info.hSubMenu)
        DrawCheckMark(pDC, &column);

    CRect textRect(drawItem->rcItem);
    textRect.left += 22;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(grayed ? ::GetSysColor(COLOR_GRAYTEXT) : kBlack);
    pDC->DrawText(text, &textRect, DT_VCENTER);
}

void QOwnerDrawMenu::ReleaseItemData(CMenu* pMenu) {
    if (!pMenu)
        return;
    const int count = pMenu->GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        MENUITEMINFO info;
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_SUBMENU | MIIM_DATA;
        if (!pMenu->GetMenuItemInfo(UINT(i), &info, TRUE))
            continue;
        delete reinterpret_cast<QMenuItemData*>(info.dwItemData);
        if (info.hSubMenu)
            delete CMenu::FromHandlePermanent(info.hSubMenu);
    }
}

void QOwnerDrawMenu::DrawTitleItem(CDC* pDC, const CString& text, LPRECT rect) {
    pDC->FillSolidRect(rect, kTitleFace);
    pDC->DrawEdge(rect, EDGE_RAISED, BF_RECT);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(kWhite);
    pDC->DrawText(text, rect, DT_CENTER | DT_VCENTER);
}

// The colour button's check box draws the same tick.
void QOwnerDrawMenu::DrawCheckMark(CDC* pDC, LPRECT rect) {
    QCheckTick::Draw(pDC, rect);
}

void QOwnerDrawMenu::DrawImage(CDC* pDC, int image, LPRECT rect) {
    const POINT c = Centre(rect);
    m_imageList.Draw(pDC, image, POINT{c.x - 7, c.y - 7}, ILD_NORMAL);
}

BOOL QOwnerDrawMenu::AddTitle(LPCTSTR text) {
    return Add(0, MENU_TITLE_ID, text, -1, nullptr);
}

BOOL QOwnerDrawMenu::AddItem(UINT id, LPCTSTR text, UINT flags, int image) {
    return Add(flags & (MF_CHECKED | MF_GRAYED), id, text, image, nullptr);
}

BOOL QOwnerDrawMenu::AddSeparator(LPCTSTR text) {
    return Add(MF_SEPARATOR, 0, text, -1, nullptr);
}

BOOL QOwnerDrawMenu::AddSubmenu(UINT id, LPCTSTR text, CMenu* submenu, int image) {
    if (!submenu || !submenu->m_hMenu)
        return FALSE;
    return Add(0, id, text, image, submenu);
}

int QOwnerDrawMenu::AddImage(CBitmap* bitmap, COLORREF mask) {
    return m_imageList.Add(bitmap, mask);
}

BOOL QOwnerDrawMenu::Add(UINT flags, UINT id, LPCTSTR text, int image, CMenu* submenu) {
    if (!m_hMenu)
        return FALSE;
    auto* record = new QMenuItemData{image, CString(text ? text : L"")};
    MENUITEMINFO info;
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | (submenu ? MIIM_SUBMENU : 0);
    info.fType = MFT_OWNERDRAW | ((flags & MF_SEPARATOR) ? MFT_SEPARATOR : 0);
    info.fState = flags & (MF_CHECKED | MF_GRAYED);
    info.wID = id;
    info.hSubMenu = submenu ? submenu->m_hMenu : nullptr;
    info.dwItemData = reinterpret_cast<DWORD_PTR>(record);
    if (!InsertMenuItem(UINT(GetMenuItemCount()), &info, TRUE)) {
        delete record;
        return FALSE;
    }
    EventLog::Instance().Record("menu.item", {{"menu", reinterpret_cast<std::uintptr_t>(m_hMenu)},
                                              {"id", id},
                                              {"text", record->m_text.ToUtf8()}});
    return TRUE;
}
