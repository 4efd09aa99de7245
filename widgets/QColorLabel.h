// A static text whose text and background colours the program chooses. Six colour slots: the
// label's colour query answers with slot 1 for the text and slot 0 for the background; slots 2
// to 5 are free for the controls derived from it.
#pragma once

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/user/CStatic.h"

class QColorLabel : public CStatic {
public:
    static constexpr int kColorCount = 6;
    // The slots the label's own colour query reads.
    static constexpr BYTE kBackgroundSlot = 0;
    static constexpr BYTE kTextSlot = 1;

    QColorLabel();
    ~QColorLabel() override;

    // Restores the six default colours. With bRepaint the whole label is invalidated with
    // erase; without, the colours show at the next paint.
    void ResetColors(BOOL bRepaint);
    // Stores colour in slot index (0 to 5; any other index changes nothing) and invalidates as
    // ResetColors does.
    void SetColor(BYTE index, COLORREF colour, BOOL bRepaint);
    // Gives the label a font of its own, made from logFont; the label's previous font is
    // deleted. FALSE, and the label keeps no font, when the font cannot be made.
    BOOL CreateLabelFont(const LOGFONT& logFont, BOOL bRepaint);

    // The reflected colour query of the static control: text in slot 1 on an opaque
    // background of slot 0, and a brush of slot 0 for the rest of the control.
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) override;

protected:
    void Repaint(BOOL bRepaint);

    COLORREF m_colors[kColorCount] = {};
    CBrush m_brush;
    CFont m_font;
};
