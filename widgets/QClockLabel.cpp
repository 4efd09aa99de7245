#include "widgets/QClockLabel.h"

void QClockLabel::PreSubclassWindow() {
    OnTimer(kTimerId);
    QColorLabel::PreSubclassWindow();
}

LRESULT QClockLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        OnTimer(static_cast<UINT>(wParam));
        return 0;
    }
    return QColorLabel::WindowProc(message, wParam, lParam);
}

void QClockLabel::OnTimer(UINT nIDEvent) {
    // Other timers of this window are not the clock's business, not even for the default.
    if (nIDEvent != kTimerId) {
        return;
    }
    KillTimer(kTimerId);
    const CTime now = CTime::GetCurrentTime();
    if (now != m_lastShown) {
        m_lastShown = now;
        struct tm local {};
        now.GetLocalTm(&local);
        CString text;
        text.Format(L"%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
        if (::IsWindow(m_hWnd)) {
            SetWindowText(text);
        }
    }
    SetTimer(kTimerId, kTickMs, nullptr);
}
