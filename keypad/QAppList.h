// The launcher's program list: a list-view control that understands the keypad. In the icon
// view the arrow keys become the keyboard's arrows, so the control's own navigation moves through
// the icons; in the report and list views they move focus (and selection) row by row and leave
// the list at its ends. The enter key activates the focused item (NM_DBLCLK to the parent), and
// every key the list does not use goes on to its parent.
#pragma once

#include "platform/user/CListCtrl.h"

class QAppList : public CListCtrl {
public:
    // WM_KEYPAD: the key code and its repeat count.
    LRESULT OnKeypad(WPARAM key, LPARAM repeat);
    // Sends WM_NOTIFY with code to the owner (else the parent); its result, or 0 when there is
    // no live window to send it to.
    LRESULT NotifyParent(UINT code);
    // WM_HSCROLL: scrolling to the left repaints the whole list first.
    void OnHScroll(UINT code, UINT position, CWnd* scrollBar);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnIconKeypad(WPARAM key, LPARAM repeat);
    void OnReportKeypad(WPARAM key, LPARAM repeat);
    void PassToParent(WPARAM key, LPARAM repeat);
};
