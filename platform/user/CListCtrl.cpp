#include "platform/user/CListCtrl.h"

#include <vector>

CListCtrl::CListCtrl() {
    InitCommonControls();
}

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_LISTVIEW, nullptr, style, rect, parent, id);
}

CImageList* CListCtrl::SetImageList(CImageList* list, int imageListType) {
    if (imageListType < LVSIL_NORMAL || imageListType > LVSIL_STATE)
        return nullptr;
    SendMessage(LVM_SETIMAGELIST, WPARAM(imageListType),
                reinterpret_cast<LPARAM>(list ? list->GetSafeHandle() : nullptr));
    CImageList* previous = m_imageLists[imageListType];
    m_imageLists[imageListType] = list;
    return previous;
}

int CListCtrl::InsertItem(int item, LPCTSTR text) {
    LVITEM lvi;
    lvi.mask = LVIF_TEXT;
    lvi.iItem = item;
    lvi.pszText = const_cast<LPTSTR>(text);
    return InsertItem(&lvi);
}

int CListCtrl::InsertItem(int item, LPCTSTR text, int image) {
    LVITEM lvi;
    lvi.mask = LVIF_TEXT | LVIF_IMAGE;
    lvi.iItem = item;
    lvi.pszText = const_cast<LPTSTR>(text);
    lvi.iImage = image;
    return InsertItem(&lvi);
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    LVITEM lvi;
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    lvi.lParam = LPARAM(data);
    return SetItem(&lvi);
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    LVITEM lvi;
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    return GetItem(&lvi) ? DWORD_PTR(lvi.lParam) : 0;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEM lvi;
    lvi.state = state;
    lvi.stateMask = mask;
    return SetItemState(item, &lvi);
}

int CListCtrl::GetItemText(int item, int subItem, LPTSTR text, int length) const {
    LVITEM lvi;
    lvi.iSubItem = subItem;
    lvi.pszText = text;
    lvi.cchTextMax = length;
    return int(SendMessage(LVM_GETITEMTEXT, WPARAM(item), reinterpret_cast<LPARAM>(&lvi)));
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    // The text is copied into a buffer that grows until the whole text fits.
    std::vector<wchar_t> buffer(64);
    for (;;) {
        const int n = GetItemText(item, subItem, buffer.data(), int(buffer.size()));
        if (n < int(buffer.size()) - 1)
            return CString(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT code) const {
    if (!rect)
        return FALSE;
    rect->left = LONG(code);
    return BOOL(SendMessage(LVM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(rect)));
}
