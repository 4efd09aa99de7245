// The gallery's fourth page: the kit's message box. A button for each of the six button sets
// opens a box of that set with the icon and the first focus chosen by two buttons that step
// through the values, with a caption of its own or none (the application's name) and a short or
// a long text. The box's result shows on the last-command line.
#pragma once

#include "sim/gallery/QGalleryPage.h"

class QMessageBoxPage : public QGalleryPage {
public:
    QMessageBoxPage();

    // The type flags the page would open a box of the given set with.
    UINT TypeFor(UINT buttonSet) const;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnPageCommand(UINT id) override;

private:
    void ShowChoices();

    QColorButton m_sets[6];
    QColorButton m_iconChoice;
    QColorButton m_defaultChoice;
    QColorButton m_captionChoice;
    QColorButton m_longChoice;
    int m_nIcon = 0;    // index into the icon choices
    int m_nDefault = 0; // 0, 1 or 2: the button focused first
};
