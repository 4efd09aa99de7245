// The framework's list-view control: a window of class "SysListView32" and its messages as
// member calls.
#pragma once

#include "platform/gdi/CImageList.h"
#include "platform/kernel/CString.h"
#include "platform/user/CWnd.h"
#include "platform/user/ListView.h"

class CListCtrl : public CWnd {
public:
    // Registers the list view's class, so that dialog templates naming it can be created.
    CListCtrl();

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    COLORREF GetBkColor() const { return COLORREF(SendMessage(LVM_GETBKCOLOR)); }
    BOOL SetBkColor(COLORREF colour) {
        return BOOL(SendMessage(LVM_SETBKCOLOR, 0, LPARAM(colour)));
    }
    // Returns the image list set before through this object, or null.
    CImageList* SetImageList(CImageList* list, int imageListType);

    int GetItemCount() const { return int(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL GetItem(LVITEM* item) const { return BOOL(SendMessage(LVM_GETITEM, 0, LPARAM(item))); }
    BOOL SetItem(const LVITEM* item) { return BOOL(SendMessage(LVM_SETITEM, 0, LPARAM(item))); }
    int InsertItem(const LVITEM* item) { return int(SendMessage(LVM_INSERTITEM, 0, LPARAM(item))); }
    int InsertItem(int item, LPCTSTR text);
    int InsertItem(int item, LPCTSTR text, int image);
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    UINT GetItemState(int item, UINT mask) const {
        return UINT(SendMessage(LVM_GETITEMSTATE, WPARAM(item), LPARAM(mask)));
    }
    BOOL SetItemState(int item, UINT state, UINT mask);
    BOOL SetItemState(int item, LVITEM* state) {
        return BOOL(SendMessage(LVM_SETITEMSTATE, WPARAM(item), LPARAM(state)));
    }
    CString GetItemText(int item, int subItem) const;
    int GetItemText(int item, int subItem, LPTSTR text, int length) const;
    int GetNextItem(int item, int flags) const {
        return int(SendMessage(LVM_GETNEXTITEM, WPARAM(item), LPARAM(flags)));
    }
    int FindItem(LVFINDINFO* info, int start = -1) const {
        return int(SendMessage(LVM_FINDITEM, WPARAM(start), LPARAM(info)));
    }
    BOOL DeleteAllItems() { return BOOL(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL EnsureVisible(int item, BOOL partialOK) {
        return BOOL(SendMessage(LVM_ENSUREVISIBLE, WPARAM(item), LPARAM(partialOK)));
    }
    // code: LVIR_BOUNDS, LVIR_ICON or LVIR_LABEL.
    BOOL GetItemRect(int item, LPRECT rect, UINT code) const;

private:
    CImageList* m_imageLists[3] = {};
};
