// The gallery's first page: colour labels in three colourings, the icon label, the clock and
// the battery gauge, with buttons that set the gauge's level, charging and warning.
#pragma once

#include "sim/gallery/QGalleryPage.h"
#include "widgets/QBatteryGauge.h"
#include "widgets/QClockLabel.h"
#include "widgets/QIconLabel.h"

class QLabelsPage : public QGalleryPage {
public:
    // The gauge's level moves in steps of a tenth.
    static constexpr int kLevelSteps = 10;

    QLabelsPage();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnPageCommand(UINT id) override;

private:
    // Gives the gauge the page's level, charging and warning and says them beside it.
    void ShowGauge();

    QColorLabel m_redLabel;
    QColorLabel m_navyLabel;
    QColorLabel m_plainLabel;
    QIconLabel m_iconLabel;
    QClockLabel m_clockLabel;
    QBatteryGauge m_gauge;
    QColorLabel m_gaugeText;
    QColorButton m_levelDown;
    QColorButton m_levelUp;
    QColorButton m_charging;
    QColorButton m_warning;
    int m_nLevel = kLevelSteps / 2;
    BOOL m_bCharging = FALSE;
    BOOL m_bWarning = FALSE;
};
