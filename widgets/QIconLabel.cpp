#include "widgets/QIconLabel.h"

#include "platform/kernel/Resources.h"
#include "platform/user/AfxFindResourceHandle.h"
#include "platform/user/CPaintDC.h"

QIconLabel::QIconLabel() {
    // The background of static controls, not the button face of the other labels.
    m_colors[0] = GetSysColor(COLOR_STATIC | SYS_COLOR_INDEX_FLAG);
}

QIconLabel::~QIconLabel() {
    if (m_hIcon) {
        ::DestroyIcon(m_hIcon);
    }
}

void QIconLabel::SetIconFromResource(UINT nID, int cx, int cy, BOOL bRepaint) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(nID), RT_GROUP_ICON);
    auto icon =
        static_cast<HICON>(::LoadImage(module, MAKEINTRESOURCE(nID), IMAGE_ICON, cx, cy, 0));
    SetIconHandle(icon, cx, cy, bRepaint);
}

void QIconLabel::SetIconHandle(HICON hIcon, int cx, int cy, BOOL bRepaint) {
    if (m_hIcon) {
        ::DestroyIcon(m_hIcon);
        m_hIcon = nullptr;
    }
    if (hIcon) {
        m_hIcon = hIcon;
        m_cxIcon = cx;
        m_cyIcon = cy;
    }
    Repaint(bRepaint);
}

LRESULT QIconLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        OnPaint();
        return 0;
    }
    return QColorLabel::WindowProc(message, wParam, lParam);
}

void QIconLabel::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, m_colors[0]);
    if (m_hIcon) {
        ::DrawIconEx(dc, 0, 0, m_hIcon, 0, 0, 0, nullptr, DI_NORMAL);
    }

    CString text;
    GetWindowText(text);
    if (text.IsEmpty()) {
        return;
    }
    // No text colour is set: the text is drawn in the paint context's default black.
    client.left += m_cxIcon + 2;
    CFont* previousFont = m_font.GetSafeHandle() ? dc.SelectObject(&m_font) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(text, &client, DT_VCENTER);
    if (previousFont) {
        dc.SelectObject(previousFont);
    }
}
