#include "platform/user/CListBox.h"

#include <string>

#include "platform/user/ListBox.h"

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(L"ListBox", L"", style, rect, parent, id);
}

int CListBox::AddString(LPCTSTR text) {
    return int(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

void CListBox::ResetContent() {
    SendMessage(LB_RESETCONTENT);
}

int CListBox::GetCount() const {
    return int(SendMessage(LB_GETCOUNT));
}

int CListBox::GetTextLen(int index) const {
    return int(SendMessage(LB_GETTEXTLEN, WPARAM(index)));
}

void CListBox::GetText(int index, CString& text) const {
    const int length = GetTextLen(index);
    if (length < 0) {
        text.Empty();
        return;
    }
    std::wstring buffer(std::size_t(length) + 1, L'\0');
    SendMessage(LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(std::size_t(length));
    text = CString(std::move(buffer));
}

int CListBox::GetCurSel() const {
    return int(SendMessage(LB_GETCURSEL));
}

int CListBox::SetCurSel(int index) {
    return int(SendMessage(LB_SETCURSEL, WPARAM(index)));
}
