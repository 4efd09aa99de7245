#include "sim/gallery/QGalleryPage.h"

#include "keypad/Keypad.h"
#include "platform/user/CDataExchange.h"
#include "sim/gallery/GalleryResource.h"
#include "sim/gallery/QGalleryApp.h"
#include "sim/gallery/QGalleryFrame.h"

namespace {

// The caption look of the kit: white on navy.
constexpr COLORREF kCaptionText = 0x00FFFFFF;
constexpr COLORREF kCaptionBack = 0x00800000;

} // namespace

BOOL QGalleryPage::CreatePage(QGalleryFrame* frame) {
    m_pFrame = frame;
    return Create(m_nIDTemplate, frame);
}

void QGalleryPage::FocusFirst() {
    m_grid.FocusCell(1, 0);
}

void QGalleryPage::SetLastCommand(const CString& text) {
    m_lastCommandLabel.SetWindowText(text);
}

CString QGalleryPage::Title() const {
    CString title;
    m_titleLabel.GetWindowText(title);
    return title;
}

void QGalleryPage::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PAGE_TITLE, m_titleLabel);
    DDX_Control(dx, IDC_LAST_COMMAND, m_lastCommandLabel);
    DDX_Control(dx, IDC_NEXT_PAGE, m_nextButton);
}

BOOL QGalleryPage::OnInitDialog() {
    CDialog::OnInitDialog();
    m_titleLabel.SetColor(0, kCaptionBack, FALSE);
    m_titleLabel.SetColor(1, kCaptionText, FALSE);
    m_lastCommandLabel.SetColor(0, kCaptionBack, FALSE);
    m_lastCommandLabel.SetColor(1, kCaptionText, FALSE);
    return FALSE;
}

LRESULT QGalleryPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYPAD:
        OnKeypad(wParam);
        return 0;
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        if (auto* app = dynamic_cast<QGalleryApp*>(AfxGetApp()))
            app->SetMenuTracking(message == WM_ENTERMENULOOP ? TRUE : FALSE);
        return 0;
    default:
        return CDialog::WindowProc(message, wParam, lParam);
    }
}

void QGalleryPage::OnKeypad(WPARAM key) {
    switch (key) {
    case KEY_UP:
    case KEY_DOWN:
    case KEY_LEFT:
    case KEY_RIGHT:
        m_grid.MoveFocus(int(key));
        break;
    case KEY_SELECT:
        m_pFrame->NextPage();
        break;
    default:
        break; // a page drops the keys it has no use for
    }
}

BOOL QGalleryPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    // The control sees its own notification first (a kit button toggles or opens its menu).
    if (CDialog::OnCommand(wParam, lParam))
        return TRUE;
    const UINT id = LOWORD(wParam);
    const HWND control = reinterpret_cast<HWND>(lParam);
    if (control) {
        if (HIWORD(wParam) != BN_CLICKED || !IsCommandButton(id))
            return FALSE;
        CString text;
        CWnd::FromHandle(control)->GetWindowText(text);
        m_pFrame->ShowCommand(L"button", id, text);
    } else {
        m_pFrame->ShowCommand(L"menu", id, MenuItemText(id));
    }
    if (id == IDC_NEXT_PAGE)
        m_pFrame->NextPage();
    else
        OnPageCommand(id);
    return TRUE;
}

void QGalleryPage::OnPageCommand(UINT) {}

CString QGalleryPage::MenuItemText(UINT) const {
    return CString();
}

BOOL QGalleryPage::IsCommandButton(UINT) const {
    return TRUE;
}
