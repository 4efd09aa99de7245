// One page of the gallery: a dialog of kit controls on the gallery's frame with a title line, a
// button to the next page and a line that shows the last command. The keypad works it through
// a focus grid (the arrows move the focus, select turns to the next page, enter clicks the
// focused button); the stylus works it directly. Every button click and menu command it
// receives goes to the frame as the last command.
#pragma once

#include "keypad/QFocusGrid.h"
#include "platform/user/CDialog.h"
#include "widgets/QColorButton.h"
#include "widgets/QColorLabel.h"

class QGalleryFrame;

class QGalleryPage : public CDialog {
public:
    explicit QGalleryPage(UINT idTemplate) : CDialog(idTemplate) {}

    // Makes the page's window, hidden, on the frame. FALSE when it could not be made.
    BOOL CreatePage(QGalleryFrame* frame);
    // Gives the focus to the page's first control.
    void FocusFirst();
    void SetLastCommand(const CString& text);
    // The text of the title line.
    CString Title() const;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Binds the controls and colours the title line; the pages add their grid cells. FALSE:
    // a hidden page takes no focus when it is made.
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A click of a button of the page, or a command of one of its menus, after it has been
    // shown as the last command.
    virtual void OnPageCommand(UINT id);
    // The text of a menu command of the page; empty for an id it does not know.
    virtual CString MenuItemText(UINT id) const;
    // FALSE for a button whose click is no command of its own (one that opens a menu).
    virtual BOOL IsCommandButton(UINT id) const;

    QGalleryFrame* Frame() const { return m_pFrame; }

    // The grid has at least two columns: the next-page button is the last cell of row 0, and
    // the page's first control is cell (1, 0).
    QFocusGrid m_grid;
    QColorLabel m_titleLabel;
    QColorLabel m_lastCommandLabel;
    QColorButton m_nextButton;

private:
    void OnKeypad(WPARAM key);

    QGalleryFrame* m_pFrame = nullptr;
};
