// A colour label that paints itself: an icon in its top-left corner and its window text beside
// the icon, on a background of slot 0. The label owns its icon.
#pragma once

#include "widgets/QColorLabel.h"

class QIconLabel : public QColorLabel {
public:
    QIconLabel();
    ~QIconLabel() override;

    // Loads group icon nID at cx x cy from the module that holds it and shows it; a missing
    // icon leaves the label without one.
    void SetIconFromResource(UINT nID, int cx, int cy, BOOL bRepaint);
    // Destroys the current icon and takes over hIcon (NULL: no icon afterwards). cx and cy are
    // kept with a new icon; the text starts at cx + 2.
    void SetIconHandle(HICON hIcon, int cx, int cy, BOOL bRepaint);
    BOOL HasIcon() const { return m_hIcon ? TRUE : FALSE; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();

private:
    HICON m_hIcon = nullptr;
    int m_cxIcon = 0;
    int m_cyIcon = 0;
};
