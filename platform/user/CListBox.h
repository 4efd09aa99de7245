// The framework's list box: a column of text lines (ListBox.h) that a tap selects.
#pragma once

#include "platform/kernel/CString.h"
#include "platform/user/CWnd.h"

class CListBox : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // The new line's index, or LB_ERR.
    int AddString(LPCTSTR text);
    void ResetContent();
    int GetCount() const;
    // The line's length in characters, or LB_ERR for an index past the end.
    int GetTextLen(int index) const;
    // The line's text; an index past the end leaves text empty.
    void GetText(int index, CString& text) const;
    int GetCurSel() const;
    int SetCurSel(int index);
};
