#include "widgets/QColorLabel.h"

QColorLabel::QColorLabel() {
    ResetColors(FALSE);
}

QColorLabel::~QColorLabel() {
    m_font.DeleteObject();
    m_brush.DeleteObject();
}

void QColorLabel::Repaint(BOOL bRepaint) {
    if (bRepaint) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

// System colours are read here, so later changes of the system colours do not reach a label.
void QColorLabel::ResetColors(BOOL bRepaint) {
    m_colors[0] = GetSysColor(COLOR_BTNFACE | SYS_COLOR_INDEX_FLAG);
    m_colors[1] = GetSysColor(COLOR_BTNTEXT | SYS_COLOR_INDEX_FLAG);
    m_colors[2] = RGB(255, 0, 0);
    m_colors[3] = RGB(0, 255, 0);
    m_colors[4] = RGB(0, 0, 255);
    m_colors[5] = RGB(255, 255, 0);
    Repaint(bRepaint);
}

void QColorLabel::SetColor(BYTE index, COLORREF colour, BOOL bRepaint) {
    if (index >= kColorCount) {
        return;
    }
    m_colors[index] = colour;
    Repaint(bRepaint);
}

BOOL QColorLabel::CreateLabelFont(const LOGFONT& logFont, BOOL bRepaint) {
    m_font.DeleteObject();
    const BOOL created = m_font.CreateFontIndirect(&logFont);
    Repaint(bRepaint);
    return created;
}

HBRUSH QColorLabel::CtlColor(CDC* pDC, UINT /*nCtlColor*/) {
    pDC->SetTextColor(m_colors[1]);
    pDC->SetBkColor(m_colors[0]);
    m_brush.DeleteObject();
    m_brush.CreateSolidBrush(m_colors[0]);
    return m_brush;
}
