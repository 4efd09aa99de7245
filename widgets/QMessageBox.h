// The widget kit's message box: takes the platform message box's text, caption and type flags and
// returns its result codes, but draws a white-on-navy caption line and the kit's colour buttons,
// labels the buttons in the device's language, fits its size to the text, and is worked from the
// keypad (left and right move the focus between the buttons, enter chooses).
#pragma once

#include "keypad/QFocusGrid.h"
#include "platform/kernel/CString.h"
#include "platform/user/CDialog.h"
#include "platform/user/CStatic.h"
#include "widgets/QColorButton.h"
#include "widgets/QColorLabel.h"
#include "widgets/QIconLabel.h"

class QMessageBox : public CDialog {
public:
    // Where the box's parts go, in pixels and the dialog's coordinates: the dialog's size, the
    // text label's rectangle, the buttons' top edge and the left edge of each button shown.
    struct Layout {
        SIZE dialog{};
        RECT text{};
        int buttonTop = 0;
        int buttonLeft[3] = {};
    };
    // The layout for a text that DrawText measured as text (wrapped in 155 pixels), a caption
    // measured captionWidth wide, with or without an icon, and 1 to 3 buttons.
    static Layout ComputeLayout(SIZE text, int captionWidth, BOOL hasIcon, int nButtons);

    // A NULL caption becomes the application's name; a NULL text is empty.
    QMessageBox(LPCTSTR text, LPCTSTR caption, UINT type, CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Labels, shows and hides the buttons, sets the icon, the focus, the focus grid, the
    // layout and the texts; FALSE, since it has set the focus itself.
    BOOL OnInitDialog() override;
    // The first button (IDOK) and the second (IDCANCEL) end the box with their results.
    void OnOK() override;
    void OnCancel() override;
    // The third button's click ends the box with its result.
    BOOL OnCmdMsg(UINT id, int code) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Left and right move the focus through the buttons; every other key is ignored.
    void OnKeypad(WPARAM key, LPARAM repeat);
    // Measures caption and text and places the dialog and its controls (ComputeLayout).
    void LayoutControls(int nButtons);

    QColorButton m_btn3;
    QColorButton m_btn2;
    QColorButton m_btn1;
    QColorLabel m_lblCaption;
    CStatic m_lblText;
    QIconLabel m_icon;
    QFocusGrid m_focusGrid;
    CString m_strText;
    CString m_strCaption;
    UINT m_nType = 0;
    int m_nResult1 = 0;
    int m_nResult2 = 0;
    int m_nResult3 = 0;
};

// Runs a QMessageBox modally (without parent window) and returns the result code of the button
// that closed it; the focus goes back to the window that had it before, also when that was none.
int ShowMessageBox(LPCTSTR text, LPCTSTR caption, UINT type);
