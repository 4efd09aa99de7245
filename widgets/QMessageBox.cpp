#include "widgets/QMessageBox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/QLanguage.h"
#include "keypad/Keypad.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CRect.h"
#include "platform/kernel/EventLog.h"
#include "platform/user/CDataExchange.h"
#include "platform/user/CWinApp.h"
#include "res/WidgetKitResource.h"

namespace {

// The caption line's look: white text on navy.
constexpr COLORREF kCaptionText = 0x00FFFFFF;
constexpr COLORREF kCaptionBack = 0x00800000;

// The measuring rectangles: the caption is measured in the caption line's full width, a text
// wraps at 155 pixels.
constexpr int kCaptionWidth = 238;
constexpr int kCaptionHeight = 16;
constexpr int kTextWidth = 155;
constexpr int kTextHeight = 300;

struct ButtonSet {
    int count;
    UINT texts[3];
    int results[3];
};

// The buttons of each set, by the type's low four bits. The one-button set has no cancel
// button: a cancel request (the dialog closed otherwise than by its button) counts as OK.
const ButtonSet& ButtonSetOf(UINT type) {
    static constexpr ButtonSet kOk{1, {IDS_OK, 0, 0}, {IDOK, IDOK, 0}};
    static constexpr ButtonSet kOkCancel{2, {IDS_OK, IDS_CANCEL, 0}, {IDOK, IDCANCEL, 0}};
    static constexpr ButtonSet kAbortRetryIgnore{
        3, {IDS_ABORT, IDS_RETRY, IDS_IGNORE}, {IDABORT, IDRETRY, IDIGNORE}};
    static constexpr ButtonSet kYesNoCancel{
        3, {IDS_YES, IDS_NO, IDS_CANCEL}, {IDYES, IDNO, IDCANCEL}};
    static constexpr ButtonSet kYesNo{2, {IDS_YES, IDS_NO, 0}, {IDYES, IDNO, 0}};
    static constexpr ButtonSet kRetryCancel{2, {IDS_RETRY, IDS_CANCEL, 0}, {IDRETRY, IDCANCEL, 0}};
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return kOkCancel;
    case MB_ABORTRETRYIGNORE:
        return kAbortRetryIgnore;
    case MB_YESNOCANCEL:
        return kYesNoCancel;
    case MB_YESNO:
        return kYesNo;
    case MB_RETRYCANCEL:
        return kRetryCancel;
    default:
        return kOk; // MB_OK and every value without a set of its own
    }
}

// The icon of the type's icon bits; 0 for none.
UINT IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return IDI_MB_ERROR;
    case MB_ICONQUESTION:
        return IDI_MB_QUESTION;
    case MB_ICONEXCLAMATION:
        return IDI_MB_WARNING;
    case MB_ICONASTERISK:
        return IDI_MB_INFORMATION;
    default:
        return 0;
    }
}

} // namespace

QMessageBox::Layout QMessageBox::ComputeLayout(SIZE text, int captionWidth, BOOL hasIcon,
                                               int nButtons) {
    // The text's rectangle, at most 155 wide, inflated by 2 on every side: its right and bottom
    // edges R and B.
    const int r = int(std::min<LONG>(text.cx, kTextWidth)) + 2;
    const int b = int(text.cy) + 2;
    int w = r + 23;
    int h = b + 66;
    if (hasIcon) {
        h = std::max(h, 100);
        w += 45;
    }
    w = std::max(w, 65 * nButtons);
    // A caption on one line measures its whole width, also past the caption rectangle's 238:
    // such a box is wider than the screen, which clips it.
    w = std::max(w, captionWidth);
    // The aspect rule widens a narrow box toward 1.6 : 1, measured from the inflated
    // rectangle's corner (-2, -2), and by itself never beyond 198. The ratio is taken in single
    // precision and compared widened to double.
    const int spanX = w + 2;
    const int spanY = h + 2;
    if (spanX < 200) {
        const double ratio = double(float(spanX) / float(spanY));
        if (ratio < 1.6) {
            w = int(std::trunc(1.6 * double(spanY))) - 2;
            if (w + 2 > 200)
                w = 198;
        }
    }

    Layout layout;
    layout.dialog = SIZE{w, h};
    const int textTop = (h - 35 - b - 16) / 2 + 16;
    const int textLeft = hasIcon ? 45 : (w - r) / 2;
    layout.text = RECT{textLeft, textTop, textLeft + r, textTop + b};
    layout.buttonTop = h - 35;
    const int centre = (w - 49) / 2;
    switch (nButtons) {
    case 1:
        layout.buttonLeft[0] = centre;
        break;
    case 2:
        layout.buttonLeft[0] = w / 2 - 54;
        layout.buttonLeft[1] = w / 2 + 5;
        break;
    default:
        layout.buttonLeft[0] = centre - 59;
        layout.buttonLeft[1] = centre;
        layout.buttonLeft[2] = centre + 59;
        break;
    }
    return layout;
}

QMessageBox::QMessageBox(LPCTSTR text, LPCTSTR caption, UINT type, CWnd* parent)
    : CDialog(IDD_MESSAGEBOX, parent), m_strText(text),
      m_strCaption(caption ? caption : AfxGetAppName()), m_nType(type) {}

void QMessageBox::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MB_BUTTON3, m_btn3);
    DDX_Control(dx, IDC_MB_CAPTION, m_lblCaption);
    DDX_Control(dx, IDC_MB_TEXT, m_lblText);
    DDX_Control(dx, IDC_MB_ICON, m_icon);
    DDX_Control(dx, IDCANCEL, m_btn2);
    DDX_Control(dx, IDOK, m_btn1);
}

BOOL QMessageBox::OnInitDialog() {
    CDialog::OnInitDialog();

    const ButtonSet& set = ButtonSetOf(m_nType);
    QColorButton* buttons[] = {&m_btn1, &m_btn2, &m_btn3};
    for (int i = 0; i < set.count; ++i)
        buttons[i]->SetWindowText(LoadLocalString(GetLanguage(), set.texts[i]));
    if (set.count == 1)
        m_btn2.ShowWindow(SW_HIDE);
    if (set.count == 3)
        m_btn3.ShowWindow(SW_SHOW);
    m_nResult1 = set.results[0];
    m_nResult2 = set.results[1];
    m_nResult3 = set.results[2];
    const int n = set.count;

    if (const UINT icon = IconOf(m_nType))
        m_icon.SetIconFromResource(icon, 32, 32, TRUE);
    else
        m_icon.ShowWindow(SW_HIDE);

    // Keyboard focus only: the default push-button style stays on the first button.
    switch (m_nType & MB_DEFMASK) {
    case MB_DEFBUTTON2:
        (n >= 2 ? m_btn2 : m_btn1).SetFocus();
        break;
    case MB_DEFBUTTON3:
        (n == 3 ? m_btn3 : m_btn1).SetFocus();
        break;
    default:
        m_btn1.SetFocus();
        break;
    }

    m_focusGrid.SetGridSize(1, n);
    m_focusGrid.SetCell(&m_btn1, 0, 0);
    if (n > 1)
        m_focusGrid.SetCell(&m_btn2, 0, 1);
    if (n > 2)
        m_focusGrid.SetCell(&m_btn3, 0, 2);

    LayoutControls(n);

    m_lblCaption.SetColor(QColorLabel::kTextSlot, kCaptionText, FALSE);
    m_lblCaption.SetColor(QColorLabel::kBackgroundSlot, kCaptionBack, FALSE);
    m_lblCaption.SetWindowText(m_strCaption);
    m_lblText.SetWindowText(m_strText);

    // The kit's account of itself in the device's event log.
    EventLog::Instance().Record("msgbox.opened",
                                {{"hwnd", reinterpret_cast<std::uintptr_t>(m_hWnd)},
                                 {"type", m_nType},
                                 {"text", m_strText.ToUtf8()},
                                 {"caption", m_strCaption.ToUtf8()}});
    return FALSE;
}

void QMessageBox::LayoutControls(int nButtons) {
    CDC* dc = GetDC();
    CRect caption(0, 0, kCaptionWidth, kCaptionHeight);
    CRect text(0, 0, kTextWidth, kTextHeight);
    if (dc) {
        dc->DrawText(m_strCaption, &caption, DT_CALCRECT);
        dc->DrawText(m_strText, &text, DT_CALCRECT | DT_WORDBREAK);
        ReleaseDC(dc);
    }
    const Layout layout = ComputeLayout(SIZE{text.right, text.bottom}, int(caption.right),
                                        m_icon.HasIcon(), nButtons);
    const SIZE box = layout.dialog;
    SetWindowPos(nullptr, 0, 0, box.cx, box.cy, SWP_NOMOVE | SWP_NOZORDER);
    m_lblCaption.SetWindowPos(nullptr, 0, 0, box.cx, kCaptionHeight, SWP_NOMOVE | SWP_NOZORDER);
    const RECT& t = layout.text;
    m_lblText.SetWindowPos(nullptr, t.left, t.top, t.right - t.left, t.bottom - t.top,
                           SWP_NOZORDER);
    QColorButton* buttons[] = {&m_btn1, &m_btn2, &m_btn3};
    for (int i = 0; i < nButtons && i < 3; ++i)
        buttons[i]->SetWindowPos(nullptr, layout.buttonLeft[i], layout.buttonTop, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER);
}

void QMessageBox::OnOK() {
    EndDialog(m_nResult1);
}

void QMessageBox::OnCancel() {
    EndDialog(m_nResult2);
}

BOOL QMessageBox::OnCmdMsg(UINT id, int code) {
    if (code == BN_CLICKED && id == UINT(IDC_MB_BUTTON3)) {
        EndDialog(m_nResult3);
        return TRUE;
    }
    return CDialog::OnCmdMsg(id, code);
}

LRESULT QMessageBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYPAD) {
        OnKeypad(wParam, lParam);
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void QMessageBox::OnKeypad(WPARAM key, LPARAM /*repeat*/) {
    if (key == KEY_LEFT || key == KEY_RIGHT)
        m_focusGrid.MoveFocus(int(key));
}

int ShowMessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
    const HWND previous = ::GetFocus();
    int result = 0;
    {
        QMessageBox box(text, caption, type, nullptr);
        result = box.DoModal();
        ::SetFocus(previous);
    }
    EventLog::Instance().Record("msgbox.closed", {{"result", result}});
    return result;
}
