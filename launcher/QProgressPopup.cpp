#include "launcher/QProgressPopup.h"

#include "platform/gdi/CRect.h"
#include "platform/gdi/WinGdi.h"

namespace {

constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER;
constexpr UINT kId = 0xFFFF;
constexpr UINT kFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr COLORREF kText = 0x00FF0000;
constexpr COLORREF kBack = 0x00FFFFFF;

} // namespace

QProgressPopup::~QProgressPopup() = default;

void QProgressPopup::Show(const CString& text, const RECT& rect, CWnd* parent) {
    Create(text, kStyle, rect, parent, kId);
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);

    m_dc = GetDC();
    CRect area;
    GetClientRect(&area);
    m_dc->Rectangle(&area);
    area.DeflateRect(2, 2);
    m_dc->SetBkMode(OPAQUE);
    m_dc->SetTextColor(kText);
    m_dc->SetBkColor(kBack);
    m_dc->DrawText(text, &area, kFormat);
}

void QProgressPopup::Hide() {
    if (m_dc)
        ReleaseDC(m_dc);
    m_dc = nullptr;
    DestroyWindow();
}
