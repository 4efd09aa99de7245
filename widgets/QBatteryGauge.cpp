#include "widgets/QBatteryGauge.h"

#include <cmath>

#include "platform/kernel/EventLog.h"
#include "platform/user/CPaintDC.h"
#include "widgets/QBatteryFace.h"

QBatteryGauge::QBatteryGauge() {
    // The inside of the battery is white; slot 3 holds the charging red (slot 4 the blue of
    // the label's defaults), though the paint uses fixed fill colours.
    m_colors[2] = RGB(255, 255, 255);
    m_colors[3] = RGB(255, 0, 0);
}

// Each setter tells the device's event log what the gauge now shows, for the simulator's
// status.
void QBatteryGauge::RecordState() const {
    EventLog::Instance().Record("gauge.changed", {{"level", m_measuredLevel},
                                                  {"charging", m_bCharging != FALSE},
                                                  {"warning", m_bWarning != FALSE}});
}

void QBatteryGauge::SetWarning(BOOL bWarning, BOOL bRepaint) {
    m_bWarning = bWarning;
    RecordState();
    Repaint(bRepaint);
}

void QBatteryGauge::SetLevel(float level, BOOL bRepaint) {
    // The co-processor's level comes off the wire as raw bits; a NaN would pass the clamp and
    // reach the paint and the sweep, so it reads as an empty battery.
    if (std::isnan(level) || level < 0.0f) {
        level = 0.0f;
    } else if (level > 1.0f) {
        level = 1.0f;
    }
    m_measuredLevel = level;
    m_displayedLevel = level;
    RecordState();
    Repaint(bRepaint);
}

void QBatteryGauge::SetCharging(BOOL bCharging, BOOL bRepaint) {
    m_bCharging = bCharging;
    if (bCharging) {
        SetTimer(kTimerId, kSweepMs, nullptr);
    } else {
        KillTimer(kTimerId);
    }
    RecordState();
    Repaint(bRepaint);
}

LRESULT QBatteryGauge::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT>(wParam));
        return 0;
    default:
        return QColorLabel::WindowProc(message, wParam, lParam);
    }
}

void QBatteryGauge::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const QBatteryFace face{m_colors[0],      m_colors[1], m_colors[2],
                            m_displayedLevel, m_bCharging, m_bWarning};
    face.Paint(dc, client);
}

void QBatteryGauge::OnTimer(UINT nIDEvent) {
    if (nIDEvent != kTimerId) {
        Default();
        return;
    }
    KillTimer(kTimerId);
    // The chain ends here when there is nothing to sweep: not charging, or already full.
    if (!m_bCharging || m_measuredLevel == 1.0f) {
        return;
    }
    if (m_displayedLevel == 1.0f) {
        m_displayedLevel = m_measuredLevel;
    } else {
        m_displayedLevel += kSweepStep;
        if (m_displayedLevel > 1.0f) {
            m_displayedLevel = 1.0f;
        }
    }
    Repaint(TRUE);
    SetTimer(kTimerId, kSweepMs, nullptr);
    Default();
}
