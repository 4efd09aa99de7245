// The gallery's second page: colour buttons in their kinds and states – push, default,
// disabled, with images, rounded, check box and a pair of radio buttons of which one is on.
#pragma once

#include "sim/gallery/QGalleryPage.h"

class QButtonsPage : public QGalleryPage {
public:
    QButtonsPage();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    QColorButton m_push;
    QColorButton m_default;
    QColorButton m_disabled;
    QColorButton m_image;
    QColorButton m_rounded;
    QColorButton m_check;
    QColorButton m_radioA;
    QColorButton m_radioB;
};
