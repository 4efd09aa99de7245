// The battery gauge: a colour label that paints the charge level as a battery lying on its
// side, sweeps its fill up to full while the battery charges, and shows a warning badge.
// Slot 0 is the background, slot 1 the outline and slot 2 the inside of the battery.
#pragma once

#include "widgets/QColorLabel.h"

class QBatteryGauge : public QColorLabel {
public:
    static constexpr UINT kTimerId = 100;
    static constexpr UINT kSweepMs = 200;
    static constexpr float kSweepStep = 0.05f;

    QBatteryGauge();

    void SetWarning(BOOL bWarning, BOOL bRepaint);
    // Clamps level to 0.0..1.0 (a level that is not a number counts as 0.0); both the measured
    // and the displayed level take it, so a charging sweep starts again from here.
    void SetLevel(float level, BOOL bRepaint);
    // Starts the sweep timer (anew, when it runs already) while charging, stops it otherwise.
    void SetCharging(BOOL bCharging, BOOL bRepaint);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    void OnTimer(UINT nIDEvent);

private:
    void RecordState() const;

    float m_displayedLevel = 0.0f;
    float m_measuredLevel = 0.0f;
    BOOL m_bCharging = FALSE;
    BOOL m_bWarning = FALSE;
};
