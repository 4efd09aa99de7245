// One list-view window: its items, its view (icon grid or rows, scrolled vertically), painting,
// arrow keys and taps. The "SysListView32" window procedure keeps one per window.
#pragma once

#include <string>
#include <vector>

#include "platform/user/ListView.h"

class ListViewControl {
public:
    explicit ListViewControl(HWND hwnd);
    ListViewControl(const ListViewControl&) = delete;
    ListViewControl& operator=(const ListViewControl&) = delete;

    // Every message of the window from WM_CREATE to WM_DESTROY.
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_NCDESTROY: the image lists go with the control unless it shares them.
    void Destroyed();

private:
    struct Item {
        std::wstring text;
        int image = 0;
        LPARAM param = 0;
        UINT state = 0;
    };
    // Cell sizes and the grid of the present view.
    struct Layout {
        bool icons = true;
        int iconCx = 0;
        int iconCy = 0;
        int cellCx = 0;
        int cellCy = 0;
        int columns = 1;
        int lineHeight = 0;
    };

    bool IconView() const;
    DWORD Style() const;
    Layout ComputeLayout() const;
    int ContentHeight(const Layout& layout) const;
    // The item's cell in client coordinates (scroll included), and its parts.
    RECT CellRect(const Layout& layout, int index) const;
    RECT IconRect(const Layout& layout, int index) const;
    // The room of the label, and (with a DC) the box its text takes, centred in that room.
    RECT LabelRoom(const Layout& layout, int index) const;
    RECT LabelBox(HDC hdc, const Layout& layout, int index) const;
    int HitTest(POINT point) const;

    bool Valid(int index) const { return index >= 0 && index < int(m_items.size()); }
    // Sets the bits of mask to those of state on one item, keeping one focused item and, in a
    // single-selection list, one selected item.
    void ApplyState(int index, UINT state, UINT mask);
    std::vector<UINT> States() const;
    // Tells the parent of each item whose state differs from before (LVN_ITEMCHANGED).
    void NotifyStateChanges(const std::vector<UINT>& before);
    // Focuses and selects index alone, and scrolls it into view (arrow keys, taps).
    void FocusAndSelect(int index);
    bool EnsureVisible(int index, bool partialOk);
    void ClampScroll();
    void Redraw();

    LRESULT InsertItem(const LVITEM* item);
    BOOL SetItem(const LVITEM* item);
    BOOL GetItem(LVITEM* item) const;
    int CopyText(int index, LPWSTR buffer, int size) const;
    int GetNextItem(int start, UINT flags) const;
    int FindItem(int start, const LVFINDINFO* info) const;
    void DeleteAllItems();
    BOOL GetItemRect(int index, RECT* rect) const;

    void OnKeyDown(UINT key);
    // A press of the stylus (second: the second press of a double tap): focus, selection and
    // NM_CLICK, or NM_DBLCLK.
    void OnTap(POINT point, bool second);
    LRESULT Notify(UINT code, int item, POINT point = {});
    void Paint();
    void PaintItem(HDC hdc, const Layout& layout, int index, bool hasFocus);

    HWND m_hwnd;
    std::vector<Item> m_items;
    COLORREF m_bkColor;
    HIMAGELIST m_imageLists[3] = {};
    HFONT m_font = nullptr;
    int m_scrollY = 0;
    // The item the last press landed on (-1: none), which a double tap must land on again.
    int m_tapItem = -1;
};
