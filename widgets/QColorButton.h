// The kit's owner-drawn button: flat colours with a 3-D edge, a navy face with white text and a
// focus rectangle while focused, up to three icons, a check-box or radio look, and an owner-drawn
// drop-down menu. The keypad's enter key clicks it; every other key goes on to its parent.
#pragma once

#include "platform/user/CButton.h"
#include "widgets/QOwnerDrawMenu.h"

class QColorButton : public CButton {
public:
    // The image slots.
    static constexpr int kImageNormal = 0;
    static constexpr int kImageActive = 1; // pressed, or focused in push mode
    static constexpr int kImageDisabled = 2;
    static constexpr int kImageCount = 3;
    // The mark kinds of check mode; any other kind draws no mark.
    static constexpr BYTE kMarkRadio = 0;
    static constexpr BYTE kMarkCheckBox = 1;
    // Where the drop-down menu opens; any other placement opens none.
    static constexpr BYTE kMenuAbove = 0; // upward from the button's top edge
    static constexpr BYTE kMenuBelow = 1; // downward from its bottom edge

    QColorButton();
    // Destroys the icons and the drop-down menu the button holds.
    ~QColorButton() override;

    // The six colours back to their defaults (system colours read now).
    void ResetColors(BOOL bRepaint);
    // With bDestroy the icons held are destroyed; then all three slots are empty.
    void ReleaseImages(BOOL bDestroy);

    // The button takes icon, of cx x cy pixels, into slot index, destroying the icon it held
    // there; NULL empties the slot. An index outside 0..2 changes nothing.
    void SetImage(int index, HICON icon, int cx, int cy, BOOL bRepaint);
    void SetRounded(BOOL bRounded, BOOL bRepaint);
    void SetMultiLine(BOOL bMultiLine, BOOL bRepaint);
    void SetMarkKind(BYTE kind, BOOL bRepaint);
    BOOL IsChecked() const { return m_checked != 0; }

    // A click opens hMenu, whose commands go to hOwner, at placement. The button holds the menu
    // from now on and destroys it, with its items' records, when it is replaced or the button
    // goes. hMenu may be the handle DropDownMenu() holds already; NULL removes the menu.
    void AttachMenu(HMENU hMenu, HWND hOwner, BYTE placement);
    // The menu member, to add items and images to.
    QOwnerDrawMenu& DropDownMenu() { return m_menu; }

    // A check-box style (bit 0x2) puts the button in check mode without an edge; every button
    // becomes owner-drawn.
    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    // The drawing steps, in order; rect is the part of the button still to draw in, and a step
    // may narrow it.
    virtual void DrawBackground(CDC* pDC, LPRECT rect);
    virtual void DrawFrame(CDC* pDC, LPRECT rect);
    virtual void DrawImage(CDC* pDC, BOOL bHasText, LPRECT rect);
    virtual void DrawCheckMark(CDC* pDC, BOOL bHasText, LPRECT rect);
    virtual void DrawButtonText(CDC* pDC, LPCTSTR text, LPRECT rect);

    // The DrawText alignment of the window style's BS_LEFT/BS_RIGHT and BS_TOP/BS_BOTTOM bits.
    UINT GetTextFormat() const;
    // The button's own BN_CLICKED; FALSE, so that the parent handles it as well.
    BOOL OnClicked();
    // WM_KEYPAD; always handled (1).
    LRESULT OnKeypad(WPARAM key, LPARAM lParam);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL ReflectedCommand(UINT notifyCode) override;

    struct Image {
        HICON icon = nullptr;
        int width = 0;
        int height = 0;
    };

    int m_bPressed = 0;
    int m_bFocused = 0;
    int m_bDisabled = 0;
    int m_bCheckMode = 0;
    int m_bEdge = 1;
    int m_bRounded = 0;
    COLORREF m_faceColor = 0;
    COLORREF m_textColor = 0;
    COLORREF m_focusFaceColor = 0;
    COLORREF m_focusTextColor = 0;
    COLORREF m_disabledTextColor = 0;
    COLORREF m_radioDotColor = 0;
    BYTE m_markKind = kMarkCheckBox;
    BYTE m_checked = 0;
    int m_bMultiLine = 1;
    Image m_images[kImageCount];
    QOwnerDrawMenu m_menu;
    HWND m_hMenuOwner = nullptr;
    int m_bMenuOpen = 0;
    BYTE m_placement = kMenuAbove;

private:
    void Repaint(BOOL bRepaint);
    void DestroyDropDownMenu();
    // Tells the device's event log the new check state, the kit's account of itself.
    void RecordChecked() const;
};
