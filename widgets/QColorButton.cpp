#include "widgets/QColorButton.h"

#include <cstdint>

#include "keypad/Keypad.h"
#include "platform/kernel/EventLog.h"
#include "widgets/QCheckTick.h"

namespace {

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kRadioFace = RGB(30, 75, 0);
constexpr COLORREF kRadioDot = RGB(100, 255, 0);
constexpr int kCornerSize = 8;

COLORREF SysColor(int index) {
    return ::GetSysColor(index | SYS_COLOR_INDEX_FLAG);
}

} // namespace

QColorButton::QColorButton() {
    ReleaseImages(FALSE);
    ResetColors(FALSE);
}

QColorButton::~QColorButton() {
    ReleaseImages(TRUE);
    DestroyDropDownMenu();
}

// The records of the menu's items are freed before the menu: nobody else holds them.
void QColorButton::DestroyDropDownMenu() {
    if (m_menu.m_hMenu) {
        m_menu.ReleaseItemData(&m_menu);
        m_menu.DestroyMenu();
    }
}

void QColorButton::AttachMenu(HMENU hMenu, HWND hOwner, BYTE placement) {
    if (hMenu != m_menu.m_hMenu) {
        DestroyDropDownMenu();
        if (hMenu) {
            m_menu.Attach(hMenu);
        }
    }
    m_hMenuOwner = hOwner;
    m_placement = placement;
}

void QColorButton::Repaint(BOOL bRepaint) {
    if (bRepaint && m_hWnd) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void QColorButton::ResetColors(BOOL bRepaint) {
    m_faceColor = SysColor(COLOR_BTNFACE);
    m_textColor = SysColor(COLOR_BTNTEXT);
    m_focusFaceColor = kNavy;
    m_focusTextColor = kWhite;
    m_disabledTextColor = SysColor(COLOR_BTNHIGHLIGHT);
    m_radioDotColor = kRadioDot;
    Repaint(bRepaint);
}

void QColorButton::ReleaseImages(BOOL bDestroy) {
    for (Image& image : m_images) {
        if (bDestroy && image.icon) {
            ::DestroyIcon(image.icon);
        }
        image = Image{};
    }
}

void QColorButton::SetImage(int index, HICON icon, int cx, int cy, BOOL bRepaint) {
    if (index < 0 || index >= kImageCount) {
        return;
    }
    Image& image = m_images[index];
    if (image.icon && image.icon != icon) {
        ::DestroyIcon(image.icon);
    }
    image = icon ? Image{icon, cx, cy} : Image{};
    Repaint(bRepaint);
}

void QColorButton::SetRounded(BOOL bRounded, BOOL bRepaint) {
    m_bRounded = bRounded ? 1 : 0;
    Repaint(bRepaint);
}

void QColorButton::SetMultiLine(BOOL bMultiLine, BOOL bRepaint) {
    m_bMultiLine = bMultiLine ? 1 : 0;
    Repaint(bRepaint);
}

void QColorButton::SetMarkKind(BYTE kind, BOOL bRepaint) {
    m_markKind = kind;
    Repaint(bRepaint);
}

void QColorButton::PreSubclassWindow() {
    // Check boxes (BS_CHECKBOX, BS_AUTOCHECKBOX) carry bit 0x2; push and radio buttons do not.
    if (GetStyle() & 0x2) {
        m_bCheckMode = 1;
        m_bEdge = 0;
    }
    ModifyStyle(0, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

void QColorButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const UINT state = lpDrawItemStruct->itemState;
    const int selected = (state & ODS_SELECTED) ? 1 : 0;
    // In push mode the button stays down while its menu shows.
    if (m_bCheckMode) {
        m_bPressed = selected || m_checked ? 1 : 0;
    } else {
        m_bPressed = selected || (m_menu.m_hMenu && m_bMenuOpen) ? 1 : 0;
    }
    m_bFocused = (state & ODS_FOCUS) ? 1 : 0;
    m_bDisabled = (state & ODS_DISABLED) ? 1 : 0;

    CRect rect(lpDrawItemStruct->rcItem);
    pDC->SetBkMode(TRANSPARENT);
    DrawBackground(pDC, rect);
    DrawFrame(pDC, rect);
    const CRect focusRect = rect;
    rect.DeflateRect(1, 1);

    CString text;
    GetWindowText(text);
    const BOOL bHasText = text.IsEmpty() ? FALSE : TRUE;
    if (m_bCheckMode && !m_images[kImageNormal].icon) {
        DrawCheckMark(pDC, bHasText, rect);
    } else {
        DrawImage(pDC, bHasText, rect);
    }
    rect.InflateRect(0, 1);
    if (bHasText) {
        DrawButtonText(pDC, text.GetString(), rect);
    }
    if (m_bFocused) {
        CRect inner = focusRect;
        inner.DeflateRect(1, 1);
        pDC->DrawFocusRect(inner);
    }
}

void QColorButton::DrawBackground(CDC* pDC, LPRECT rect) {
    const COLORREF colour = m_bFocused ? m_focusFaceColor : m_faceColor;
    CBrush brush(colour);
    CPen pen(PS_SOLID, 1, colour);
    CBrush* previousBrush = pDC->SelectObject(&brush);
    CPen* previousPen = pDC->SelectObject(&pen);
    if (m_bRounded) {
        pDC->RoundRect(rect, POINT{kCornerSize, kCornerSize});
    } else {
        pDC->FillSolidRect(rect, colour);
    }
    pDC->SelectObject(previousPen);
    pDC->SelectObject(previousBrush);
}

void QColorButton::DrawFrame(CDC* pDC, LPRECT rect) {
    if (!m_bEdge) {
        return;
    }
    pDC->DrawEdge(rect, m_bPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    *rect = CRect(rect->left + 1, rect->top + 1, rect->right - 1, rect->bottom - 1);
}

void QColorButton::DrawImage(CDC* pDC, BOOL bHasText, LPRECT rect) {
    if (!m_images[kImageNormal].icon) {
        return;
    }
    int index = kImageNormal;
    if (m_bDisabled) {
        index = m_images[kImageDisabled].icon ? kImageDisabled : kImageNormal;
    } else if (m_bCheckMode) {
        index = m_bPressed && m_images[kImageActive].icon ? kImageActive : kImageNormal;
    } else {
        index =
            (m_bPressed || m_bFocused) && m_images[kImageActive].icon ? kImageActive : kImageNormal;
    }
    const Image& image = m_images[index];
    const CRect area(rect);
    int x = area.left;
    if (image.width < area.Width()) {
        if (bHasText) {
            x = area.left + 1;
            rect->left += image.width + 3;
        } else {
            x = area.left + (area.Width() - image.width) / 2;
        }
    }
    int y = area.top;
    if (image.height < area.Height()) {
        y = area.top + (area.Height() - image.height) / 2;
    }
    if (m_bPressed && !m_bCheckMode) {
        ++x;
        ++y;
    }
    ::DrawIconEx(pDC->m_hDC, x, y, image.icon, 0, 0, 0, nullptr, DI_NORMAL);
}

void QColorButton::DrawCheckMark(CDC* pDC, BOOL bHasText, LPRECT rect) {
    if (!m_bCheckMode) {
        return;
    }
    const int side = rect->bottom - rect->top;
    int left = 0;
    if (bHasText) {
        left = rect->left + 1;
        rect->left += side + 3;
    } else {
        left = rect->left + (rect->right - side - rect->left) / 2;
    }
    CRect box(left, rect->top, left + side, rect->bottom);

    if (m_markKind == kMarkCheckBox) {
        CBrush white(kWhite);
        pDC->FillRect(box, &white);
        pDC->DrawEdge(box, EDGE_SUNKEN, BF_RECT);
        if (m_checked) {
            QCheckTick::Draw(pDC, box);
        }
    } else if (m_markKind == kMarkRadio) {
        CBrush face(kRadioFace);
        CBrush dot(m_radioDotColor);
        CPen black(PS_SOLID, 1, kBlack);
        CPen grey(PS_SOLID, 1, kGrey);
        CPen glint(PS_SOLID, 1, kWhite);
        CBrush* previousBrush = pDC->SelectObject(&face);
        CPen* previousPen = pDC->SelectObject(&black);
        pDC->Ellipse(box);
        box.DeflateRect(1, 1);
        if (m_bPressed) {
            pDC->SelectObject(&dot);
        }
        pDC->SelectObject(&grey);
        pDC->Ellipse(box);
        const int qx = box.Width() / 4;
        const int qy = box.Height() / 4;
        pDC->SelectObject(&glint);
        pDC->Ellipse(box.left + qx, box.top + qy, box.left + qx + 2, box.top + qy + 3);
        pDC->SelectObject(previousPen);
        pDC->SelectObject(previousBrush);
    }
}

// BS_CENTER and BS_VCENTER are both bits of their pair, so each pair is read whole: one bit alone
// aligns to its side, both or neither centre.
UINT QColorButton::GetTextFormat() const {
    // Single bits, tested in order: a style holding both bits of a pair (BS_CENTER, BS_VCENTER)
    // aligns to the first bit's side, as the device's buttons have always drawn it.
    const DWORD style = GetStyle();
    UINT format = DT_CENTER;
    if (style & BS_LEFT) {
        format = DT_LEFT;
    } else if (style & BS_RIGHT) {
        format = DT_RIGHT;
    }
    if (style & BS_TOP) {
        return format | DT_TOP;
    }
    if (style & BS_BOTTOM) {
        return format | DT_BOTTOM;
    }
    return format | DT_VCENTER;
}

void QColorButton::DrawButtonText(CDC* pDC, LPCTSTR text, LPRECT rect) {
    const UINT format = GetTextFormat();
    CRect textRect(rect);
    if (m_bPressed && !m_bCheckMode) {
        textRect.OffsetRect(1, 1);
    }
    pDC->SetBkMode(TRANSPARENT);
    if (m_bDisabled) {
        pDC->SetTextColor(m_disabledTextColor);
        pDC->DrawText(text, -1, textRect, format | DT_WORDBREAK);
        // The default disabled colour is embossed: a shadow one pixel up and left.
        if (m_disabledTextColor == SysColor(COLOR_BTNHIGHLIGHT)) {
            textRect.OffsetRect(-1, -1);
            pDC->SetTextColor(SysColor(COLOR_BTNSHADOW));
            pDC->DrawText(text, -1, textRect, format | DT_WORDBREAK);
        }
        return;
    }
    pDC->SetTextColor(m_bFocused ? m_focusTextColor : m_textColor);
    pDC->DrawText(text, -1, textRect, format | (m_bMultiLine ? DT_WORDBREAK : DT_SINGLELINE));
}

void QColorButton::RecordChecked() const {
    EventLog::Instance().Record("button.checked",
                                {{"id", GetDlgCtrlID()},
                                 {"hwnd", reinterpret_cast<std::uintptr_t>(m_hWnd)},
                                 {"checked", m_checked ? 1 : 0}});
}

BOOL QColorButton::OnClicked() {
    if (m_bCheckMode) {
        m_checked = m_checked ? 0 : 1;
        RecordChecked();
        Invalidate(TRUE);
        return FALSE;
    }
    if (!m_menu.m_hMenu) {
        return FALSE;
    }
    CRect window;
    GetWindowRect(window);
    m_bMenuOpen = 1;
    Invalidate(TRUE);
    CWnd* owner = CWnd::FromHandle(m_hMenuOwner);
    if (m_placement == kMenuAbove) {
        m_menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_BOTTOMALIGN, window.left, window.top, owner);
    } else if (m_placement == kMenuBelow) {
        m_menu.TrackPopupMenu(0, window.left, window.bottom, owner);
    }
    m_bMenuOpen = 0;
    Invalidate(TRUE);
    return FALSE;
}

LRESULT QColorButton::OnKeypad(WPARAM key, LPARAM lParam) {
    if (key == KEY_ENTER) {
        // A click at the button's client point (0, 0): the button's own window procedure turns
        // it into BN_CLICKED.
        if (!m_bDisabled && IsWindowEnabled()) {
            SendMessage(WM_LBUTTONDOWN, 0, 0);
            SendMessage(WM_LBUTTONUP, 0, 0);
        }
        return 1;
    }
    HWND parent = ::GetParent(m_hWnd);
    if (parent && ::IsWindow(parent)) {
        ::PostMessage(parent, WM_KEYPAD, key, lParam);
    }
    return 1;
}

LRESULT QColorButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYPAD) {
        return OnKeypad(wParam, lParam);
    }
    return CButton::WindowProc(message, wParam, lParam);
}

BOOL QColorButton::ReflectedCommand(UINT notifyCode) {
    if (notifyCode == BN_CLICKED) {
        return OnClicked();
    }
    return CButton::ReflectedCommand(notifyCode);
}
