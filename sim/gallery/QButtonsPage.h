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
    void OnPageCommand(UINT id) override;

private:
    CButton m_push;
    CButton m_default;
    CButton m_disabled;
    CButton m_image;
    CButton m_rounded;
    CButton m_check;
    CButton m_radioA;
    CButton m_radioB;
};
